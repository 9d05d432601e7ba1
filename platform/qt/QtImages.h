#pragma once
#include <QColor>
#include <QImage>
#include <QPixmap>
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

// Device pixels per window pixel that the interface's art is drawn at: 1 on
// an ordinary screen, 2 for a device pixel ratio above 1 up to 2 (1.5 among
// them), 3 above. Read from the application when first asked; a test may set
// it before any picture is loaded.
int ScreenArtScale();
void SetScreenArtScale(int scale);

// An interface picture as the screen shows it: the 1x picture, whose size is
// the picture's size in window pixels, and the same picture drawn for the
// screen's scale (empty at 1x).
struct ScreenPicture {
    ArgbImage one;
    ArgbImage fine;
    int Width() const { return one.Width(); }
    int Height() const { return one.Height(); }
};
// Loads the 1x picture as LoadPicture / LoadMaskedPicture do and, on a finer
// screen, its twin at ScreenArtScale(). Should the finer art be missing, the
// 1x picture is enlarged so that the window keeps its layout.
bool LoadScreenPicture(ScreenPicture& picture, std::string_view name, bool greyAsAlpha);
bool LoadScreenPicturePair(ScreenPicture& picture, std::string_view colorName,
                           std::string_view maskName);
// A straight-alpha pixmap of the picture at the screen's scale, for labels
// and list items; its size in window pixels is the 1x size.
QPixmap ToScreenPixmap(const ScreenPicture& picture);

// A reusable RGB32 canvas for controls that blend their pictures over a solid
// background with DrawOnto: the pictures have no background of their own, so
// the colour under them is the window's button face.
class BlendCanvas {
public:
    // Resizes when needed (no allocation when the size is unchanged) and fills
    // with `background`. The size is in window pixels; the image holds
    // ScreenArtScale() device pixels for each, and says so to the painter.
    QImage& Begin(int width, int height, QColor background);
    // Blends an image whose pixels are device pixels, its top-left at (x, y)
    // in window pixels.
    void Draw(const ArgbImage& image, int x, int y);
    void Draw(const ScreenPicture& picture, int x, int y);
    QImage& Image() { return image_; }

private:
    QImage image_;
};

}  // namespace tabora
