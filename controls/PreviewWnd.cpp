#include "controls/PreviewWnd.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>
#include <algorithm>
#include <vector>

#include "controls/WorkAreaWnd.h"

namespace tabora {

PreviewWnd::PreviewWnd(QWidget* parent) : QWidget(parent) {
    ReportRefusedPictures(button_.RefusedPictures());
    if (ScreenArtScale() > 1) fine_ = std::make_unique<TaboraButton>(GetArchive(), ScreenArtScale());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kCanvasWidth, kCanvasHeight);
    setFocusPolicy(Qt::NoFocus);
}

ButtonState PreviewWnd::ShownState() const {
    if (!tryIt_) return selected_;
    if (pressed_) return ButtonState::Active;
    if (keyFocus_) return ButtonState::Focus;
    if (hovered_) return ButtonState::Hover;
    return ButtonState::Normal;
}

void PreviewWnd::SetSelectedState(ButtonState state) {
    selected_ = state;
    Touched();
}

void PreviewWnd::SetTryIt(bool on) {
    tryIt_ = on;
    // Tab reaches the button only while it can be tried; a click does not
    // focus it, as a click on a link shows no focus ring.
    setFocusPolicy(on ? Qt::TabFocus : Qt::NoFocus);
    setCursor(on ? Qt::PointingHandCursor : Qt::ArrowCursor);
    hovered_ = on && underMouse();
    pressed_ = false;
    keyFocus_ = false;
    if (!on && hasFocus()) clearFocus();
    Touched();
}

void PreviewWnd::Touched() {
    update();
    const ButtonState now = ShownState();
    if (now != lastShown_) {
        lastShown_ = now;
        emit shownStateChanged(now);
    }
}

Rect PreviewWnd::ScaledDown(const Rect& r) const {
    const int k = std::max(1, shownSet_.scale);
    return {r.left / k, r.top / k, r.right / k, r.bottom / k};
}

void PreviewWnd::paintEvent(QPaintEvent*) {
    button_.Render();
    if (fine_) {
        // Only what differs is rebuilt, as for any change of settings.
        fine_->ApplySettings(button_.settings());
        fine_->Render();
    }
    // What the screen shows under the preview: the button face and the work
    // area's panel. The rendered canvas is opaque and covers both.
    canvas_.Begin(width(), height(), palette().color(QPalette::Button));
    canvas_.Draw(WorkAreaWnd::Backdrop(), 0, 0);
    canvas_.Draw(shownButton().canvas(), 0, 0);
    const ButtonState state = ShownState();
    if (state != ButtonState::Normal && states_) {
        // Every state at once, so the picture is cut to the rectangle they
        // share; drawn again only when the settings or the states change.
        const ButtonSettings& normal = button_.settings();
        const int scale = std::min(ScreenArtScale(), kMaxStateScale);
        if (shownSet_.pictures.empty() || !(shownSet_.normal == normal)) {
            shownSet_ = stateRenderer_.Render(normal, *states_, kAllStates, scale, false);
            shownStates_ = *states_;
        } else if (!(shownStates_ == *states_)) {
            // Editing a state changes its delta alone: only the states whose
            // deltas differ are drawn again, and the shared rectangle is
            // gathered afresh from every picture's own.
            std::vector<ButtonState> changed;
            for (ButtonState s : kAllStates)
                if (!(shownStates_.Delta(s, normal) == states_->Delta(s, normal)))
                    changed.push_back(s);
            StateSet redrawn = stateRenderer_.Render(normal, *states_, changed, scale, false);
            for (size_t i = 0; i < changed.size(); ++i)
                shownSet_.pictures[size_t(changed[i])] = std::move(redrawn.pictures[i]);
            shownSet_.rect = {};
            for (const StatePicture& p : shownSet_.pictures)
                shownSet_.rect = shownSet_.rect.Union(p.rect);
            shownStates_ = *states_;
        }
        const StatePicture& picture = shownSet_.pictures[size_t(state)];
        const Rect r = shownSet_.rect.Intersect(picture.shown.Extent());
        if (!r.IsEmpty()) {
            statePicture_.Allocate(r.Width(), r.Height());
            for (int32_t y = 0; y < r.Height(); ++y) {
                const size_t from =
                    size_t(r.top + y) * size_t(picture.shown.Width()) + size_t(r.left);
                std::copy_n(picture.shown.Pixels() + from, r.Width(), &statePicture_.At(0, y));
            }
            const Rect at = ScaledDown(r);
            canvas_.Draw(statePicture_, at.left, at.top);
        }
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
    ++paintCount_;
    emit painted();
}

void PreviewWnd::enterEvent(QEnterEvent* event) {
    hovered_ = true;
    if (tryIt_) Touched();
    QWidget::enterEvent(event);
}

void PreviewWnd::leaveEvent(QEvent* event) {
    hovered_ = false;
    if (tryIt_) Touched();
    QWidget::leaveEvent(event);
}

void PreviewWnd::mousePressEvent(QMouseEvent* event) {
    if (tryIt_ && event->button() == Qt::LeftButton) {
        pressed_ = true;
        Touched();
    }
    QWidget::mousePressEvent(event);
}

void PreviewWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (tryIt_ && event->button() == Qt::LeftButton) {
        pressed_ = false;
        Touched();
    }
    QWidget::mouseReleaseEvent(event);
}

void PreviewWnd::keyPressEvent(QKeyEvent* event) {
    // Space and Enter press a focused web button as a click does.
    if (tryIt_ && !event->isAutoRepeat() &&
        (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
         event->key() == Qt::Key_Enter)) {
        pressed_ = true;
        Touched();
        return;
    }
    QWidget::keyPressEvent(event);
}

void PreviewWnd::keyReleaseEvent(QKeyEvent* event) {
    if (tryIt_ && !event->isAutoRepeat() && pressed_) {
        pressed_ = false;
        Touched();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void PreviewWnd::focusInEvent(QFocusEvent* event) {
    if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason)
        keyFocus_ = true;
    if (tryIt_) Touched();
    QWidget::focusInEvent(event);
}

void PreviewWnd::focusOutEvent(QFocusEvent* event) {
    // Switching to another window and back keeps the ring, as browsers do.
    if (event->reason() != Qt::ActiveWindowFocusReason) keyFocus_ = false;
    pressed_ = false;
    if (tryIt_) Touched();
    QWidget::focusOutEvent(event);
}

}  // namespace tabora
