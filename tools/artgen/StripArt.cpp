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

void DrawHeading(ArgbImage& dest, Font& font, std::string_view heading, Rect band) {
    const std::string text(heading);
    const int32_t h = font.Extent(text).cy;
    const int32_t top = band.top + (band.Height() - h) / 2 + 1;
    const int32_t width = DrawLabel(dest, font, text, kHeadingTextLeft, top, kHeadingInk);
    // A hairline from the text to the strip's right margin, on a whole row.
    const int32_t ruleY = band.top + band.Height() / 2 + 1;
    for (int32_t x = kHeadingTextLeft + width + 7; x < band.right - kHeadingTextLeft; ++x)
        dest.At(x, ruleY) = Opaque(kHeadingRule);
}

FloatImage Thumbnail(const ArgbImage& style, Rect rect) {
    FloatImage full = FloatImage::FromArgb(style);
    if (rect.Width() == style.Width() && rect.Height() == style.Height()) return full;
    return full.Reduced(rect.Width(), rect.Height());
}

std::unique_ptr<Font> HeadingFont(int32_t em) {
    FontRecord record;
    record.height = -em;
    record.weight = 700;
    record.faceName = "DejaVu Sans";
    return Font::Create(record);
}

}  // namespace

void FillChecker(ArgbImage& dest, Rect rect, int32_t cell) {
    rect = rect.Intersect(dest.Extent());
    for (int32_t y = rect.top; y < rect.bottom; ++y)
        for (int32_t x = rect.left; x < rect.right; ++x) {
            const bool dark = ((x / cell) + (y / cell)) % 2 != 0;
            dest.At(x, y) = Opaque(dark ? kBackdropDark : kBackdropLight);
        }
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

void DrawDropShadow(ArgbImage& dest, int32_t x, int32_t y, const FloatImage& body) {
    const int32_t w = body.Width(), h = body.Height();
    auto alpha = [&](int32_t i, int32_t j) {
        return i < 0 || j < 0 || i >= w || j >= h ? 0.0f : body.At(i, j)[3];
    };
    FloatImage shadow(w + 6, h + 6);
    for (int32_t j = 0; j < h + 6; ++j) {
        for (int32_t i = 0; i < w + 6; ++i) {
            // Shadow pixel (i, j) sits at dest (x - 2 + i, y - 2 + j) and
            // takes the body's silhouette moved by (+1, +2).
            float sum = 0;
            for (int32_t b = -2; b <= 2; ++b)
                for (int32_t a = -2; a <= 2; ++a) sum += alpha(i - 2 - 1 + a, j - 2 - 2 + b);
            shadow.At(i, j)[3] = sum / 25.0f * 0.4f;
        }
    }
    CompositeOnto(dest, x - 2, y - 2, shadow);
}

ArgbImage DrawArchiveStrip(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles) {
    ArgbImage strip(Archive::kStripWidth, Archive::kStripHeight);
    FillChecker(strip, strip.Extent(), kChecker);
    auto font = HeadingFont(11);
    for (size_t i = 0; i < items.size(); ++i) {
        const Rect rect = items[i].StripRect();
        if (items[i].IsHeading()) {
            if (!items[i].heading.empty()) DrawHeading(strip, *font, items[i].heading, rect);
            continue;
        }
        const FloatImage thumb = Thumbnail(styles[i], rect);
        DrawDropShadow(strip, rect.left, rect.top, thumb);
        CompositeOnto(strip, rect.left, rect.top, thumb);
    }
    return strip;
}

ArgbImage DrawContactSheet(std::span<const CatalogueItem> items,
                           const std::vector<ArgbImage>& styles) {
    constexpr int32_t kCellW = 176, kCellH = 84, kColumns = 6;
    int32_t rows = 0, col = kColumns;
    for (const auto& item : items) {
        if (item.IsHeading() || col == kColumns) ++rows, col = 0;
        if (!item.IsHeading()) ++col;
    }
    ArgbImage sheet(kCellW * kColumns, kCellH * rows);
    FillChecker(sheet, sheet.Extent(), kChecker);
    auto font = HeadingFont(9);
    int32_t row = -1;
    col = kColumns;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading() || col == kColumns) ++row, col = 0;
        if (items[i].IsHeading()) continue;
        const int32_t x = col * kCellW, y = row * kCellH;
        const ArgbImage& s = styles[i];
        const FloatImage body = FloatImage::FromArgb(s);
        const int32_t bx = x + (kCellW - s.Width()) / 2, by = y + 10 + (74 - s.Height()) / 2;
        DrawDropShadow(sheet, bx, by, body);
        CompositeOnto(sheet, bx, by, body);
        DrawLabel(sheet, *font, std::to_string(i + 1), x + 4, y + 1, kHeadingInk);
        ++col;
    }
    return sheet;
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
        const int32_t c = items[wide[k]].entry.stretchColumn;
        const int32_t d = Archive::kMaxStyleWidth - s.Width();
        ArgbImage widened(s.Width() + d, s.Height());
        for (int32_t y = 0; y < s.Height(); ++y)
            for (int32_t x = 0; x < widened.Width(); ++x) {
                const int32_t from = x < c ? x : x <= c + d ? c : x - d;
                widened.At(x, y) = s.At(from, y);
            }
        const FloatImage body = FloatImage::FromArgb(widened);
        const int32_t x = int32_t(k % kColumns) * kCellW + (kCellW - widened.Width()) / 2;
        const int32_t y = int32_t(k / kColumns) * kCellH + (kCellH - s.Height()) / 2;
        DrawDropShadow(sheet, x, y, body);
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
            DrawDropShadow(sheet, bx, by, body);
            CompositeOnto(sheet, bx, by, body);
        }
    }
    return sheet;
}

ArgbImage DrawShowcase(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles) {
    constexpr int32_t kCellW = 168, kCellH = 58, kColumns = 4;
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
    const int32_t rows = int32_t((families.size() + kColumns - 1) / kColumns);
    ArgbImage sheet(kCellW * kColumns, kCellH * rows);
    FillChecker(sheet, sheet.Extent(), kChecker);
    for (size_t k = 0; k < families.size(); ++k) {
        // Walk round the colourways so neighbouring families differ.
        const auto& family = families[k];
        const size_t pick = family[(k * 5 + 3) % family.size()];
        const ArgbImage& s = styles[pick];
        const int32_t x = int32_t(k % kColumns) * kCellW + (kCellW - s.Width()) / 2;
        const int32_t y = int32_t(k / kColumns) * kCellH + (kCellH - s.Height()) / 2;
        const FloatImage body = FloatImage::FromArgb(s);
        DrawDropShadow(sheet, x, y, body);
        CompositeOnto(sheet, x, y, body);
    }
    return sheet;
}

}  // namespace tabora::art::style
