#include "platform/qt/QtImages.h"

#include <QGuiApplication>
#include <algorithm>

#include "platform/qt/DialogHost.h"
#include "render/ScaledPicture.h"

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

namespace {
int screenArtScale = 0;  // 0 until first asked

// Each pixel of the 1x picture as a k x k block: only for finer art that is
// missing, so that a damaged build still lays the window out right.
ArgbImage Enlarged(const ArgbImage& one, int scale) {
    ArgbImage image(one.Width() * scale, one.Height() * scale);
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x) image.At(x, y) = one.At(x / scale, y / scale);
    return image;
}

bool LoadFine(ScreenPicture& picture, bool loaded, std::string_view name, bool greyAsAlpha,
              std::string_view maskName) {
    picture.fine = ArgbImage();
    const int scale = ScreenArtScale();
    if (!loaded || scale == 1) return loaded;
    const bool fine = maskName.empty()
                          ? LoadScaledPicture(picture.fine, name, greyAsAlpha, scale)
                          : LoadScaledPicturePair(picture.fine, name, maskName, scale);
    if (!fine || picture.fine.Width() != picture.one.Width() * scale ||
        picture.fine.Height() != picture.one.Height() * scale)
        picture.fine = Enlarged(picture.one, scale);
    return true;
}
}  // namespace

int ScreenArtScale() {
    if (screenArtScale == 0) {
        const qreal ratio = qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
        screenArtScale = ratio <= 1.0 ? 1 : ratio <= 2.0 ? 2 : 3;
    }
    return screenArtScale;
}

void SetScreenArtScale(int scale) { screenArtScale = std::clamp(scale, 1, kMaxArtScale); }

bool LoadScreenPicture(ScreenPicture& picture, std::string_view name, bool greyAsAlpha) {
    return LoadFine(picture, LoadPicture(picture.one, name, greyAsAlpha), name, greyAsAlpha, {});
}

bool LoadScreenPicturePair(ScreenPicture& picture, std::string_view colorName,
                           std::string_view maskName) {
    return LoadFine(picture, LoadMaskedPicture(picture.one, colorName, maskName), colorName, false,
                    maskName);
}

QPixmap ToScreenPixmap(const ScreenPicture& picture) {
    const bool fine = picture.fine.Width() > 0;
    QPixmap pixmap = QPixmap::fromImage(ToQImage(fine ? picture.fine : picture.one));
    if (fine) pixmap.setDevicePixelRatio(picture.fine.Width() / std::max(1, picture.one.Width()));
    return pixmap;
}

QImage& BlendCanvas::Begin(int width, int height, QColor background) {
    const int scale = ScreenArtScale();
    if (image_.width() != width * scale || image_.height() != height * scale) {
        image_ = QImage(width * scale, height * scale, QImage::Format_RGB32);
        image_.setDevicePixelRatio(scale);
    }
    image_.fill(background);
    return image_;
}

void BlendCanvas::Draw(const ArgbImage& image, int x, int y) {
    if (image.Width() <= 0 || image.Height() <= 0 || image_.isNull()) return;
    const int scale = ScreenArtScale();
    x *= scale;
    y *= scale;
    image.DrawOnto(SurfaceOf(image_), Rect{x, y, x + image.Width(), y + image.Height()});
}

void BlendCanvas::Draw(const ScreenPicture& picture, int x, int y) {
    Draw(picture.fine.Width() > 0 ? picture.fine : picture.one, x, y);
}

}  // namespace tabora
