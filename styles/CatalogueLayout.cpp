#include <algorithm>
#include <vector>

#include "styles/Catalogue.h"

namespace tabora {

namespace {

// Three of today's buttons side by side fill the 196-pixel strip (4 + 56 + 8
// + 56 + 8 + 56 + 4), two of the wider ones (4 + 90 + 8 + 90 + 4). Wider or
// taller pictures are shown as thumbnails within these limits, and the
// thumbnail's rectangle is what a click hits. Today's heights up to 48 are
// shown as they are.
constexpr int32_t kMarginX = 4;
constexpr int32_t kThumbMaxWidth = 90;
constexpr int32_t kThumbMaxHeight = 48;
constexpr int32_t kMinGapX = 8;
// Room under each row for the picture's drop shadow and a little air.
constexpr int32_t kRowGap = 6;
// A heading band; its text is drawn by the generator and a click on it
// chooses nothing.
constexpr int32_t kHeadingHeight = 24;
constexpr int32_t kAfterHeading = 4;
constexpr int32_t kAfterSection = 12;

// Default widths of a button, for a typical caption ("Click Me!" in 12-point
// bold is about 75 pixels) with the padding its height calls for: buttons of
// today's heights are about three heights wide, smaller ones 112 pixels.
// (Chips set their own, ChipStretchOf.)
constexpr int32_t kDefaultWidthClassic = 112;
constexpr int32_t kTodayHeight = 36;

struct Size {
    int32_t w = 0;
    int32_t h = 0;
    bool operator==(const Size&) const = default;
};

Size ThumbnailOf(const StyleRecipe& r) {
    const int32_t w = r.width, h = r.height;
    if (w <= kThumbMaxWidth && h <= kThumbMaxHeight) return {w, h};
    // Whichever limit binds harder decides the scale; integer rounding keeps
    // the layout free of floating point.
    if (int64_t(w) * kThumbMaxHeight >= int64_t(h) * kThumbMaxWidth)
        return {kThumbMaxWidth, std::max(1, (h * kThumbMaxWidth + w / 2) / w)};
    return {std::max(1, (w * kThumbMaxHeight + h / 2) / h), kThumbMaxHeight};
}

bool SameFamily(const StyleRecipe& a, const StyleRecipe& b) { return a.family == b.family; }

// Lays out a run of same-sized pictures as a grid of balanced rows under
// y; returns the y below the last row.
int32_t LayoutRun(std::span<const size_t> run, Size size, int32_t y, std::span<Rect> rects) {
    const int32_t usable = Archive::kStripWidth - 2 * kMarginX;
    const int32_t maxPerRow = std::max(1, (usable + kMinGapX) / (size.w + kMinGapX));
    const int32_t n = int32_t(run.size());
    const int32_t rows = (n + maxPerRow - 1) / maxPerRow;
    const int32_t perRow = (n + rows - 1) / rows;
    const int32_t cell = usable / perRow;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t row = i / perRow, col = i % perRow;
        const int32_t left = kMarginX + cell * col + (cell - size.w) / 2;
        const int32_t top = y + row * (size.h + kRowGap);
        rects[run[size_t(i)]] = {left, top, left + size.w, top + size.h};
    }
    return y + rows * (size.h + kRowGap);
}

}  // namespace

int16_t StretchColumnOf(const StyleRecipe& r) {
    if (r.shape == StyleShape::Circle) return -1;
    if (r.material == StyleMaterial::Texture && StyleTexture(r.variant) < StyleTexture::Wood)
        return -1;
    const int32_t bodyW = r.width - 2 * r.margin;
    const int32_t bodyH = r.height - 2 * r.margin;
    const int32_t head = bodyH / 2;  // arrow point length
    if (r.icon != StyleIcon::None)  // the middle of the label, right of the glyph well
        return int16_t(r.margin + bodyH + (bodyW - bodyH) / 2);
    switch (r.shape) {
        case StyleShape::ArrowRight:
            return int16_t(r.margin + (bodyW - head) / 2);
        case StyleShape::ArrowLeft:
            return int16_t(r.width - 1 - (r.margin + (bodyW - head) / 2));
        default:
            return int16_t(r.width / 2);
    }
}

int16_t DefaultStretchOf(const StyleRecipe& r) {
    if (StretchColumnOf(r) < 0) return 0;
    const int32_t bodyH = r.height - 2 * r.margin;
    int32_t target = bodyH >= kTodayHeight ? 3 * bodyH + 4 : kDefaultWidthClassic;
    if (r.icon != StyleIcon::None) target += bodyH;  // the glyph well
    target += 2 * r.margin;
    return int16_t(std::clamp(target - r.width, 0, Archive::kMaxStyleWidth - r.width));
}

int16_t ChipStretchOf(const StyleRecipe& r) {
    const int32_t target = 3 * (r.height - 2 * r.margin) + 2 * r.margin;
    return int16_t(std::clamp(target - r.width, 0, Archive::kMaxStyleWidth - r.width));
}

void LayoutCatalogue(std::span<const CataloguePlanItem> plan, std::span<Rect> rects) {
    int32_t y = 0;
    size_t i = 0;
    // Pinned pictures first; the flow continues below them.
    for (; i < plan.size() && !plan[i].pinned.IsEmpty(); ++i) {
        rects[i] = plan[i].pinned;
        y = std::max(y, plan[i].pinned.bottom + kRowGap);
    }
    std::vector<size_t> run;
    Size runSize;
    auto flush = [&] {
        if (!run.empty()) y = LayoutRun(run, runSize, y, rects);
        run.clear();
    };
    bool first = true;
    for (; i < plan.size(); ++i) {
        if (!plan[i].heading.empty()) {
            flush();
            if (!first) y += kAfterSection;
            first = false;
            rects[i] = {0, y, Archive::kStripWidth, y + kHeadingHeight};
            y += kHeadingHeight + kAfterHeading;
            continue;
        }
        // A new family starts a new row, even at the same size.
        Size size = ThumbnailOf(plan[i].recipe);
        const bool sameRun =
            !run.empty() && size == runSize && SameFamily(plan[run.back()].recipe, plan[i].recipe);
        if (!sameRun) flush();
        runSize = size;
        run.push_back(i);
    }
    flush();
}

namespace {

std::vector<CatalogueItem> BuildItems() {
    auto plan = CataloguePlan();
    std::vector<Rect> rects(plan.size());
    LayoutCatalogue(plan, rects);
    // A plan of the wrong length is caught by the tests; the table keeps its
    // fixed size either way.
    std::vector<CatalogueItem> out(Archive::kEntryCount);
    for (size_t i = 0; i < out.size() && i < plan.size(); ++i) {
        CatalogueItem& item = out[i];
        const Rect& r = rects[i];
        item.entry = {r.top, r.left, r.bottom, r.right, 0, 0, -1};
        item.heading = plan[i].heading;
        if (plan[i].heading.empty()) {
            item.recipe = plan[i].recipe;
            // Style n lives in resource 8000 + 127 + n, as style 1 always has
            // in 8128.
            item.entry.resourceNumber = int16_t(127 + i + 1);
            item.entry.defaultStretch = item.recipe.defaultStretch;
            item.entry.stretchColumn = item.recipe.stretchColumn;
            item.caption = CaptionPlaceOf(item.recipe);
        }
    }
    return out;
}

}  // namespace

std::span<const CatalogueItem> CatalogueItems() {
    static const std::vector<CatalogueItem> items = BuildItems();
    return items;
}

std::span<const ArchiveEntry> CatalogueTable() {
    static const std::vector<ArchiveEntry> table = [] {
        std::vector<ArchiveEntry> entries;
        for (const CatalogueItem& item : CatalogueItems()) entries.push_back(item.entry);
        return entries;
    }();
    return table;
}

}  // namespace tabora
