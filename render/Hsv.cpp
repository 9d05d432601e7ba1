// The colour conversions behind the hue and brightness shift. Every step is
// written in the order and precision that the exported pixels depend on:
// red * (1.0 / 255) is not red / 255.0, and 1023 * delta / mx is evaluated
// left to right; either slip changes tens of thousands of colours.
#include <algorithm>

#include "render/ArgbImage.h"

namespace tabora {

namespace {

constexpr int32_t kSector = kHueSector;
constexpr int32_t kFull = 0x7FFFFFFF;  // a component at full strength
constexpr int32_t kSlope = 0x300C03;   // kFull / kSector: one hue step of a ramp

}  // namespace

Hsv RgbToHsv(uint32_t pixel) {
    const double r = PixelRed(pixel) * (1.0 / 255);
    const double g = PixelGreen(pixel) * (1.0 / 255);
    const double b = PixelBlue(pixel) * (1.0 / 255);
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double delta = mx - mn;
    Hsv out;
    out.v = int32_t(1023 * mx);
    out.s = mx == 0 ? 0 : int32_t(1023 * delta / mx);
    if (delta != 0) {
        double h;
        if (r == mx)
            h = (g - b) / delta;
        else if (g == mx)
            h = 2 + (b - r) / delta;
        else
            h = 4 + (r - g) / delta;
        h = kSector * h;
        if (h < 0) h = h + kHueCircle;
        out.h = int32_t(h);
    }
    return out;
}

void HsvToRgb(int32_t h, int32_t s, int32_t v, uint32_t& pixel) {
    // Out-of-range arguments would overflow the signed ramps below: bring
    // the hue into the circle and clamp the others. In-range values pass
    // unchanged (4092, the end of the last ramp, included).
    if (h < 0 || h > kHueCircle) h = (h % kHueCircle + kHueCircle) % kHueCircle;
    s = std::clamp(s, 0, 1023);
    v = std::clamp(v, 0, 1023);

    uint32_t red, green, blue;
    if (v == 0) {
        red = green = blue = 0;
    } else if (s == 0) {
        red = green = blue = uint32_t(v * 255 / 1023);
    } else {
        int32_t c[3];  // R, G, B
        if (h <= 682) {
            c[0] = kFull, c[1] = h * kSlope, c[2] = 0;
        } else if (h <= 1364) {
            c[0] = kFull - (h - 682) * kSlope, c[1] = kFull, c[2] = 0;
        } else if (h <= 2046) {
            c[0] = 0, c[1] = kFull, c[2] = (h - 1364) * kSlope;
        } else if (h <= 2728) {
            c[0] = 0, c[1] = kFull - (h - 2046) * kSlope, c[2] = kFull;
        } else if (h <= 3410) {
            c[0] = (h - 2728) * kSlope, c[1] = 0, c[2] = kFull;
        } else {
            c[0] = kFull, c[1] = 0, c[2] = kFull - (h - 3410) * kSlope;
        }
        for (int32_t& x : c) {
            if (s != 1023) x = x + ((kFull - x) / 1023) * (1023 - s);
            if (v != 1023) x = (x / 1023) * v;
        }
        red = uint32_t(c[0] >> 23) & 0xFF;
        green = uint32_t(c[1] >> 23) & 0xFF;
        blue = uint32_t(c[2] >> 23) & 0xFF;
    }
    pixel = (pixel & 0xFF) | (red << 8) | (green << 16) | (blue << 24);
}

}  // namespace tabora
