#include <initializer_list>
#include <vector>

#include "styles/Catalogue.h"

// The families of the catalogue, in strip order. A family is one shape in one
// material at one size, repeated over a list of colourways; the drawing of
// shapes, materials and colourways lives in the art generator.

namespace tabora {

namespace {

using S = StyleShape;
using M = StyleMaterial;
using C = std::initializer_list<uint8_t>;

// Colourways in the order the strip shows them: black and greys, white, then
// round the colour wheel and brown last.
constexpr uint8_t kOnyx = 0, kGraphite = 1, kSlate = 2, kSilver = 3, kSnow = 4, kCrimson = 5,
                  kTangerine = 6, kSunflower = 7, kLime = 8, kEmerald = 9, kTeal = 10, kSky = 11,
                  kIndigo = 12, kViolet = 13, kRaspberry = 14, kCocoa = 15;

const C kAll = {kOnyx, kGraphite, kSlate, kSilver, kSnow,   kCrimson, kTangerine, kSunflower,
                kLime, kEmerald,  kTeal,  kSky,    kIndigo, kViolet,  kRaspberry, kCocoa};
// Glows and accents want a light that can shine: no black, grey or brown.
const C kVivid = {kSnow, kCrimson, kTangerine, kSunflower, kLime,      kEmerald,
                  kTeal, kSky,     kIndigo,    kViolet,    kRaspberry, kSilver};
const C kEight = {kGraphite, kSilver, kCrimson, kSunflower, kEmerald, kSky, kViolet, kCocoa};
const C kSix = {kSnow, kCrimson, kSunflower, kEmerald, kSky, kViolet};
const C kFour = {kGraphite, kCrimson, kSky, kCocoa};
const C kMetals = {0, 1, 2, 3, 4, 5, 6, 7};

class PlanBuilder {
public:
    void Heading(std::string_view text) { items_.push_back({text, {}, {}}); }

    void Pinned(StyleRecipe recipe, Rect rect) { items_.push_back({{}, recipe, rect}); }

    // One style per colourway.
    void Family(S shape, M material, int w, int h, int radius, C colourways, uint8_t variant = 0,
                int margin = 0) {
        for (uint8_t c : colourways) Add(shape, material, w, h, radius, c, variant, margin);
    }

    // Round buttons carrying a glyph, one glyph per colourway in turn.
    void Icons(M material, int size, C colourways) {
        int i = 0;
        for (uint8_t c : colourways) {
            StyleRecipe r = Make(S::Circle, material, size, size, 0, c, 0, 0);
            r.icon = StyleIcon(1 + i++ % 16);
            items_.push_back({{}, r, {}});
        }
    }

    std::vector<CataloguePlanItem> Take() { return std::move(items_); }

private:
    static StyleRecipe Make(S shape, M material, int w, int h, int radius, uint8_t colourway,
                            uint8_t variant, int margin) {
        StyleRecipe r;
        r.shape = shape;
        r.material = material;
        r.width = int16_t(w);
        r.height = int16_t(h);
        r.radius = int16_t(radius);
        r.colourway = colourway;
        r.variant = variant;
        r.margin = int16_t(margin);
        r.stretchColumn = StretchColumnOf(r);
        r.defaultStretch = DefaultStretchOf(r);
        return r;
    }
    void Add(S shape, M material, int w, int h, int radius, uint8_t c, uint8_t variant,
             int margin) {
        items_.push_back({{}, Make(shape, material, w, h, radius, c, variant, margin), {}});
    }

    std::vector<CataloguePlanItem> items_;
};

std::vector<CataloguePlanItem> BuildPlan() {
    PlanBuilder b;

    // The opening pair keeps the places and stretch values that the first two
    // style numbers have always had.
    StyleRecipe first{S::RoundRect, M::Gel, kSky, 0, StyleIcon::None, 144, 30, 9, 0, 16, 77};
    b.Pinned(first, {4, 8, 148, 38});
    StyleRecipe second{S::Circle, M::Gel, kSky, 0, StyleIcon::None, 31, 31, 0, 0, 0, -1};
    b.Pinned(second, {158, 6, 189, 37});

    b.Heading("Glossy gel");
    b.Family(S::Pill, M::Gel, 88, 28, 0, kAll);
    b.Family(S::RoundRect, M::Gel, 88, 30, 7, kAll);
    b.Family(S::Circle, M::Gel, 34, 34, 0, kAll);

    b.Heading("Glass");
    b.Family(S::Pill, M::Glass, 88, 28, 0, kAll);
    b.Family(S::RoundRect, M::Glass, 88, 30, 8, kAll);
    b.Family(S::Circle, M::Glass, 34, 34, 0, kAll);

    b.Heading("Flat");
    b.Family(S::RoundRect, M::Flat, 88, 28, 4, kAll);
    b.Family(S::Pill, M::Flat, 88, 28, 0, kAll);
    b.Family(S::RoundRect, M::FlatBorder, 88, 26, 0, kAll);
    b.Family(S::Circle, M::Flat, 31, 31, 0, kAll);

    b.Heading("Soft gradient");
    b.Family(S::RoundRect, M::Gradient, 88, 28, 5, kAll);
    b.Family(S::Pill, M::Gradient, 88, 28, 0, kAll);

    b.Heading("Two-tone");
    b.Family(S::RoundRect, M::TwoTone, 88, 28, 6, kAll);
    b.Family(S::Pill, M::TwoTone, 88, 30, 0, kAll);

    b.Heading("Bevelled");
    b.Family(S::Bevel, M::Flat, 88, 28, 0, kAll);
    b.Family(S::Bevel, M::Gradient, 88, 30, 0, kAll);
    b.Family(S::Chamfer, M::Gradient, 88, 28, 6, kAll);

    b.Heading("Plastic");
    b.Family(S::Pill, M::Plastic, 88, 30, 0, kAll);
    b.Family(S::RoundRect, M::Plastic, 88, 30, 8, kAll);
    b.Family(S::Circle, M::Plastic, 36, 36, 0, kAll);
    b.Family(S::Keycap, M::Plastic, 88, 32, 6, kAll);

    b.Heading("Embossed");
    b.Family(S::RoundRect, M::Emboss, 88, 28, 6, kAll);
    b.Family(S::Pill, M::Emboss, 88, 28, 0, kAll);

    b.Heading("Inset");
    b.Family(S::RoundRect, M::Inset, 88, 28, 6, kAll);
    b.Family(S::Pill, M::Inset, 88, 28, 0, kAll);

    b.Heading("Outline");
    b.Family(S::RoundRect, M::Outline, 88, 28, 4, kAll, 2);
    b.Family(S::Pill, M::Outline, 88, 28, 0, kAll, 1);
    b.Family(S::RoundRect, M::Outline, 88, 26, 0, kAll, 0);

    b.Heading("Neon");
    b.Family(S::Pill, M::Neon, 90, 36, 0, kVivid, 0, 6);
    b.Family(S::RoundRect, M::Neon, 90, 36, 8, kVivid, 0, 6);
    b.Family(S::Circle, M::Neon, 44, 44, 0, kSix, 0, 6);

    b.Heading("Chrome");
    b.Family(S::Pill, M::Chrome, 88, 28, 0, kMetals);
    b.Family(S::RoundRect, M::Chrome, 88, 30, 6, kMetals);
    b.Family(S::Bevel, M::Chrome, 88, 28, 0, kMetals);
    b.Family(S::Circle, M::Chrome, 34, 34, 0, kMetals);

    b.Heading("Brushed metal");
    b.Family(S::RoundRect, M::Brushed, 88, 28, 4, kMetals);
    b.Family(S::Bevel, M::Brushed, 88, 30, 0, kMetals);
    b.Family(S::Pill, M::Brushed, 88, 28, 0, kMetals);
    b.Family(S::Tab, M::Brushed, 88, 28, 6, kMetals);

    b.Heading("Textures");
    for (auto t : {StyleTexture::Pinstripe, StyleTexture::Ribs, StyleTexture::Hairline})
        b.Family(S::RoundRect, M::Texture, 88, 28, 5, kEight, uint8_t(t));
    for (auto t : {StyleTexture::Leather, StyleTexture::Denim, StyleTexture::Carbon,
                   StyleTexture::Wood, StyleTexture::Stone})
        b.Family(S::RoundRect, M::Texture, 124, 32, 6, kFour, uint8_t(t));

    b.Heading("Tabs");
    b.Family(S::Tab, M::Gradient, 88, 28, 8, kAll);
    b.Family(S::SlantTab, M::Flat, 90, 28, 4, kAll);
    b.Family(S::Tab, M::Gel, 88, 28, 8, kAll);

    b.Heading("Arrows");
    b.Family(S::ArrowRight, M::Gradient, 90, 28, 3, kAll);
    b.Family(S::ArrowLeft, M::Gradient, 90, 28, 3, kAll);
    b.Family(S::ArrowRight, M::Gel, 90, 30, 3, kAll);

    b.Heading("Chevrons and tags");
    b.Family(S::Chevron, M::Flat, 90, 28, 2, kAll);
    b.Family(S::Chevron, M::Gradient, 90, 28, 2, kAll);
    b.Family(S::Tag, M::Gradient, 90, 28, 3, kAll);

    b.Heading("Ribbons");
    b.Family(S::Ribbon, M::Gradient, 90, 28, 0, kAll);
    b.Family(S::FoldedRibbon, M::Gradient, 90, 42, 0, kAll);

    b.Heading("Round icons");
    b.Icons(M::Gel, 36, kAll);
    b.Icons(M::Flat, 36, kAll);
    b.Icons(M::Plastic, 36, kAll);
    b.Icons(M::Outline, 36, kAll);

    b.Heading("Dark");
    b.Family(S::RoundRect, M::Dark, 88, 28, 6, kAll);
    b.Family(S::Pill, M::Dark, 88, 28, 0, kAll);

    b.Heading("Large");
    b.Family(S::RoundRect, M::Gel, 132, 48, 12, kEight);
    b.Family(S::Pill, M::Gradient, 132, 48, 0, kEight);

    b.Heading("Small");
    b.Family(S::Pill, M::Flat, 56, 20, 0, kAll);
    b.Family(S::RoundRect, M::Gradient, 56, 20, 3, kAll);

    return b.Take();
}

}  // namespace

std::span<const CataloguePlanItem> CataloguePlan() {
    static const std::vector<CataloguePlanItem> plan = BuildPlan();
    return plan;
}

}  // namespace tabora
