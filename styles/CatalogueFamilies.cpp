#include <initializer_list>
#include <utility>
#include <vector>

#include "styles/Catalogue.h"

// The families of the catalogue, in strip order: the buttons of today's pages
// first, at the heights they are built at (36 to 48 pixels), then the classic
// materials. A family is one shape in one material at one size, repeated over
// a list of colourways; the drawing of shapes, materials and colourways lives
// in the art generator.
//
// Style numbers follow from this order. They are stable from here on: a
// change adds families at the end rather than moving the ones before it.

namespace tabora {

namespace {

using S = StyleShape;
using M = StyleMaterial;
using C = std::initializer_list<uint8_t>;

constexpr uint8_t kOnyx = 0, kGraphite = 1, kSlate = 2, kSilver = 3, kSnow = 4, kCrimson = 5,
                  kTangerine = 6, kSunflower = 7, kLime = 8, kEmerald = 9, kTeal = 10, kSky = 11,
                  kIndigo = 12, kViolet = 13, kRaspberry = 14, kCocoa = 15, kMist = 16,
                  kCloud = 17, kFog = 18, kCharcoal = 19, kInk = 20, kSteel = 21;

// Today's heights: the 36 to 48 CSS pixels of buttons on current sites.
constexpr int kToday[] = {36, 40, 44, 48};

// Colour sets. The hue slider turns any colour into its neighbours, so a
// family needs one colour per region of the wheel, not every shade of it.
const C kBrand = {kSky,   kIndigo, kViolet, kRaspberry, kCrimson, kTangerine,
                  kSunflower, kLime, kEmerald, kTeal, kSlate, kOnyx};
// Strokes and deep captions need colours that stand out on a white page.
const C kStrokes = {kSky, kIndigo, kViolet, kCrimson, kEmerald, kOnyx};
const C kTints = {kSky, kIndigo, kViolet, kRaspberry, kCrimson, kTangerine, kLime, kEmerald};
const C kLifted = {kCloud, kSky, kIndigo, kCrimson, kEmerald, kOnyx};
const C kGreys = {kMist, kCloud, kFog, kCharcoal, kInk, kSteel};
const C kGlyphs = {kSky, kIndigo, kViolet, kCrimson, kTangerine, kEmerald, kTeal, kOnyx};
// Six hues about sixty degrees apart: a thin accent must tell them apart.
const C kOnDark = {kSky, kViolet, kRaspberry, kTangerine, kLime, kEmerald};
// The classic materials in twelve colourways: black, slate, silver and white,
// a warm and a cool half of the wheel, and brown.
const C kClassic = {kOnyx,    kSlate, kSilver, kSnow, kCrimson, kTangerine,
                    kSunflower, kEmerald, kTeal, kSky, kViolet, kCocoa};
// The glossy round gel leaves out sky: style 2 is that button.
const C kClassicRound = {kOnyx,    kSlate, kSilver, kSnow, kCrimson, kTangerine,
                         kSunflower, kEmerald, kTeal, kIndigo, kViolet, kCocoa};
// Glows want a light that can shine on a dark page: no black, grey, white or
// brown (a pale glow only greys a light page).
const C kGlows = {kCrimson, kTangerine, kSunflower, kLime, kEmerald, kTeal,
                  kSky,     kIndigo,    kViolet,    kRaspberry};
const C kSix = {kCrimson, kSunflower, kEmerald, kSky, kViolet, kRaspberry};
const C kFour = {kGraphite, kCrimson, kSky, kCocoa};
const C kMetals = {0, 1, 2, 3, 4, 5, 6, 7};

// The picture width of a widenable button of today: room for its two ends
// and a stretch of middle, narrow enough that three share a strip row. A
// picture taller than the strip shows (48) is shown smaller, so it may be
// wider by as much.
int TodayWidth(int pictureHeight) { return std::max(56, 56 * pictureHeight / 48); }
// Corners of today's rounded rectangles: 6 pixels, 8 on the larger ones.
int TodayRadius(int height) { return height >= 44 ? 8 : 6; }

class PlanBuilder {
public:
    void Heading(std::string_view text) { items_.push_back({text, {}, {}}); }

    void Pinned(StyleRecipe recipe, Rect rect) {
        recipe.family = family_++;
        items_.push_back({{}, recipe, rect});
    }

    // One style per colourway.
    void Family(S shape, M material, int w, int h, int radius, C colourways, uint8_t variant = 0,
                int margin = 0) {
        for (uint8_t c : colourways) Add(Make(shape, material, w, h, radius, c, variant, margin));
        ++family_;
    }

    // A family at each of today's heights, `margin` clear around the body.
    void Today(S shape, M material, C colourways, uint8_t variant = 0, int margin = 0) {
        for (int h : kToday)
            Family(shape, material, TodayWidth(h + 2 * margin), h + 2 * margin, TodayRadius(h),
                   colourways, variant, margin);
    }

    // Two-hue gradients: each pair of colourways a style, at every height.
    void TwoHues(std::initializer_list<std::pair<uint8_t, uint8_t>> pairs) {
        for (int h : kToday) {
            for (auto [from, to] : pairs)
                Add(Make(S::Pill, M::TwoHue, TodayWidth(h), h, 0, from, to, 0));
            ++family_;
        }
    }

    // Buttons with a glyph: round ones carry it in the middle, the others in
    // a well at the leading end. One glyph per colourway in turn.
    void Icons(S shape, M material, int w, int h, int radius, C colourways, int margin = 0,
               uint8_t variant = 0) {
        int i = 0;
        for (uint8_t c : colourways) {
            StyleRecipe r = Make(shape, material, w, h, radius, c, variant, margin);
            r.icon = kIconOrder[i++ % std::size(kIconOrder)];
            Add(r);
        }
        ++family_;
    }

    // Small pills for tags and filters, which start narrower than buttons.
    void Chips(M material, int w, int h, C colourways, uint8_t variant = 0, int margin = 0) {
        for (uint8_t c : colourways) {
            StyleRecipe r = Make(S::Pill, material, w, h, 0, c, variant, margin);
            r.stretchColumn = StretchColumnOf(r);
            r.defaultStretch = ChipStretchOf(r);
            items_.push_back({{}, r, {}});
        }
        ++family_;
    }

    // A segmented control's three pieces at one height, not chosen or chosen.
    void Segments(int h, uint8_t colourway, uint8_t chosen) {
        for (S shape : {S::SegmentLeft, S::SegmentMiddle, S::SegmentRight})
            Add(Make(shape, M::Segment, TodayWidth(h), h, TodayRadius(h), colourway, chosen, 0));
        ++family_;
    }

    std::vector<CataloguePlanItem> Take() { return std::move(items_); }

private:
    // Glyphs in the order buttons most often carry them.
    static constexpr StyleIcon kIconOrder[] = {
        StyleIcon::Play,  StyleIcon::Plus,   StyleIcon::Check, StyleIcon::Next,
        StyleIcon::Down,  StyleIcon::Search, StyleIcon::Heart, StyleIcon::Star,
        StyleIcon::Close, StyleIcon::Menu,   StyleIcon::Back,  StyleIcon::Up,
        StyleIcon::Pause, StyleIcon::Stop,   StyleIcon::Minus, StyleIcon::Power};

    StyleRecipe Make(S shape, M material, int w, int h, int radius, uint8_t colourway,
                     uint8_t variant, int margin) const {
        StyleRecipe r;
        r.shape = shape;
        r.material = material;
        r.width = int16_t(w);
        r.height = int16_t(h);
        r.radius = int16_t(radius);
        r.colourway = colourway;
        r.variant = variant;
        r.margin = int16_t(margin);
        r.family = family_;
        return r;
    }
    void Add(StyleRecipe r) {
        r.stretchColumn = StretchColumnOf(r);
        r.defaultStretch = DefaultStretchOf(r);
        items_.push_back({{}, r, {}});
    }

    std::vector<CataloguePlanItem> items_;
    uint16_t family_ = 0;
};

std::vector<CataloguePlanItem> BuildPlan() {
    PlanBuilder b;

    // The opening pair keeps the places and stretch values that the first two
    // style numbers have always had.
    StyleRecipe first{S::RoundRect, M::Gel, kSky, 0, StyleIcon::None, 144, 30, 9, 0, 16, 77};
    b.Pinned(first, {4, 8, 148, 38});
    StyleRecipe second{S::Circle, M::Gel, kSky, 0, StyleIcon::None, 31, 31, 0, 0, 0, -1};
    b.Pinned(second, {158, 6, 189, 37});

    // Today's buttons. Strokes sit two pixels inside the picture: a button
    // shrunk below its size loses up to two of its bottom rows, and its
    // outline must not go with them.
    b.Heading("Flat");
    b.Today(S::RoundRect, M::Flat, kBrand);
    b.Today(S::Pill, M::Flat, kBrand);

    b.Heading("Outline and ghost");
    b.Today(S::RoundRect, M::Outline, kStrokes, 2, 2);
    b.Today(S::Pill, M::Outline, kStrokes, 2, 2);

    b.Heading("Tonal");
    b.Today(S::RoundRect, M::Tonal, kTints);
    b.Today(S::Pill, M::Tonal, kTints);

    b.Heading("Elevated");
    b.Today(S::RoundRect, M::Elevated, kLifted, 0, 6);
    b.Today(S::Pill, M::Elevated, {kCloud, kSky, kOnyx}, 0, 6);

    b.Heading("Two-hue gradient");
    b.TwoHues({{kSky, kIndigo},
               {kViolet, kRaspberry},
               {kTangerine, kCrimson},
               {kTeal, kEmerald},
               {kSunflower, kTangerine},
               {kIndigo, kViolet}});

    b.Heading("Neutral");
    b.Today(S::RoundRect, M::Neutral, kGreys);

    b.Heading("Icon and label");
    for (int h : kToday)
        b.Icons(S::RoundRect, M::Flat, TodayWidth(h) + h, h, TodayRadius(h), kGlyphs);

    b.Heading("Segmented");
    for (int h : kToday) {
        b.Segments(h, kSky, 0);
        b.Segments(h, kSky, 1);
    }

    b.Heading("Chips");
    b.Chips(M::Tonal, 40, 24, kTints);
    b.Chips(M::Outline, 52, 32, kStrokes, 2, 2);
    b.Chips(M::Flat, 48, 32, kTints);

    b.Heading("For dark pages");
    b.Today(S::RoundRect, M::DarkTonal, kOnDark);
    b.Today(S::Pill, M::DarkGlow, kOnDark, 0, 4);
    b.Family(S::RoundRect, M::Dark, 56, 40, 6, kOnDark);
    b.Family(S::Pill, M::Dark, 56, 40, 0, kOnDark);

    // The classic materials.
    b.Heading("Glossy gel");
    b.Family(S::Pill, M::Gel, 56, 36, 0, kClassic);
    b.Family(S::RoundRect, M::Gel, 56, 32, 8, kClassic);
    b.Family(S::Circle, M::Gel, 36, 36, 0, kClassicRound);

    b.Heading("Glass");
    b.Family(S::Pill, M::Glass, 56, 36, 0, kClassic);
    b.Family(S::RoundRect, M::Glass, 56, 32, 8, kClassic);
    b.Family(S::Circle, M::Glass, 36, 36, 0, kClassic);

    b.Heading("Plastic");
    b.Family(S::Pill, M::Plastic, 56, 36, 0, kClassic);
    b.Family(S::RoundRect, M::Plastic, 56, 32, 8, kClassic);
    b.Family(S::Keycap, M::Plastic, 56, 36, 6, kClassic);

    b.Heading("Soft gradient and two-tone");
    b.Family(S::RoundRect, M::Gradient, 56, 30, 5, kClassic);
    b.Family(S::Pill, M::Gradient, 56, 30, 0, kClassic);
    b.Family(S::RoundRect, M::TwoTone, 56, 30, 6, kClassic);

    b.Heading("Bevelled, embossed and inset");
    b.Family(S::Bevel, M::Flat, 56, 28, 0, kClassic);
    b.Family(S::Bevel, M::Gradient, 56, 32, 0, kClassic);
    b.Family(S::Chamfer, M::Gradient, 56, 28, 6, kClassic);
    b.Family(S::RoundRect, M::Emboss, 56, 28, 6, kClassic);
    b.Family(S::RoundRect, M::Inset, 56, 28, 6, kClassic);

    b.Heading("Chrome");
    b.Family(S::Pill, M::Chrome, 56, 32, 0, kMetals);
    b.Family(S::RoundRect, M::Chrome, 56, 32, 6, kMetals);
    b.Family(S::Bevel, M::Chrome, 56, 30, 0, kMetals);
    b.Family(S::Circle, M::Chrome, 36, 36, 0, kMetals);

    b.Heading("Brushed metal");
    b.Family(S::RoundRect, M::Brushed, 56, 32, 4, kMetals);
    b.Family(S::Bevel, M::Brushed, 56, 32, 0, kMetals);
    b.Family(S::Pill, M::Brushed, 56, 32, 0, kMetals);

    b.Heading("Textures");
    b.Family(S::RoundRect, M::Texture, 56, 36, 6, kFour, uint8_t(StyleTexture::Wood));
    b.Family(S::RoundRect, M::Texture, 56, 32, 5, {kGraphite, kSilver, kCrimson, kSunflower,
                                                   kEmerald, kSky, kViolet, kCocoa},
             uint8_t(StyleTexture::Pinstripe));
    for (auto t : {StyleTexture::Leather, StyleTexture::Denim, StyleTexture::Stone})
        b.Family(S::RoundRect, M::Texture, 104, 36, 6, kFour, uint8_t(t));
    // Carbon is black whatever its colourway; its two differ in the weave's
    // sheen: neutral, and the blue of an aramid blend.
    b.Family(S::RoundRect, M::Texture, 104, 36, 6, {kOnyx, kSky}, uint8_t(StyleTexture::Carbon));

    b.Heading("Neon");
    b.Family(S::Pill, M::Neon, 56, 44, 0, kGlows, 0, 6);
    b.Family(S::RoundRect, M::Neon, 56, 44, 8, kGlows, 0, 6);
    b.Family(S::Circle, M::Neon, 48, 48, 0, kSix, 0, 6);

    b.Heading("Arrows and tabs");
    b.Family(S::ArrowRight, M::Gradient, 56, 30, 3, kClassic);
    b.Family(S::ArrowLeft, M::Gradient, 56, 30, 3, kClassic);
    b.Family(S::ArrowRight, M::Gel, 56, 32, 3, kClassic);
    b.Family(S::SlantTab, M::Flat, 56, 28, 4, kClassic);

    b.Heading("Chevrons, tags and ribbons");
    b.Family(S::Chevron, M::Flat, 56, 28, 2, kClassic);
    b.Family(S::Chevron, M::Gradient, 56, 30, 2, kClassic);
    b.Family(S::Tag, M::Gradient, 56, 30, 3, kClassic);
    b.Family(S::Ribbon, M::Gradient, 56, 30, 0, kClassic);
    b.Family(S::FoldedRibbon, M::Gradient, 56, 42, 0, kClassic);

    b.Heading("Round icons");
    const C all16 = {kOnyx, kGraphite, kSlate,   kSilver, kSnow,   kCrimson, kTangerine, kSunflower,
                     kLime, kEmerald,  kTeal,    kSky,    kIndigo, kViolet,  kRaspberry, kCocoa};
    b.Icons(S::Circle, M::Gel, 36, 36, 0, all16);
    b.Icons(S::Circle, M::Flat, 36, 36, 0, all16);
    b.Icons(S::Circle, M::Plastic, 36, 36, 0, all16);
    b.Icons(S::Circle, M::Outline, 40, 40, 0, kGlyphs, 2, 2);

    return b.Take();
}

}  // namespace

std::span<const CataloguePlanItem> CataloguePlan() {
    static const std::vector<CataloguePlanItem> plan = BuildPlan();
    return plan;
}

}  // namespace tabora
