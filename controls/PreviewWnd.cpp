#include "controls/PreviewWnd.h"

#include <QPainter>

#include "controls/WorkAreaWnd.h"

namespace tabora {

PreviewWnd::PreviewWnd(QWidget* parent) : QWidget(parent) {
    ReportRefusedPictures(button_.RefusedPictures());
    if (ScreenArtScale() > 1) fine_ = std::make_unique<TaboraButton>(GetArchive(), ScreenArtScale());
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kCanvasWidth, kCanvasHeight);
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
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
    ++paintCount_;
    emit painted();
}

}  // namespace tabora
