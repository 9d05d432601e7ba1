#pragma once
#include <QWidget>

#include "platform/qt/QtImages.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora {

// The window of the button under design: hosts the core TaboraButton and
// paints its canvas over the work area's panel. It is raised above the work
// area, so the button is never hidden by the panel. On a finer screen it
// shows the same button drawn at the screen's scale by a button of that
// scale, which follows the design button's settings.
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

signals:
    void painted();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TaboraButton button_{GetArchive()};
    std::unique_ptr<TaboraButton> fine_;  // on a finer screen
    BlendCanvas canvas_;
    int paintCount_ = 0;
};

}  // namespace tabora
