#pragma once
#include <QColor>
#include <QImage>
#include <string_view>

#include "render/ArgbImage.h"

namespace tabora {

// The pixels of an RGB32 image as the surface that ArgbImage::DrawOnto blends
// into. The image must stay alive and unresized while the view is used.
RgbSurface SurfaceOf(QImage& image);

// A straight-alpha copy for Qt (window icon, pixmaps of list items).
QImage ToQImage(const ArgbImage& image);

// An interface picture from the bitmap resources, and its alpha from a
// second one. A bitmap the bitmap class refuses is reported to the user as
// "AttachMemory error"; true when the picture loaded.
bool LoadPicture(ArgbImage& image, std::string_view name, bool greyAsAlpha);
bool LoadMaskedPicture(ArgbImage& image, std::string_view colorName, std::string_view maskName);
// The same words for pictures the renderer loaded itself.
void ReportRefusedPictures(int count);

// A reusable RGB32 canvas for controls that blend their pictures over a solid
// background with DrawOnto: the pictures have no background of their own, so
// the colour under them is the window's button face.
class BlendCanvas {
public:
    // Resizes when needed (no allocation when the size is unchanged) and fills
    // with `background`.
    QImage& Begin(int width, int height, QColor background);
    void Draw(const ArgbImage& image, int x, int y);
    QImage& Image() { return image_; }

private:
    QImage image_;
};

}  // namespace tabora
