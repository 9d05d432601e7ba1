#pragma once
#include <QAbstractButton>

#include "platform/Geometry.h"

namespace tabora {

// A colour swatch button: the colour inside a dark outline with cut corners,
// and a second outline outside it while it has the keyboard focus.
class ColorButton : public QAbstractButton {
    Q_OBJECT
public:
    explicit ColorButton(Color color = 0xFFFFFF, bool innerFrame = false,
                         QWidget* parent = nullptr);

    Color color;
    bool innerFrame;

    // Stores the colour and repaints at once.
    void SetColor(Color newColor);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace tabora
