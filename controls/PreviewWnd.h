#pragma once
#include <QWidget>

#include "io/ButtonStates.h"
#include "platform/qt/QtImages.h"
#include "render/StatePictures.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora {

// The window of the button under design: hosts the core TaboraButton and
// paints its canvas over the work area's panel. It is raised above the work
// area, so the button is never hidden by the panel. On a finer screen it
// shows the same button drawn at the screen's scale by a button of that
// scale, which follows the design button's settings.
//
// A state other than normal is drawn by a StateRenderer from the design
// button's settings and the window's states, cut to the rectangle all states
// share, so nothing moves when the state changes. In "try it" mode the
// preview answers the real pointer and keyboard as a web page would: hover,
// a press (or Space) and the keyboard's focus, pressed over focus over hover
// as the style sheet orders them.
class PreviewWnd : public QWidget {
    Q_OBJECT
public:
    explicit PreviewWnd(QWidget* parent = nullptr);

    TaboraButton& button() { return button_; }
    const TaboraButton& button() const { return button_; }
    // Renders the stale layers and paints now.
    void RefreshNow() { repaint(); }
    // How many times the preview has painted (tests and start-up timing).
    int PaintCount() const { return paintCount_; }
    // The button whose canvas the screen shows: the design button itself at
    // 1x, else its twin at the screen's scale.
    const TaboraButton& shownButton() const { return fine_ ? *fine_ : button_; }

    // The states the preview draws from (the window's; kept by the caller)
    // and the state it shows when not trying. Normal shows the design button.
    void SetStates(const ButtonStates* states) { states_ = states; }
    void SetSelectedState(ButtonState state);
    ButtonState SelectedState() const { return selected_; }
    void SetTryIt(bool on);
    bool TryIt() const { return tryIt_; }
    // The state painted now.
    ButtonState ShownState() const;

signals:
    void painted();
    void shownStateChanged(ButtonState state);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    TaboraButton button_{GetArchive()};
    std::unique_ptr<TaboraButton> fine_;  // on a finer screen
    BlendCanvas canvas_;
    int paintCount_ = 0;

    // Repaints when what is shown may have changed, and says so when the
    // state did.
    void Touched();
    Rect ScaledDown(const Rect& r) const;
    const ButtonStates* states_ = nullptr;
    ButtonState selected_ = ButtonState::Normal;
    ButtonState lastShown_ = ButtonState::Normal;
    bool tryIt_ = false;
    bool hovered_ = false;
    bool pressed_ = false;
    bool keyFocus_ = false;  // reached with Tab, as :focus-visible is
    StateRenderer stateRenderer_{GetArchive()};
    // The states last drawn and what they were drawn from.
    StateSet shownSet_;
    ButtonStates shownStates_;
    ArgbImage statePicture_;
};

}  // namespace tabora
