#include "render/Contrast.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

#include "render/ArgbImage.h"

namespace tabora {

namespace {

constexpr double kNormalTextRatio = 4.5;
constexpr double kLargeTextRatio = 3.0;
constexpr int32_t kLargePoints = 18;
constexpr int32_t kLargeBoldPoints = 14;

// An sRGB channel in linear light; 256 entries, computed once.
const std::array<double, 256>& LinearChannel() {
    static const std::array<double, 256> table = [] {
        std::array<double, 256> t{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            t[size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return t;
    }();
    return table;
}

double Luminance(uint8_t r, uint8_t g, uint8_t b) {
    const std::array<double, 256>& lin = LinearChannel();
    return 0.2126 * lin[r] + 0.7152 * lin[g] + 0.0722 * lin[b];
}

}  // namespace

double ColorLuminance(Color c) { return Luminance(RedOf(c), GreenOf(c), BlueOf(c)); }

double PixelLuminance(uint32_t p) { return Luminance(PixelRed(p), PixelGreen(p), PixelBlue(p)); }

double ContrastRatio(double a, double b) {
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double RequiredContrast(int32_t fontPoints, bool bold) {
    // A negative size is a raster font's cell height in pixels; 96 pixels to
    // the inch make a pixel three quarters of a point.
    const int32_t points = fontPoints >= 0 ? fontPoints : std::abs(fontPoints) * 3 / 4;
    const bool large = points >= kLargePoints || (bold && points >= kLargeBoldPoints);
    return large ? kLargeTextRatio : kNormalTextRatio;
}

Color BetterCaptionColor(double backdrop) {
    const Color black = MakeColor(0, 0, 0), white = MakeColor(255, 255, 255);
    return ContrastRatio(backdrop, 0.0) >= ContrastRatio(backdrop, 1.0) ? black : white;
}

Color BetterCaptionColor(std::span<const double> backdrops) {
    double worstOnBlack = 21, worstOnWhite = 21;
    for (double backdrop : backdrops) {
        if (backdrop < 0) continue;
        worstOnBlack = std::min(worstOnBlack, ContrastRatio(backdrop, 0.0));
        worstOnWhite = std::min(worstOnWhite, ContrastRatio(backdrop, 1.0));
    }
    return worstOnBlack >= worstOnWhite ? MakeColor(0, 0, 0) : MakeColor(255, 255, 255);
}

}  // namespace tabora
