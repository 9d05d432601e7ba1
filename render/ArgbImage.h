#pragma once
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "render/AlphaMask.h"

namespace tabora {

// A pixel word: alpha in bits 0-7, red 8-15, green 16-23, blue 24-31 (bytes
// A, R, G, B in memory), straight alpha.
constexpr uint32_t MakePixel(uint8_t a, uint8_t r, uint8_t g, uint8_t b) {
    return uint32_t(a) | (uint32_t(r) << 8) | (uint32_t(g) << 16) | (uint32_t(b) << 24);
}
constexpr uint8_t PixelAlpha(uint32_t p) { return uint8_t(p); }
constexpr uint8_t PixelRed(uint32_t p) { return uint8_t(p >> 8); }
constexpr uint8_t PixelGreen(uint32_t p) { return uint8_t(p >> 16); }
constexpr uint8_t PixelBlue(uint32_t p) { return uint8_t(p >> 24); }
// The opaque pixel of a colour.
constexpr uint32_t ColorPixel(Color c) { return MakePixel(255, RedOf(c), GreenOf(c), BlueOf(c)); }

// A view of a 32-bit screen surface whose pixels are 0xFFRRGGBB (the layout
// of an RGB32 image), `stride` counted in pixels. DrawOnto blends into it.
struct RgbSurface {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// The hue circle has 4092 steps (six sectors of 682); S and V are 0..1023.
constexpr int32_t kHueCircle = 4092;
constexpr int32_t kHueSector = kHueCircle / 6;
struct Hsv {
    int32_t h = 0;  // 0 when undefined (grey or black)
    int32_t s = 0;
    int32_t v = 0;
};
Hsv RgbToHsv(uint32_t pixel);
// Replaces red, green and blue of `pixel`, keeps its alpha.
void HsvToRgb(int32_t h, int32_t s, int32_t v, uint32_t& pixel);

// A 32-bit colour image with straight alpha, rows top to bottom.
class ArgbImage {
public:
    ArgbImage() = default;
    ArgbImage(int32_t width, int32_t height) { Allocate(width, height); }

    // Reallocates (contents zero). Negative sizes count as 0.
    void Allocate(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint32_t* Pixels() { return pixels_.data(); }
    const uint32_t* Pixels() const { return pixels_.data(); }
    uint32_t& At(int32_t x, int32_t y) { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
    uint32_t At(int32_t x, int32_t y) const { return pixels_[size_t(y) * size_t(width_) + size_t(x)]; }
    Rect Extent() const { return {0, 0, width_, height_}; }

    void Clear();
    // Every pixel becomes the colour, opaque.
    void Fill(Color color);
    // Source-over of the colour through a mask of the same size.
    void Fill(Color color, const AlphaMask& mask);
    void CompositeOver(ArgbImage& dest, std::optional<Rect> sourceRegion = {},
                       std::optional<Rect> destRect = {}) const;
    void CopyAlphaTo(AlphaMask& dest, std::optional<Rect> sourceRegion = {},
                     std::optional<Rect> destRect = {}) const;
    // Widens into `rect` of dest by repeating source column `column`.
    void StretchMiddle(ArgbImage& dest, Rect rect, int32_t column) const;
    void ReduceInto(ArgbImage& dest, std::optional<Rect> rect = {}) const;
    void ShiftHueBrightness(Rect region, int32_t hueSteps, int32_t valueSteps);
    Rect Bounds() const;
    // Blends the image over what the surface shows at rect's top-left.
    void DrawOnto(RgbSurface surface, Rect rect) const;

    // Replace the contents with a named bitmap resource (and a second one
    // giving its alpha); anything but Loaded leaves an empty image.
    enum class Load {
        Loaded,
        Missing,      // no bitmap of that name
        Refused,      // the bitmap class does not take it (CDib::AttachMemory)
        Unconverted,  // a readable bitmap of a kind we do not convert
    };
    Load LoadFromResource(std::string_view name, bool greyAsAlpha);
    Load LoadFromResources(std::string_view colorName, std::string_view maskName);

private:
    const uint32_t* PixelAddress(int32_t x, int32_t y) const {
        return pixels_.data() + size_t(y) * size_t(width_) + size_t(x);
    }
    std::vector<uint32_t> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace tabora
