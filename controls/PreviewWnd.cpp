#include "controls/PreviewWnd.h"

#include <QPainter>

#include "controls/WorkAreaWnd.h"

namespace tabora {

PreviewWnd::PreviewWnd(QWidget* parent) : QWidget(parent) {
    ReportRefusedPictures(button_.RefusedPictures());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kCanvasWidth, kCanvasHeight);
}

void PreviewWnd::paintEvent(QPaintEvent*) {
    button_.Render();
    // What the screen shows under the preview: the button face and the work
    // area's panel. The rendered canvas is opaque and covers both.
    canvas_.Begin(width(), height(), palette().color(QPalette::Button));
    canvas_.Draw(WorkAreaWnd::Backdrop(), 0, 0);
    canvas_.Draw(button_.canvas(), 0, 0);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
    ++paintCount_;
    emit painted();
}

}  // namespace tabora
