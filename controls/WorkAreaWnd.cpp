#include "controls/WorkAreaWnd.h"

#include <QPainter>

namespace tabora {

const ScreenPicture& WorkAreaWnd::Backdrop() {
    static const ScreenPicture backdrop = [] {
        ScreenPicture image;
        LoadScreenPicturePair(image, "wabacki", "wabackm");
        return image;
    }();
    return backdrop;
}

const ScreenPicture& WorkAreaWnd::Overlay() {
    static const ScreenPicture overlay = [] {
        ScreenPicture image;
        LoadScreenPicturePair(image, "waoverlayi", "waoverlaym");
        return image;
    }();
    return overlay;
}

WorkAreaWnd::WorkAreaWnd(QWidget* parent) : QWidget(parent) {
    Backdrop();
    Overlay();
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WorkAreaWnd::paintEvent(QPaintEvent*) {
    // The area never clears itself: the main window's button face is under
    // it, then the panel, then the frame over everything.
    canvas_.Begin(width(), height(), palette().color(QPalette::Button));
    canvas_.Draw(Backdrop(), kBackdropOffset, kBackdropOffset);
    canvas_.Draw(Overlay(), 0, 0);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
}

}  // namespace tabora
