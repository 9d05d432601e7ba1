#pragma once
#include "controls/MaskedImageWnd.h"

namespace tabora {

// A picture that acts as a button: the format icons of the last step. A
// press still reaches the main window as on any picture; Tab stops here,
// a focus mark shows it, and Space or Enter asks for the same action.
class FormatIconWnd : public MaskedImageWnd {
    Q_OBJECT
public:
    explicit FormatIconWnd(QWidget* parent = nullptr);

signals:
    void activated();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

// Lets screen readers announce the format icons as buttons that can be
// pressed. Installed once by whoever creates the first icon.
void InstallFormatIconAccessibility();

}  // namespace tabora
