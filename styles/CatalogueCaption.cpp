#include <algorithm>
#include <cmath>

#include "styles/Catalogue.h"

// Where a caption goes on each style and which colour reads there. The area
// follows the outline the generator draws; the colour is chosen against the
// colour the style shows under its caption, by the contrast ratio of the web
// content guidelines (relative luminance of sRGB, (L1 + 0.05) / (L2 + 0.05)).
namespace tabora {

namespace {

using S = StyleShape;
using M = StyleMaterial;

// The two plain caption colours: white, and the near-black of body text.
constexpr uint32_t kLightCaption = 0xFFFFFF;
constexpr uint32_t kDarkCaption = 0x1F2328;
// Pages a style with clear parts is shown on.
constexpr uint32_t kLightPage = 0xFFFFFF;
constexpr uint32_t kDarkPage = 0x141518;
// The contrast a caption in the style's own colour must reach: the
// guidelines' level for text of ordinary size, with a little to spare for
// the shading of the art.
constexpr double kShadeContrast = 4.6;

struct Rgb {
    double r, g, b;  // 0..1
};

Rgb FromHex(uint32_t rgb) {
    return {double((rgb >> 16) & 0xFF) / 255, double((rgb >> 8) & 0xFF) / 255,
            double(rgb & 0xFF) / 255};
}

uint32_t ToHex(Rgb c) {
    auto q = [](double v) { return uint32_t(std::lround(std::clamp(v, 0.0, 1.0) * 255)); };
    return q(c.r) << 16 | q(c.g) << 8 | q(c.b);
}

Rgb Mix(Rgb a, Rgb b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

double Linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }

double RelativeLuminance(Rgb c) {
    return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b);
}

double Contrast(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Light or dark, whichever stands out more.
uint32_t PlainCaption(Rgb surface) {
    return Contrast(FromHex(kLightCaption), surface) >= Contrast(FromHex(kDarkCaption), surface)
               ? kLightCaption
               : kDarkCaption;
}

// The colour itself, mixed towards black (or white) in small steps until it
// reaches the contrast of ordinary text on the surface.
uint32_t ShadeCaption(Rgb colour, Rgb surface, bool towardsWhite) {
    const Rgb end = towardsWhite ? Rgb{1, 1, 1} : Rgb{0, 0, 0};
    for (int step = 0; step <= 20; ++step) {
        const Rgb c = Mix(colour, end, step * 0.05);
        if (Contrast(c, surface) >= kShadeContrast) return ToHex(c);
    }
    return ToHex(end);
}

// The colour a style shows under its caption, as the generator draws it,
// near enough to choose a caption colour by.
Rgb SurfaceOf(const StyleRecipe& r, bool darkPage) {
    const Rgb c = FromHex(ColourwayOf(r.colourway).rgb);
    const Rgb page = FromHex(darkPage ? kDarkPage : kLightPage);
    switch (r.material) {
        case M::Glass:
            return Mix(page, Mix(c, {1, 1, 1}, 0.1), 0.75);
        case M::Gel:
            // The gloss lights the upper half, and most of a round button.
            return Mix(c, {1, 1, 1}, r.shape == S::Circle ? 0.32 : 0.2);
        case M::Chrome:
            // A mirror of a bright sky over a dark horizon.
            return Mix(FromHex(MetalOf(r.colourway).mid), FromHex(MetalOf(r.colourway).light),
                       0.35);
        case M::Brushed:
            return FromHex(MetalOf(r.colourway).mid);
        case M::Outline:
            return page;
        case M::Tonal:
            return Mix(c, {1, 1, 1}, 0.84);
        case M::TwoHue:
            return Mix(c, FromHex(ColourwayOf(r.variant).rgb), 0.5);
        case M::Segment:
            return r.variant ? Mix(c, {0, 0, 0}, 0.14) : Rgb{1, 1, 1};
        case M::Dark:
            return FromHex(0x2A2D34);
        case M::DarkTonal:
            return Mix(FromHex(0x17191E), c, 0.3);
        case M::DarkGlow:
            return Mix(Mix(FromHex(0x1E2127), FromHex(0x15171B), 0.5), c, 0.08);
        case M::Neon:
            return FromHex(0x1A1C21);
        case M::Texture:
            switch (StyleTexture(r.variant)) {
                case StyleTexture::Carbon:
                    return FromHex(0x2A2C30);
                case StyleTexture::Wood:
                    return Mix(FromHex(0x9C6B3E), c, 0.35);
                case StyleTexture::Denim:
                case StyleTexture::Stone:
                    return Mix(c, {0.5, 0.5, 0.5}, 0.3);
                case StyleTexture::Pinstripe:
                    return Mix(c, {1, 1, 1}, 0.12);
                default:
                    return Mix(c, {0, 0, 0}, 0.1);
            }
        default:
            return c;
    }
}

bool DrawnForDarkPages(const StyleRecipe& r) {
    return r.material == M::DarkTonal || r.material == M::DarkGlow || r.material == M::Dark ||
           r.material == M::Neon;
}

// How far in from each side of the body box a caption keeps: clear of the
// rounded or pointed ends, with a little air above and below.
Rect AreaOf(const StyleRecipe& r) {
    const int32_t m = r.margin;
    int32_t left = m, top = m, right = r.width - m, bottom = r.height - m;
    const int32_t h = bottom - top;
    const int32_t air = std::max<int32_t>(2, (h * 3 + 10) / 20);
    int32_t ends = 0;  // how far the shape's ends reach in
    switch (r.shape) {
        case S::Pill:
            ends = h / 4;
            break;
        case S::Circle: {
            // The square inside the disc.
            const int32_t in = int32_t(std::ceil(h * (1 - 1 / std::sqrt(2.0)) / 2));
            return {left + in, top + in, right - in, bottom - in};
        }
        case S::ArrowRight:
            right -= h / 2;
            break;
        case S::ArrowLeft:
            left += h / 2;
            break;
        case S::Chevron:
        case S::Tag:
        case S::Ribbon:
        case S::SlantTab:
            ends = PointLength(r.shape, h);
            break;
        case S::Keycap:
            // The key's face, above its deeper lip.
            left += 4, right -= 4, top += 3, bottom -= 6;
            break;
        case S::FoldedRibbon: {
            // The band in front of the tails.
            const int32_t overhang = int32_t(std::lround(h * 0.19));
            const int32_t inset = int32_t(std::lround(h * 0.24));
            left += inset, right -= inset, top += overhang, bottom -= overhang;
            break;
        }
        default:
            ends = r.radius / 2;
            break;
    }
    if (r.icon != StyleIcon::None) left += h;  // the glyph well
    const int32_t side = std::max<int32_t>(ends, 2) + air;
    const int32_t vertical = std::min(air, (bottom - top) / 3);
    return {left + side, top + vertical, right - side, bottom - vertical};
}

}  // namespace

int32_t PointLength(StyleShape shape, int32_t height) {
    // In hundredths of the height, rounded half up.
    const int32_t share = shape == S::Chevron ? 36 : shape == S::Ribbon ? 30 : 40;
    return (height * share + 50) / 100;
}

CaptionPlace CaptionPlaceOf(const StyleRecipe& r) {
    CaptionPlace place;
    place.area = AreaOf(r);
    place.darkPage = DrawnForDarkPages(r);
    const Rgb surface = SurfaceOf(r, place.darkPage);
    const Rgb own = FromHex(ColourwayOf(r.colourway).rgb);
    uint32_t rgb;
    switch (r.material) {
        case M::Tonal:
        case M::Outline:
            rgb = ShadeCaption(own, surface, false);
            break;
        case M::DarkTonal:
        case M::DarkGlow:
            rgb = ShadeCaption(own, surface, true);
            break;
        default:
            rgb = PlainCaption(surface);
            break;
    }
    place.colour = MakeColor(uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
    return place;
}

}  // namespace tabora
