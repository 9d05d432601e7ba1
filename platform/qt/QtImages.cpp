#include "platform/qt/QtImages.h"

#include "platform/qt/DialogHost.h"

namespace tabora {

RgbSurface SurfaceOf(QImage& image) {
    // bits() detaches, so the surface never writes into a shared copy.
    auto* pixels = reinterpret_cast<uint32_t*>(image.bits());
    return {pixels, image.width(), image.height(), int32_t(image.bytesPerLine() / 4)};
}

QImage ToQImage(const ArgbImage& image) {
    QImage out(image.Width(), image.Height(), QImage::Format_ARGB32);
    for (int32_t y = 0; y < image.Height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int32_t x = 0; x < image.Width(); ++x) {
            uint32_t p = image.At(x, y);
            row[x] = qRgba(PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p));
        }
    }
    return out;
}

void ReportRefusedPictures(int count) {
    for (int i = 0; i < count; ++i) ShowMessage("AttachMemory error");
}

namespace {
bool Reported(ArgbImage::Load load) {
    ReportRefusedPictures(load == ArgbImage::Load::Refused ? 1 : 0);
    return load == ArgbImage::Load::Loaded;
}
}  // namespace

bool LoadPicture(ArgbImage& image, std::string_view name, bool greyAsAlpha) {
    return Reported(image.LoadFromResource(name, greyAsAlpha));
}

bool LoadMaskedPicture(ArgbImage& image, std::string_view colorName, std::string_view maskName) {
    return Reported(image.LoadFromResources(colorName, maskName));
}

QImage& BlendCanvas::Begin(int width, int height, QColor background) {
    if (image_.width() != width || image_.height() != height)
        image_ = QImage(width, height, QImage::Format_RGB32);
    image_.fill(background);
    return image_;
}

void BlendCanvas::Draw(const ArgbImage& image, int x, int y) {
    if (image.Width() <= 0 || image.Height() <= 0 || image_.isNull()) return;
    image.DrawOnto(SurfaceOf(image_), Rect{x, y, x + image.Width(), y + image.Height()});
}

}  // namespace tabora
