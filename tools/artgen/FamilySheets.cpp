#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "render/TaboraButton.h"
#include "tools/artgen/StripArt.h"

// One sheet for each family of today's buttons, captioned as the renderer
// captions them, in the colour the catalogue records for each style: every
// style of the family at 40 pixels (all of them for the chips), plain and
// antialiased side by side.
namespace tabora::art::style {

namespace {

constexpr int32_t kSheetWidth = 700;
constexpr int32_t kSide = 12;
constexpr int32_t kTitle = 30;
constexpr int32_t kRoom = 6;  // page round each button
constexpr int32_t kGapX = 16, kGapY = 4;
constexpr int32_t kSheetHeight = 40;  // the height the sheets show, but chips
constexpr uint32_t kLightPage = 0xFFFFFF, kDarkPage = 0x141518;

struct Family {
    std::string_view heading;
    const char* caption;  // segmented pieces take theirs from kSegments
};
// Today's sections and a caption each would typically carry.
constexpr Family kFamilies[] = {
    {"Flat", "Get started"},        {"Outline and ghost", "Learn more"},
    {"Tonal", "Add to cart"},       {"Elevated", "Continue"},
    {"Two-hue gradient", "Sign up"}, {"Neutral", "Cancel"},
    {"Icon and label", "Play"},     {"Segmented", nullptr},
    {"Chips", "Design"},            {"For dark pages", "Log in"},
};
constexpr const char* kSegments[] = {"Day", "Week", "Month"};

// A label that goes with a glyph.
const char* LabelOf(StyleIcon icon, const char* otherwise) {
    switch (icon) {
        case StyleIcon::Play: return "Play";
        case StyleIcon::Plus: return "Add";
        case StyleIcon::Check: return "Done";
        case StyleIcon::Next: return "Next";
        case StyleIcon::Down: return "Download";
        case StyleIcon::Search: return "Search";
        case StyleIcon::Heart: return "Like";
        case StyleIcon::Star: return "Star";
        default: return otherwise;
    }
}

uint32_t Opaque(uint32_t rgb) {
    return MakePixel(255, uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb));
}

// The style just drawn, not yet in any catalogue, under every number.
class FreshStyle : public StyleSource {
public:
    explicit FreshStyle(const ButtonStyle& style) : style_(style) {}
    std::unique_ptr<ButtonStyle> Load(int32_t) const override {
        return std::make_unique<ButtonStyle>(style_);
    }

private:
    const ButtonStyle& style_;
};

int32_t BodyHeight(const StyleRecipe& r) { return r.height - 2 * r.margin; }

// The button of item i at its starting width, captioned, over `page`; the
// part of the canvas round its body (`room` pixels of page on every side).
ArgbImage Captioned(const CatalogueItem& item, const ArgbImage& picture, const char* caption,
                    bool antialias, uint32_t page, int32_t room) {
    ButtonStyle style;
    style.image = picture;
    style.defaultStretch = item.entry.defaultStretch;
    style.stretchColumn = item.entry.stretchColumn;
    style.captionArea = item.caption.area;
    const FreshStyle source(style);
    TaboraButton button(source);
    button.SetStyleNumber(1);
    button.SetButtonSize(button.DefaultButtonSize());
    button.SetShadow(false);
    button.SetTextShadow(false);
    button.SetAntialias(antialias);
    button.SetFontName("DejaVu Sans");
    button.SetFontSize(item.recipe.height <= 32 ? 9 : 10);
    button.SetFontStyle(0x20);  // bold
    button.SetCaption(caption);
    button.SetTextColor(item.caption.colour);
    ArgbImage canvas(kCanvasWidth, kCanvasHeight);
    for (int32_t y = 0; y < canvas.Height(); ++y)
        for (int32_t x = 0; x < canvas.Width(); ++x) canvas.At(x, y) = Opaque(page);
    button.ComposeLayers(canvas);
    const Rect body = button.bodyRect();
    const Rect placed = body.Offset((kCanvasWidth - body.Width()) / 2,
                                    (kCanvasHeight - body.Height()) / 2);
    const Rect crop = placed.Inflate(room, room).Intersect(canvas.Extent());
    ArgbImage out(crop.Width(), crop.Height());
    for (int32_t y = 0; y < crop.Height(); ++y)
        for (int32_t x = 0; x < crop.Width(); ++x)
            out.At(x, y) = canvas.At(crop.left + x, crop.top + y);
    return out;
}

void Paste(ArgbImage& sheet, const ArgbImage& part, int32_t x, int32_t y) {
    for (int32_t j = 0; j < part.Height(); ++j)
        for (int32_t i = 0; i < part.Width(); ++i)
            if (x + i < sheet.Width() && y + j < sheet.Height()) sheet.At(x + i, y + j) = part.At(i, j);
}

// One entry of a sheet: a style, or the three pieces of a segmented control
// joined, in both caption modes.
struct Entry {
    ArgbImage plain, smooth;
};

Entry Draw(std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles, size_t i,
           size_t count, const char* caption, uint32_t page) {
    Entry e;
    for (int mode = 0; mode < 2; ++mode) {
        std::vector<ArgbImage> parts;
        int32_t w = 0, h = 0;
        for (size_t k = 0; k < count; ++k) {
            // Joined pieces meet edge to edge; page shows only round the whole.
            parts.push_back(Captioned(items[i + k], styles[i + k],
                                      count > 1 ? kSegments[k % 3] : caption, mode == 1, page,
                                      count > 1 ? 0 : kRoom));
            w += parts.back().Width();
            h = std::max(h, parts.back().Height());
        }
        const int32_t room = count > 1 ? kRoom : 0;
        ArgbImage joined(w + 2 * room, h + 2 * room);
        for (int32_t y = 0; y < joined.Height(); ++y)
            for (int32_t x = 0; x < joined.Width(); ++x) joined.At(x, y) = Opaque(page);
        int32_t x = room;
        for (const ArgbImage& p : parts) {
            Paste(joined, p, x, room);
            x += p.Width();
        }
        (mode == 0 ? e.plain : e.smooth) = std::move(joined);
    }
    return e;
}

}  // namespace

std::vector<std::pair<std::string, ArgbImage>> DrawFamilySheets(
    std::span<const CatalogueItem> items, const std::vector<ArgbImage>& styles) {
    std::vector<std::pair<std::string, ArgbImage>> sheets;
    auto titleFont = HeadingFont(12);
    for (const Family& family : kFamilies) {
        // The section's styles, from its heading to the next.
        size_t first = 0;
        while (first < items.size() && items[first].heading != family.heading) ++first;
        std::vector<Entry> entries;
        bool dark = false;
        for (size_t i = first + 1; i < items.size() && !items[i].IsHeading(); ++i) {
            const StyleRecipe& r = items[i].recipe;
            const bool chips = family.heading == "Chips";
            if (!chips && BodyHeight(r) != kSheetHeight) continue;
            dark = dark || items[i].caption.darkPage;
            size_t count = 1;
            if (r.shape == StyleShape::SegmentLeft) count = 3;
            entries.push_back(Draw(items, styles, i, count, LabelOf(r.icon, family.caption),
                                   items[i].caption.darkPage ? kDarkPage : kLightPage));
            i += count - 1;
        }
        // Rows of entries, plain beside antialiased, as many as fit.
        const uint32_t page = dark ? kDarkPage : kLightPage;
        int32_t width = kSheetWidth;
        for (const Entry& e : entries)
            width = std::max(width, e.plain.Width() + e.smooth.Width() + kGapX + 2 * kSide);
        std::vector<std::pair<int32_t, int32_t>> at;
        int32_t x = kSide, y = kTitle, rowHeight = 0;
        for (const Entry& e : entries) {
            const int32_t w = e.plain.Width() + e.smooth.Width() + kGapX;
            if (x > kSide && x + w > width - kSide) {
                x = kSide;
                y += rowHeight + kGapY;
                rowHeight = 0;
            }
            at.push_back({x, y});
            x += w;
            rowHeight = std::max(rowHeight, e.plain.Height());
        }
        ArgbImage sheet(width, y + rowHeight + kGapY + kSide);
        for (int32_t j = 0; j < sheet.Height(); ++j)
            for (int32_t i = 0; i < sheet.Width(); ++i) sheet.At(i, j) = Opaque(page);
        const std::string title = std::string(family.heading) + ": plain and antialiased captions";
        DrawLabel(sheet, *titleFont, title, kSide, 8, dark ? 0xC8CDD4 : 0x4A515B);
        for (size_t k = 0; k < entries.size(); ++k) {
            Paste(sheet, entries[k].plain, at[k].first, at[k].second);
            Paste(sheet, entries[k].smooth, at[k].first + entries[k].plain.Width(), at[k].second);
        }
        std::string name(family.heading);
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return c == ' ' ? '-' : char(std::tolower(c)); });
        sheets.push_back({"family-" + name + ".png", std::move(sheet)});
    }
    return sheets;
}

}  // namespace tabora::art::style
