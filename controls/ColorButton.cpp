#include "controls/ColorButton.h"

#include <QPainter>

#include "controls/ColorChooser.h"

namespace tabora {

namespace {

// The four edges of r (inclusive pixel coordinates) without its corners.
void EdgesWithoutCorners(QPainter& painter, const QRect& r, const QColor& color) {
    painter.fillRect(QRect(r.left() + 1, r.top(), r.width() - 2, 1), color);
    painter.fillRect(QRect(r.left() + 1, r.bottom(), r.width() - 2, 1), color);
    painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), color);
    painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), color);
}

void Frame(QPainter& painter, const QRect& r, const QColor& color) {
    painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
    painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), color);
    painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), color);
}

}  // namespace

ColorButton::ColorButton(Color initial, bool frame, QWidget* parent)
    : QAbstractButton(parent), color(initial), innerFrame(frame) {
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
}

void ColorButton::SetColor(Color newColor) {
    color = newColor;
    repaint();
}

void ColorButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QColor face = palette().color(QPalette::Button);
    const QColor frame = palette().color(QPalette::WindowText);
    QRect r = rect().adjusted(2, 2, -2, -2);
    if (innerFrame) {
        for (int step = 0; step < 2; ++step) {
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), palette().color(QPalette::Dark));
            painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), palette().color(QPalette::Dark));
            painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), palette().color(QPalette::Light));
            painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), palette().color(QPalette::Light));
            r.adjust(1, 1, -1, -1);
        }
    }
    painter.fillRect(r, ColorChooser::ToQColor(color));

    // The focus frame over the full rectangle.
    const QRect outer = rect();
    const QRect inner = outer.adjusted(1, 1, -1, -1);
    Frame(painter, outer, face);
    if (hasFocus()) {
        Frame(painter, inner, frame);
        EdgesWithoutCorners(painter, outer, frame);
    } else {
        Frame(painter, inner, face);
        EdgesWithoutCorners(painter, inner, frame);
    }
}

}  // namespace tabora
