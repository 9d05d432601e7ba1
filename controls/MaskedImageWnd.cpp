#include "controls/MaskedImageWnd.h"

#include <QPainter>

namespace tabora {

MaskedImageWnd::MaskedImageWnd(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

bool MaskedImageWnd::Create(std::string_view colorName, std::string_view maskName) {
    bool ok = LoadScreenPicturePair(image_, colorName, maskName);
    update();
    return ok;
}

bool MaskedImageWnd::Create(std::string_view name) {
    bool ok = LoadScreenPicture(image_, name, true);
    update();
    return ok;
}

void MaskedImageWnd::SetWording(const QString& wording) {
    setAccessibleName(wording);
    setToolTip(wording);
}

void MaskedImageWnd::paintEvent(QPaintEvent*) {
    // The picture's top-left at the window's top-left, clipped to the smaller
    // of the two sizes; a missing picture leaves the button face.
    canvas_.Begin(width(), height(), palette().color(QPalette::Button));
    canvas_.Draw(image_, 0, 0);
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), canvas_.Image());
}

}  // namespace tabora
