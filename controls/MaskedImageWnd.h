#pragma once
#include <QWidget>
#include <string_view>

#include "platform/qt/QtImages.h"

namespace tabora {

// A picture with transparency (banner, labels, step discs, format icons),
// blended over the window's button face. It takes no input of its own: the
// main window watches presses on it.
class MaskedImageWnd : public QWidget {
    Q_OBJECT
public:
    explicit MaskedImageWnd(QWidget* parent = nullptr);

    // Colour picture and mask (black in the mask is opaque).
    bool Create(std::string_view colorName, std::string_view maskName);
    // One picture whose grey gives the alpha: black opaque, white clear.
    bool Create(std::string_view name);
    // The words of the picture, for screen readers and as a tooltip.
    void SetWording(const QString& wording);

    // The 1x picture; the screen may show a finer twin.
    const ArgbImage& image() const { return image_.one; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ScreenPicture image_;
    BlendCanvas canvas_;
};

}  // namespace tabora
