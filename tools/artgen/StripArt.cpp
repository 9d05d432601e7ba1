#include "tools/artgen/StripArt.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/Fonts.h"

namespace tabora::art::style {

namespace {

constexpr uint32_t kBackdropLight = 0xF1F2F5;
constexpr uint32_t kBackdropDark = 0xE4E7EB;
constexpr uint32_t kHeadingInk = 0x5A616B;
constexpr uint32_t kHeadingRule = 0xCDD1D7;
constexpr int32_t kChecker = 8;
constexpr int32_t kHeadingTextLeft = 8;

uint32_t Opaque(uint32_t rgb) {
    return MakePixel(255, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

// Tints `ink` into dest through an 8-bit coverage buffer placed at (x, y).
void DrawCoverageInk(ArgbImage& dest, int32_t x, int32_t y, const std::vector<uint8_t>& cov,
                     int32_t w, int32_t h, uint32_t ink) {
    for (int32_t j = 0; j < h; ++j) {
        for (int32_t i = 0; i < w; ++i) {
            const float a = float(cov[size_t(j) * size_t(w) + size_t(i)]) / 255.0f;
            if (a <= 0 || x + i < 0 || y + j < 0 || x + i >= dest.Width() || y + j >= dest.Height())
                continue;
            uint32_t& d = dest.At(x + i, y + j);
            auto mix = [&](uint8_t under, uint32_t over) {
                return uint8_t(std::lround(float(under) + (float(over) - float(under)) * a));
            };
            d = MakePixel(255, mix(PixelRed(d), (ink >> 16) & 0xFF),
                          mix(PixelGreen(d), (ink >> 8) & 0xFF), mix(PixelBlue(d), ink & 0xFF));
        }
    }
}

}  // namespace

// One line of text, left-aligned at x with its cell's top at y.
int32_t DrawLabel(ArgbImage& dest, Font& font, const std::string& text, int32_t x, int32_t y,
                  uint32_t ink) {
    const TextExtent ext = font.Extent(text);
    const int32_t w = ext.cx + 2, h = ext.cy;
    std::vector<uint8_t> cov(size_t(w) * size_t(h), 0);
    font.DrawCoverage(text, {0, 0, w, h}, {cov.data(), w, h, w}, true);
    DrawCoverageInk(dest, x, y, cov, w, h, ink);
    return ext.cx;
}

namespace {

// `band` in CSS pixels, the font and `dest` at `scale`.
void DrawHeading(ArgbImage& dest, Font& font, std::string_view heading, Rect band, int scale) {
    const std::string text(heading);
    const int32_t h = font.Extent(text).cy;
    const int32_t top = band.top * scale + (band.Height() * scale - h) / 2 + scale;
    const int32_t width = DrawLabel(dest, font, text, kHeadingTextLeft * scale, top, kHeadingInk);
    // A hairline from the text to the strip's right margin, on a whole CSS row.
    const int32_t ruleY = band.top + band.Height() / 2 + 1;
    for (int32_t y = ruleY * scale; y < (ruleY + 1) * scale; ++y)
        for (int32_t x = (kHeadingTextLeft + 7) * scale + width;
             x < (band.right - kHeadingTextLeft) * scale; ++x)
            dest.At(x, y) = Opaque(kHeadingRule);
}

FloatImage Thumbnail(const ArgbImage& style, Rect rect) {
    FloatImage full = FloatImage::FromArgb(style);
    if (rect.Width() == style.Width() && rect.Height() == style.Height()) return full;
    return full.Reduced(rect.Width(), rect.Height());
}

}  // namespace

std::unique_ptr<Font> HeadingFont(int32_t em) {
    FontRecord record;
    record.height = -em;
    record.weight = 700;
    record.faceName = "DejaVu Sans";
    return Font::Create(record);
}

void FillChecker(ArgbImage& dest, Rect rect, int32_t cell) {
    rect = rect.Intersect(dest.Extent());
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const bool dark = ((x / cell) + (y / cell)) % 2 != 0;
            dest.At(x, y) = Opaque(dark ? kBackdropDark : kBackdropLight);
        }
}

ArgbImage Widen(const ArgbImage& style, int32_t column, int32_t extra, int scale) {
    const int32_t c = column * scale, repeated = (extra + 1) * scale;
    ArgbImage widened(style.Width() + extra * scale, style.Height());
    for (int32_t y = 0; y < style.Height(); ++y)
        for (int32_t x = 0; x < widened.Width(); ++x) {
            const int32_t from = x < c              ? x
                                 : x < c + repeated ? c + (x - c) % scale
                                                    : x - extra * scale;
            widened.At(x, y) = style.At(from, y);
        }
    return widened;
}

void CompositeOnto(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& src) {
    for (int32_t j = 0; j < src.Height(); ++j) {
        for (int32_t i = 0; i < src.Width(); ++i) {
            const int32_t dx = x + i, dy = y + j;
            if (dx < 0 || dy < 0 || dx >= dest.Width() || dy >= dest.Height()) continue;
            const float* s = src.At(i, j);
            if (s[3] <= 0) continue;
            uint32_t& d = dest.At(dx, dy);
            auto ch = [&](float over, uint8_t under) {
                const float v = over + float(under) / 255.0f * (1 - s[3]);
                return uint8_t(std::lround(Clamp01(v) * 255.0f));
            };
            d = MakePixel(255, ch(s[0], PixelRed(d)), ch(s[1], PixelGreen(d)),
                          ch(s[2], PixelBlue(d)));
        }
    }
}

void DrawDropShadow(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& body, int scale) {
    const int32_t w = body.Width(), h = body.Height();
    // The box spans 5 CSS pixels: taps -reach..reach, and at even scales the
    // two end taps count half so that the box stays centred.
    const int32_t box = 5 * scale, reach = box / 2;
    const float end = box % 2 ? 1.0f : 0.5f;
    const int32_t dx = scale, dy = 2 * scale;
    // The box along one direction around `at` of a silhouette `count` long
    // that starts `shift` further on; `alpha(n)` is its n-th alpha.
    auto boxSum = [&](int32_t at, int32_t shift, int32_t count, auto alpha) {
        float sum = 0;
        for (int32_t t = -reach; t <= reach; ++t) {
            const int32_t from = at - reach - shift + t;
            if (from >= 0 && from < count)
                sum += alpha(from) * (t == -reach || t == reach ? end : 1.0f);
        }
        return sum;
    };
    // Shadow pixel (i, j) sits at dest (x - reach + i, y - reach + j) and
    // takes the body's silhouette moved by (dx, dy). Rows first, then columns.
    const int32_t sw = w + 2 * reach + dy, sh = h + 2 * reach + dy;
    FloatImage rows(sw, h);
    for (int32_t j = 0; j < h; ++j)
        for (int32_t i = 0; i < sw; ++i)
            rows.At(i, j)[3] = boxSum(i, dx, w, [&](int32_t n) { return body.At(n, j)[3]; });
    FloatImage shadow(sw, sh);
    for (int32_t j = 0; j < sh; ++j)
        for (int32_t i = 0; i < sw; ++i)
            shadow.At(i, j)[3] = boxSum(j, dy, h, [&](int32_t n) { return rows.At(i, n)[3]; }) /
                                 float(box * box) * 0.4f;
    CompositeOnto(dest, x - reach, y - reach, shadow);
}

ArgbImage DrawArchiveStrip(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles, int scale) {
    ArgbImage strip(Archive::kStripWidth * scale, Archive::kStripHeight * scale);
    FillChecker(strip, strip.Extent(), kChecker * scale);
    auto font = HeadingFont(11 * scale);
    for (size_t i = 0; i < items.size(); ++i) {
        const Rect rect = items[i].StripRect();
        if (items[i].IsHeading()) {
            if (!items[i].heading.empty()) DrawHeading(strip, *font, items[i].heading, rect, scale);
            continue;
        }
        const Rect place{rect.left * scale, rect.top * scale, rect.right * scale,
                         rect.bottom * scale};
        const FloatImage thumb = Thumbnail(styles[i], place);
        DrawDropShadow(strip, place.left, place.top, thumb, scale);
        CompositeOnto(strip, place.left, place.top, thumb);
    }
    return strip;
}

ArgbImage DrawStretchSheet(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles) {
    constexpr int32_t kCellW = 176, kCellH = 74, kColumns = 5;
    std::vector<size_t> wide;
    for (size_t i = 0; i < items.size(); ++i)
        if (!items[i].IsHeading() && items[i].entry.stretchColumn >= 0) wide.push_back(i);
    const int32_t rows = int32_t((wide.size() + kColumns - 1) / kColumns);
    ArgbImage sheet(kCellW * kColumns, kCellH * rows);
    FillChecker(sheet, sheet.Extent(), kChecker);
    for (size_t k = 0; k < wide.size(); ++k) {
        const ArgbImage& s = styles[wide[k]];
        const ArgbImage widened =
            Widen(s, items[wide[k]].entry.stretchColumn, Archive::kMaxStyleWidth - s.Width(), 1);
        const FloatImage body = FloatImage::FromArgb(widened);
        const int32_t x = int32_t(k % kColumns) * kCellW + (kCellW - widened.Width()) / 2;
        const int32_t y = int32_t(k / kColumns) * kCellH + (kCellH - s.Height()) / 2;
        DrawDropShadow(sheet, x, y, body, 1);
        CompositeOnto(sheet, x, y, body);
    }
    return sheet;
}

ArgbImage DrawBackgroundSheet(std::span<const CatalogueItem> items,
                              const std::vector<ArgbImage>& styles) {
    constexpr int32_t kCellW = 176, kCellH = 74;
    constexpr uint32_t kBackgrounds[] = {0xFFFFFF, 0x808080, 0x000000};
    // The first two styles of each family.
    std::vector<std::pair<size_t, size_t>> rows;
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        const StyleRecipe& r = items[i].recipe;
        const bool first =
            i == 0 || items[i - 1].IsHeading() || items[i - 1].recipe.shape != r.shape ||
            items[i - 1].recipe.material != r.material || items[i - 1].recipe.width != r.width;
        if (first) rows.push_back({i, items[i + 1].IsHeading() ? i : i + 1});
    }
    ArgbImage sheet(kCellW * 6, kCellH * int32_t(rows.size()));
    for (size_t row = 0; row < rows.size(); ++row) {
        for (int32_t k = 0; k < 6; ++k) {
            const int32_t x = k * kCellW, y = int32_t(row) * kCellH;
            const uint32_t bg = kBackgrounds[k % 3];
            for (int32_t j = 0; j < kCellH; ++j)
                for (int32_t i = 0; i < kCellW; ++i) sheet.At(x + i, y + j) = Opaque(bg);
            const ArgbImage& s = styles[k < 3 ? rows[row].first : rows[row].second];
            const FloatImage body = FloatImage::FromArgb(s);
            const int32_t bx = x + (kCellW - s.Width()) / 2, by = y + (kCellH - s.Height()) / 2;
            DrawDropShadow(sheet, bx, by, body, 1);
            CompositeOnto(sheet, bx, by, body);
        }
    }
    return sheet;
}

// The styles in runs of one shape, material, variant and size; one of each
// run, walking round the colourways so that neighbouring families differ.
std::vector<size_t> OnePerFamily(std::span<const CatalogueItem> items) {
    std::vector<std::vector<size_t>> families;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        const StyleRecipe& r = items[i].recipe;
        const bool first =
            families.empty() || items[i - 1].IsHeading() || items[i - 1].recipe.shape != r.shape ||
            items[i - 1].recipe.material != r.material ||
            items[i - 1].recipe.variant != r.variant || items[i - 1].recipe.width != r.width;
        if (first) families.emplace_back();
        families.back().push_back(i);
    }
    std::vector<size_t> picks;
    for (size_t k = 0; k < families.size(); ++k)
        picks.push_back(families[k][(k * 5 + 3) % families[k].size()]);
    return picks;
}

ArgbImage DrawShowcase(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles) {
    constexpr int32_t kCellW = 168, kCellH = 58, kColumns = 4;
    const std::vector<size_t> picks = OnePerFamily(items);
    const int32_t rows = int32_t((picks.size() + kColumns - 1) / kColumns);
    ArgbImage sheet(kCellW * kColumns, kCellH * rows);
    FillChecker(sheet, sheet.Extent(), kChecker);
    for (size_t k = 0; k < picks.size(); ++k) {
        const ArgbImage& s = styles[picks[k]];
        const int32_t x = int32_t(k % kColumns) * kCellW + (kCellW - s.Width()) / 2;
        const int32_t y = int32_t(k / kColumns) * kCellH + (kCellH - s.Height()) / 2;
        const FloatImage body = FloatImage::FromArgb(s);
        DrawDropShadow(sheet, x, y, body, 1);
        CompositeOnto(sheet, x, y, body);
    }
    return sheet;
}

ArgbImage DrawGallery(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles,
                      int scale) {
    constexpr int32_t kColumns = 2, kCellW = 176, kCellH = 64;
    // Six of today's families at 40 pixels, six classics, each in its own
    // colourway and at the width it starts at.
    struct Kind {
        StyleShape shape;
        StyleMaterial material;
        bool icon;
        uint8_t colourway;  // 1 Gold among metals, 5 Crimson, 6 Tangerine, 9 Emerald, 11 Sky, 13 Violet
        int16_t body;       // the body's height, or 0 for any
    };
    using S = StyleShape;
    using M = StyleMaterial;
    constexpr Kind kKinds[] = {
        {S::Pill, M::Flat, false, 11, 40},     {S::RoundRect, M::Outline, false, 13, 40},
        {S::RoundRect, M::Tonal, false, 9, 40}, {S::Pill, M::TwoHue, false, 13, 40},
        {S::RoundRect, M::Flat, true, 6, 40},   {S::Pill, M::DarkGlow, false, 11, 40},
        {S::Pill, M::Gel, false, 5, 0},         {S::Pill, M::Glass, false, 11, 0},
        {S::Keycap, M::Plastic, false, 9, 0},   {S::Pill, M::Chrome, false, 1, 0},
        {S::Pill, M::Neon, false, 13, 0},       {S::ArrowRight, M::Gel, false, 6, 0},
    };
    constexpr int32_t kCount = int32_t(std::size(kKinds));
    ArgbImage sheet(kCellW * kColumns * scale, kCellH * (kCount / kColumns) * scale);
    FillChecker(sheet, sheet.Extent(), kChecker * scale);
    for (int32_t k = 0; k < kCount; ++k) {
        const Kind& kind = kKinds[k];
        size_t pick = 0;
        for (size_t i = 0; i < items.size() && !pick; ++i) {
            const StyleRecipe& r = items[i].recipe;
            if (!items[i].IsHeading() && r.shape == kind.shape && r.material == kind.material &&
                (r.icon != StyleIcon::None) == kind.icon && r.colourway == kind.colourway &&
                (kind.body == 0 || r.height - 2 * r.margin == kind.body))
                pick = i;
        }
        const CatalogueItem& item = items[pick];
        const ArgbImage shown =
            item.entry.stretchColumn < 0
                ? styles[pick]
                : Widen(styles[pick], item.entry.stretchColumn, item.entry.defaultStretch, scale);
        const int32_t x = (k % kColumns) * kCellW * scale + (kCellW * scale - shown.Width()) / 2;
        const int32_t y = (k / kColumns) * kCellH * scale + (kCellH * scale - shown.Height()) / 2;
        const FloatImage body = FloatImage::FromArgb(shown);
        DrawDropShadow(sheet, x, y, body, scale);
        CompositeOnto(sheet, x, y, body);
    }
    return sheet;
}

ArgbImage DrawScalesSheet(std::span<const CatalogueItem> items,
                          std::array<const std::vector<ArgbImage>*, 3> scales) {
    constexpr int32_t kGap = 16;
    const std::vector<size_t> picks = OnePerFamily(items);
    // Columns: 1x, 2x, 3x, and 3x widened to the full width.
    const int32_t columnWidth[4] = {Archive::kMaxStyleWidth, 2 * Archive::kMaxStyleWidth,
                                    3 * Archive::kMaxStyleWidth, 3 * Archive::kMaxStyleWidth};
    int32_t width = kGap, height = kGap;
    for (int32_t w : columnWidth) width += w + kGap;
    for (size_t pick : picks) height += 3 * items[pick].recipe.height + kGap;
    ArgbImage sheet(width, height);
    FillChecker(sheet, sheet.Extent(), kChecker);
    int32_t y = kGap;
    for (size_t pick : picks) {
        const int32_t h = items[pick].recipe.height;
        int32_t x = kGap;
        for (int32_t column = 0; column < 4; ++column) {
            const int scale = std::min(column + 1, 3);
            ArgbImage picture = (*scales[size_t(scale - 1)])[pick];
            if (column == 3) {
                if (items[pick].entry.stretchColumn < 0) break;
                picture = Widen(picture, items[pick].entry.stretchColumn,
                                Archive::kMaxStyleWidth - items[pick].recipe.width, scale);
            }
            const FloatImage body = FloatImage::FromArgb(picture);
            const int32_t top = y + (3 - scale) * h / 2;
            DrawDropShadow(sheet, x, top, body, scale);
            CompositeOnto(sheet, x, top, body);
            x += columnWidth[column] + kGap;
        }
        y += 3 * h + kGap;
    }
    return sheet;
}

}  // namespace tabora::art::style
