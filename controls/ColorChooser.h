#pragma once
#include <QColorDialog>

#include "platform/Geometry.h"

namespace tabora {

// The colour dialog that a swatch opens: started on the swatch's colour, its
// result read back in the program's colour layout.
class ColorChooser : public QColorDialog {
    Q_OBJECT
public:
    explicit ColorChooser(Color initial, QWidget* parent = nullptr);
    Color GetColor() const;

    static QColor ToQColor(Color color);
    static Color FromQColor(const QColor& color);
};

}  // namespace tabora
