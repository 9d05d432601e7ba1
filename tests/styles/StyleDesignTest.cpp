// The catalogue as a designer uses it: today's families first and at today's
// heights, captions that sit inside the body in a colour that reads there,
// outlines that survive shrinking, light colourways that keep their gloss
// when brightened, and no style that is a near copy of another family's.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>
#include <string_view>
#include <vector>

#include "io/ButtonSettings.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"

using namespace tabora;

namespace {

constexpr int32_t kTodayHeights[] = {36, 40, 44, 48};

// Contrast ratios of the web content guidelines: ordinary text, and large
// (bold 14-point or 18-point) text, as most button captions are.
constexpr double kOrdinaryText = 4.5;
constexpr double kLargeText = 3.0;
// A plain caption may trail the better of light and dark by this share,
// where the art's shading leaves the choice close.
constexpr double kPlainShare = 0.8;
// The smallest difference between two styles (see NoStyleIsANearCopy).
constexpr double kMinDifference = 3.0;
// How much of the value range the gloss of a near-white style keeps at full
// brightness, in 8-bit steps.
constexpr int kMinGlossRange = 30;

// The styles of today, between the first heading and the first classic one.
constexpr std::string_view kFirstClassicHeading = "Glossy gel";

int32_t BodyHeight(const StyleRecipe& r) { return r.height - 2 * r.margin; }

std::vector<size_t> TodaysStyles() {
    std::vector<size_t> out;
    auto items = CatalogueItems();
    bool today = false;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) {
            today = items[i].heading != kFirstClassicHeading && (today || out.empty());
            continue;
        }
        if (today) out.push_back(i);
    }
    return out;
}

struct Srgb {
    double r, g, b;
};

double Linear(double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); }
double Luminance(Srgb c) { return 0.2126 * Linear(c.r) + 0.7152 * Linear(c.g) + 0.0722 * Linear(c.b); }
double Contrast(Srgb a, Srgb b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
Srgb OfColor(Color c) { return {RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0}; }
// The dark page of the styles made for dark pages.
constexpr Srgb kDarkPage{0x14 / 255.0, 0x15 / 255.0, 0x18 / 255.0};

// The mean colour of a region of a style seen on a page, leaving out the
// pixels drawn in `ink` when given (a glyph).
Srgb MeanOver(const ArgbImage& image, Rect area, Srgb page, const Color* ink = nullptr) {
    Srgb sum{0, 0, 0};
    double n = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            const uint32_t p = image.At(x, y);
            if (ink && std::abs(PixelRed(p) - RedOf(*ink)) + std::abs(PixelGreen(p) - GreenOf(*ink)) +
                               std::abs(PixelBlue(p) - BlueOf(*ink)) <
                           96)
                continue;
            const double a = PixelAlpha(p) / 255.0;
            sum.r += PixelRed(p) / 255.0 * a + page.r * (1 - a);
            sum.g += PixelGreen(p) / 255.0 * a + page.g * (1 - a);
            sum.b += PixelBlue(p) / 255.0 * a + page.b * (1 - a);
            ++n;
        }
    return {sum.r / n, sum.g / n, sum.b / n};
}

// The body's filled silhouette: every pixel at least half opaque, and every
// pixel such pixels enclose (the clear middle of an outline).
std::vector<bool> Silhouette(const ArgbImage& image) {
    const int32_t w = image.Width(), h = image.Height();
    std::vector<bool> outside(size_t(w) * size_t(h), false);
    std::vector<std::pair<int32_t, int32_t>> stack;
    auto visit = [&](int32_t x, int32_t y) {
        if (x < 0 || y < 0 || x >= w || y >= h) return;
        const size_t at = size_t(y) * size_t(w) + size_t(x);
        if (outside[at] || PixelAlpha(image.At(x, y)) >= 128) return;
        outside[at] = true;
        stack.push_back({x, y});
    };
    for (int32_t x = 0; x < w; ++x) visit(x, 0), visit(x, h - 1);
    for (int32_t y = 0; y < h; ++y) visit(0, y), visit(w - 1, y);
    while (!stack.empty()) {
        auto [x, y] = stack.back();
        stack.pop_back();
        visit(x + 1, y), visit(x - 1, y), visit(x, y + 1), visit(x, y - 1);
    }
    std::vector<bool> inside(outside.size());
    for (size_t i = 0; i < inside.size(); ++i) inside[i] = !outside[i];
    return inside;
}

// A style as the renderer shrinks it for a button size below 200.
ArgbImage Shrunk(const ArgbImage& image, int32_t size) {
    const double f = std::sqrt(size * 50.0) * 0.01;
    ArgbImage out(int32_t(image.Width() * f), int32_t(image.Height() * f));
    image.ReduceInto(out);
    return out;
}

// The four channels premultiplied by alpha, in 8-bit steps.
std::vector<float> Premultiplied(const ArgbImage& image) {
    std::vector<float> v(size_t(image.Width()) * size_t(image.Height()) * 4);
    size_t i = 0;
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x) {
            const uint32_t p = image.At(x, y);
            const float a = PixelAlpha(p);
            v[i++] = a;
            v[i++] = PixelRed(p) * a / 255;
            v[i++] = PixelGreen(p) * a / 255;
            v[i++] = PixelBlue(p) * a / 255;
        }
    return v;
}

}  // namespace

TEST(StyleDesign, TodaysFamiliesComeFirstAtTodaysHeightsAndWidenToTheFullWidth) {
    auto items = CatalogueItems();
    const std::vector<size_t> today = TodaysStyles();
    ASSERT_FALSE(today.empty());
    // Right after the two opening styles.
    EXPECT_TRUE(items[2].IsHeading());
    EXPECT_EQ(today.front(), 3u);
    // Each kind of today's button at every one of today's heights (the
    // fixed dark family, a classic brought over, at one).
    std::map<std::tuple<StyleShape, StyleMaterial, bool>, std::set<int32_t>> heights;
    int32_t tall = 0, styles = 0;
    for (size_t i : today) {
        const StyleRecipe& r = items[i].recipe;
        if (BodyHeight(r) >= 36 && r.material != StyleMaterial::Dark)
            heights[{r.shape, r.material, r.icon != StyleIcon::None}].insert(BodyHeight(r));
    }
    EXPECT_GE(heights.size(), 14u);
    for (const auto& [kind, seen] : heights)
        EXPECT_EQ(seen, std::set<int32_t>(std::begin(kTodayHeights), std::end(kTodayHeights)))
            << int(std::get<0>(kind)) << " " << int(std::get<1>(kind));
    for (size_t i : today) {
        const StyleRecipe& r = items[i].recipe;
        SCOPED_TRACE(i + 1);
        if (BodyHeight(r) < 36) continue;  // the chips are small on purpose
        EXPECT_NE(std::find(std::begin(kTodayHeights), std::end(kTodayHeights), BodyHeight(r)),
                  std::end(kTodayHeights));
        // Widenable all the way to the widest body the canvas takes.
        EXPECT_GE(items[i].entry.stretchColumn, 0);
        EXPECT_LE(r.width, Archive::kMaxStyleWidth);
    }
    for (const CatalogueItem& item : items) {
        if (item.IsHeading()) continue;
        ++styles;
        if (BodyHeight(item.recipe) >= 36) ++tall;
    }
    EXPECT_GE(tall * 3, styles) << tall << " of " << styles << " styles are 36 pixels or taller";
}

TEST(StyleDesign, EveryStylesCaptionAreaLiesInsideItsBody) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        SCOPED_TRACE(i + 1);
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        const Rect area = items[i].caption.area;
        ASSERT_FALSE(area.IsEmpty());
        ASSERT_EQ(area.Intersect(style->image.Extent()), area);
        const std::vector<bool> inside = Silhouette(style->image);
        int32_t out = 0;
        for (int32_t y = area.top; y < area.bottom; ++y)
            for (int32_t x = area.left; x < area.right; ++x)
                out += !inside[size_t(y) * size_t(style->image.Width()) + size_t(x)];
        EXPECT_EQ(out, 0) << "pixels of the caption area outside the body";
    }
}

// The caption colour is data for contrast checks, so it must be right for
// the art as drawn: measured on the mean colour of the caption area (on the
// page the style is made for), a plain light or dark caption is the one of
// the two that stands out more (give or take the art's shading), and a shade
// of the style's own colour reaches the contrast of ordinary text.
TEST(StyleDesign, CaptionColourReadsOnTheArt) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    const Srgb light{1, 1, 1}, dark = OfColor(MakeColor(0x1F, 0x23, 0x28));
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        SCOPED_TRACE(i + 1);
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        const CatalogueItem& item = items[i];
        const CaptionPlace& place = item.caption;
        const Srgb page = place.darkPage ? kDarkPage : Srgb{1, 1, 1};
        const Srgb caption = OfColor(place.colour);
        // A round icon's glyph, drawn in the caption colour, is left out.
        const bool glyph =
            item.recipe.shape == StyleShape::Circle && item.recipe.icon != StyleIcon::None;
        const Srgb under = MeanOver(style->image, place.area, page, glyph ? &place.colour : nullptr);
        const double c = Contrast(caption, under);
        const bool plain = place.colour == MakeColor(255, 255, 255) ||
                           place.colour == MakeColor(0x1F, 0x23, 0x28);
        if (plain) {
            const double best = std::max(Contrast(light, under), Contrast(dark, under));
            EXPECT_GE(c, kPlainShare * best);
            EXPECT_GE(c, kLargeText);
        } else {
            EXPECT_GE(c, kOrdinaryText);
        }
    }
}

// A button shrunk below its size loses up to two of its bottom rows to the
// renderer's reduction; an outline drawn in them used to vanish. Each side of
// every style keeps ink (alpha 128 or more) where its middle crosses that
// side, and no side is less than half as strong as the strongest.
TEST(StyleDesign, EveryStrokeSurvivesShrinking) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    for (int32_t size : {40, 60, 100, 150}) {
        for (size_t i = 0; i < items.size(); ++i) {
            if (items[i].IsHeading()) continue;
            SCOPED_TRACE(testing::Message() << "style " << i + 1 << " at size " << size);
            auto style = archive.Load(int32_t(i + 1));
            ASSERT_NE(style, nullptr);
            const ArgbImage r = Shrunk(style->image, size);
            const int32_t w = r.Width(), h = r.Height();
            // The strongest alpha of a row across the middle half of the
            // columns, and of a column across the middle half of the rows.
            auto rowInk = [&](int32_t y) {
                int m = 0;
                for (int32_t x = w / 4; x < w - w / 4; ++x) m = std::max(m, int(PixelAlpha(r.At(x, y))));
                return m;
            };
            auto columnInk = [&](int32_t x) {
                int m = 0;
                for (int32_t y = h / 4; y < h - h / 4; ++y) m = std::max(m, int(PixelAlpha(r.At(x, y))));
                return m;
            };
            int side[4] = {};  // top, bottom, left, right
            for (int32_t y = 0; y < h / 3; ++y) side[0] = std::max(side[0], rowInk(y));
            for (int32_t y = h - h / 3; y < h; ++y) side[1] = std::max(side[1], rowInk(y));
            for (int32_t x = 0; x < w / 3; ++x) side[2] = std::max(side[2], columnInk(x));
            for (int32_t x = w - w / 3; x < w; ++x) side[3] = std::max(side[3], columnInk(x));
            const int weakest = *std::min_element(side, side + 4);
            const int strongest = *std::max_element(side, side + 4);
            EXPECT_GE(weakest, 128) << side[0] << " " << side[1] << " " << side[2] << " " << side[3];
            EXPECT_GE(weakest * 2, strongest);
        }
    }
}

// Styles are compared as a designer meets them: of the same height, the
// widenable ones widened to the wider of the widths they start at, and one
// that cannot widen only with styles that reach its width. Their difference
// is the mean, over the pixels either of them inks and the four channels,
// of the difference of alpha and alpha-weighted colour, in 8-bit steps (so
// that two outlines are compared on their strokes, not their clear middle). The tab
// families were 0.7 to 1.6 from the rounded rectangles, the carbon
// colourways 2.3 from each other. Only the pieces of one segmented control
// may come closer: they differ in which side is rounded.
TEST(StyleDesign, NoStyleIsANearCopyOfAnother) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    struct Shown {
        size_t item;
        ArgbImage image;
        int32_t startWidth;
        int16_t column;
    };
    std::vector<Shown> all;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        const int32_t start =
            style->image.Width() + (style->stretchColumn >= 0 ? style->defaultStretch : 0);
        all.push_back({i, style->image, start, style->stretchColumn});
    }
    auto atWidth = [](const Shown& s, int32_t w) {
        if (s.image.Width() == w) return s.image;
        ArgbImage out(w, s.image.Height());
        s.image.StretchMiddle(out, Rect{0, 0, w, s.image.Height()}, s.column);
        return out;
    };
    for (size_t a = 0; a < all.size(); ++a)
        for (size_t b = a + 1; b < all.size(); ++b) {
            const Shown& x = all[a];
            const Shown& y = all[b];
            if (x.image.Height() != y.image.Height()) continue;
            const StyleRecipe& rx = items[x.item].recipe;
            const StyleRecipe& ry = items[y.item].recipe;
            if (rx.family == ry.family && rx.material == StyleMaterial::Segment) continue;
            const int32_t w = x.column >= 0 && y.column >= 0 ? std::max(x.startWidth, y.startWidth)
                              : x.column >= 0                ? y.image.Width()
                                                             : x.image.Width();
            if (w < x.image.Width() || w < y.image.Width() ||
                (x.column < 0 && y.column < 0 && x.image.Width() != y.image.Width()))
                continue;
            const std::vector<float> px = Premultiplied(atWidth(x, w));
            const std::vector<float> py = Premultiplied(atWidth(y, w));
            double sum = 0, inked = 0;
            for (size_t k = 0; k < px.size(); k += 4) {
                if (px[k] == 0 && py[k] == 0) continue;
                ++inked;
                for (size_t c = 0; c < 4; ++c) sum += std::fabs(px[k + c] - py[k + c]);
            }
            const double difference = sum / (4 * std::max(inked, 1.0));
            EXPECT_GE(difference, kMinDifference)
                << "styles " << x.item + 1 << " and " << y.item + 1;
        }
}

// Near-white colourways keep their gloss at the brightest setting: after the
// brightness slider's +205 the middle column of a glossy style still spans
// a range of values, not one clipped white.
TEST(StyleDesign, NearWhiteGlossSurvivesFullBrightness) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    int checked = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        const StyleRecipe& r = items[i].recipe;
        if (r.material != StyleMaterial::Gel && r.material != StyleMaterial::Glass &&
            r.material != StyleMaterial::Plastic)
            continue;
        if (std::string_view(ColourwayOf(r.colourway).name) != "Snow") continue;
        SCOPED_TRACE(i + 1);
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        ArgbImage image = style->image;
        image.ShiftHueBrightness(image.Extent(), 0, kMaxBrightness);
        const int32_t x = image.Width() / 2;
        int lo = 255, hi = 0;
        for (int32_t y = r.margin + 2; y < image.Height() - r.margin - 2; ++y) {
            const uint32_t p = image.At(x, y);
            if (PixelAlpha(p) < 128) continue;
            const int v = std::max({PixelRed(p), PixelGreen(p), PixelBlue(p)});
            lo = std::min(lo, v), hi = std::max(hi, v);
        }
        EXPECT_GE(hi - lo, kMinGlossRange);
        ++checked;
    }
    EXPECT_GT(checked, 0);
}
