#include <algorithm>
#include <cstdio>
#include <string>

#include "tools/artgen/StripArt.h"

// A contact sheet of the whole catalogue on the three pages a button must
// suit: each style, at the width it starts at, over a cell that is white at
// its left third, mid grey in the middle and near-black at its right, so one
// picture shows its ends, edges, shadows and clear parts on all three.
namespace tabora::art::style {

namespace {

constexpr int32_t kSheetWidth = 1040;
constexpr int32_t kSide = 8;      // the sheet's left and right margin
constexpr int32_t kPadX = 10;     // a cell's page left and right of its button
constexpr int32_t kLabel = 12;    // the number above each button
constexpr int32_t kPadY = 6;      // a cell's page below its button
constexpr int32_t kHeading = 24;  // a section heading's band
constexpr int32_t kLabelEm = 9, kHeadingEm = 12;
constexpr uint32_t kPages[3] = {0xFFFFFF, 0x808080, 0x121212};
constexpr uint32_t kInk = 0x4A515B;

struct Cell {
    size_t item;  // a style, or a heading
    int32_t x, y, w, h;
    size_t count = 1;  // the pieces of a segmented control share one cell
};

uint32_t Opaque(uint32_t rgb) {
    return MakePixel(255, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

// The width a style is shown at: the width it starts at, or its picture's.
int32_t ShownWidth(const CatalogueItem& item, bool widened) {
    return item.recipe.width +
           (widened && item.entry.stretchColumn >= 0 ? item.entry.defaultStretch : 0);
}

// How many styles from item i on join into one control: the three pieces of
// a segmented control, shown side by side as they are used.
size_t Joined(std::span<const CatalogueItem> items, size_t i) {
    if (items[i].recipe.shape != StyleShape::SegmentLeft) return 1;
    size_t n = 1;
    while (i + n < items.size() && !items[i + n].IsHeading() &&
           items[i + n].recipe.family == items[i].recipe.family)
        ++n;
    return n;
}

// Rows of cells under each heading; a row is as tall as its tallest button.
int32_t Lay(std::span<const CatalogueItem> items, const PagesSheetOptions& options,
            std::vector<Cell>& cells) {
    const bool widened = options.widened;
    int32_t y = 0, x = kSide;
    size_t rowStart = 0;
    auto endRow = [&] {
        int32_t h = 0;
        for (size_t k = rowStart; k < cells.size(); ++k) h = std::max(h, cells[k].h);
        for (size_t k = rowStart; k < cells.size(); ++k) cells[k].h = h;
        y += h;
        x = kSide;
        rowStart = cells.size();
    };
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) {
            endRow();
            cells.push_back({i, 0, y, kSheetWidth, kHeading});
            endRow();
            continue;
        }
        if (options.onePerFamily && i > 0 && !items[i - 1].IsHeading() &&
            items[i - 1].recipe.family == items[i].recipe.family)
            continue;
        const size_t n = Joined(items, i);
        int32_t w = 2 * kPadX;
        for (size_t k = 0; k < n; ++k) w += ShownWidth(items[i + k], widened);
        if (x > kSide && x + w > kSheetWidth - kSide) endRow();
        cells.push_back({i, x, y, w, kLabel + items[i].recipe.height + kPadY, n});
        x += w;
        i += n - 1;
    }
    endRow();
    return y;
}

void FillRect(ArgbImage& dest, Rect r, uint32_t rgb) {
    r = r.Intersect(dest.Extent());
    for (int32_t y = r.top; y < r.bottom; ++y)
        for (int32_t x = r.left; x < r.right; ++x) dest.At(x, y) = Opaque(rgb);
}

}  // namespace

ArgbImage DrawPagesSheet(std::span<const CatalogueItem> items,
                         const std::vector<ArgbImage>& styles, int scale,
                         const PagesSheetOptions& options) {
    const bool widened = options.widened;
    std::vector<Cell> cells;
    const int32_t height = Lay(items, options, cells);
    ArgbImage sheet(kSheetWidth * scale, height * scale);
    FillRect(sheet, sheet.Extent(), kPages[0]);
    auto labelFont = HeadingFont(kLabelEm * scale);
    auto headingFont = HeadingFont(kHeadingEm * scale);
    for (const Cell& c : cells) {
        const CatalogueItem& item = items[c.item];
        if (item.IsHeading()) {
            DrawLabel(sheet, *headingFont, std::string(item.heading), kSide * scale,
                      (c.y + 7) * scale, kInk);
            continue;
        }
        // The three pages, split on whole CSS pixels.
        for (int k = 0; k < 3; ++k)
            FillRect(sheet,
                     Rect{(c.x + c.w * k / 3) * scale, c.y * scale,
                          (c.x + c.w * (k + 1) / 3) * scale, (c.y + c.h) * scale},
                     kPages[k]);
        char label[24];
        if (c.count > 1)
            std::snprintf(label, sizeof label, "%zu-%zu", c.item + 1, c.item + c.count);
        else
            std::snprintf(label, sizeof label, "%zu", c.item + 1);
        DrawLabel(sheet, *labelFont, label, (c.x + kPadX) * scale, (c.y + 1) * scale, kInk);
        int32_t bx = c.x + kPadX;
        for (size_t k = c.item; k < c.item + c.count; ++k) {
            const CatalogueItem& piece = items[k];
            const ArgbImage& s = styles[k];
            const ArgbImage shown =
                piece.entry.stretchColumn < 0 || !widened
                    ? s
                    : Widen(s, piece.entry.stretchColumn, piece.entry.defaultStretch, scale);
            CompositeOnto(sheet, bx * scale, (c.y + kLabel) * scale, FloatImage::FromArgb(shown));
            bx += ShownWidth(piece, widened);
        }
    }
    return sheet;
}

}  // namespace tabora::art::style
