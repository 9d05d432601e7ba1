#include "controls/ColorChooser.h"

namespace tabora {

ColorChooser::ColorChooser(Color initial, QWidget* parent) : QColorDialog(parent) {
    setCurrentColor(ToQColor(initial));
}

Color ColorChooser::GetColor() const { return FromQColor(currentColor()); }

QColor ColorChooser::ToQColor(Color color) {
    return QColor(RedOf(color), GreenOf(color), BlueOf(color));
}

Color ColorChooser::FromQColor(const QColor& color) {
    QColor rgb = color.toRgb();
    return MakeColor(uint8_t(rgb.red()), uint8_t(rgb.green()), uint8_t(rgb.blue()));
}

}  // namespace tabora
