#pragma once
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/Geometry.h"
#include "styles/Archive.h"

namespace tabora {

// The catalogue is written down once, as families of small recipes. The
// runtime table (strip rectangles, resource numbers, stretch values) and the
// art generator's drawings both derive from this one description, so the
// pictures in the strip, the hit test and the resources cannot disagree.

enum class StyleShape : uint8_t {
    RoundRect,  // rounded rectangle with `radius` corners (0: sharp)
    Pill,       // fully rounded ends
    Bevel,      // sharp rectangle with a raised frame
    Chamfer,    // rectangle with its corners cut off
    Circle,
    Tab,         // rounded top corners, square bottom
    SlantTab,    // trapezoid tab
    ArrowRight,  // square tail, pointed head
    ArrowLeft,
    Chevron,       // notched tail, pointed head
    Tag,           // pointed at both ends
    Ribbon,        // forked (swallow-tailed) ends
    FoldedRibbon,  // a band in front of two forked tails
    Keycap,        // rounded top face over a deeper base
    // Pieces of a segmented control that join side by side: rounded on the
    // outer side only.
    SegmentLeft,
    SegmentMiddle,
    SegmentRight,
};

enum class StyleMaterial : uint8_t {
    Flat,
    FlatBorder,  // flat with a one-pixel darker border
    Gradient,
    Gel,  // glossy gel with a highlight
    Glass,
    Chrome,
    Brushed,
    Emboss,
    Inset,
    Outline,  // ghost: border only (variant 1 adds a faint tint)
    Plastic,
    Neon,
    Texture,  // `variant` is a StyleTexture
    TwoTone,  // light upper half over a deeper lower half
    Dark,     // dark face with a coloured accent edge
    // The families of today's pages.
    Tonal,       // a soft tint of the colour, for a caption in its deep shade
    Elevated,    // a flat face lifted by a soft shadow all round, inside the margin
    TwoHue,      // a gradient from the colour to a second one (`variant`)
    Neutral,     // light or dark grey with a hairline edge: the secondary button
    Segment,     // a piece of a segmented control; `variant` 1 is the chosen one
    DarkTonal,   // a deep tint of the colour, for dark pages
    DarkGlow,    // a dark face ringed in the colour with a faint glow, for dark pages
};

enum class StyleTexture : uint8_t {
    Leather,
    Denim,
    Carbon,
    Stone,
    // Textures whose middle does not change along a row, so they can be
    // widened: long straight grain and stripes.
    Wood,
    Pinstripe,
};

enum class StyleIcon : uint8_t {
    None,
    Play,
    Pause,
    Stop,
    Plus,
    Minus,
    Check,
    Close,
    Next,
    Back,
    Up,
    Down,
    Heart,
    Star,
    Search,
    Menu,
    Power,
};

// Colourways are numbered: the sixteen colours, then the greys of the
// neutral buttons. Metals use the first kMetalCount numbers as tints of their
// own. Both tables live with the catalogue, which derives each style's
// caption colour from them; the generator draws with the same values.
constexpr uint8_t kColourwayCount = 22;
constexpr uint8_t kMetalCount = 8;
struct NamedColour {
    uint32_t rgb;  // 0xRRGGBB
    const char* name;
};
struct NamedMetal {
    uint32_t dark, mid, light;  // 0xRRGGBB: its shadow, body and shine
    const char* name;
};
const NamedColour& ColourwayOf(uint8_t index);
const NamedMetal& MetalOf(uint8_t index);

struct StyleRecipe {
    StyleShape shape = StyleShape::RoundRect;
    StyleMaterial material = StyleMaterial::Flat;
    uint8_t colourway = 0;
    // Texture for Texture, weight for Outline, second colourway for TwoHue,
    // chosen (1) or not for Segment.
    uint8_t variant = 0;
    StyleIcon icon = StyleIcon::None;
    int16_t width = 0;  // image size
    int16_t height = 0;
    int16_t radius = 0;  // corner radius where the shape has corners
    int16_t margin = 0;  // transparent room around the body (glows)
    int16_t defaultStretch = 0;
    int16_t stretchColumn = -1;
    // Styles of one family differ only in colourway (or glyph): numbered in
    // strip order, the two opening styles each a family of their own.
    uint16_t family = 0;
};

// Where a caption sits on a style: the part of the picture it belongs in
// (clear of rounded ends, points, notches, an icon's glyph well and a
// keycap's lip; the caption is centred on it), and the colour that reads best
// there: light or dark, or a deep or pale shade of the style's own colour on
// tonal and outline styles. `darkPage`: the style is drawn for dark pages,
// and a caption on its clear parts stands on dark.
struct CaptionPlace {
    Rect area;  // in the style picture's pixels
    Color colour = MakeColor(255, 255, 255);
    bool darkPage = false;
};
CaptionPlace CaptionPlaceOf(const StyleRecipe& recipe);

// How far the point, notch or slant of a chevron, tag, ribbon or slanted tab
// reaches into its body, for a body `height` pixels tall; the drawing and the
// caption place both take it from here.
int32_t PointLength(StyleShape shape, int32_t height);

// The catalogue before layout: headings and styles in strip order.
struct CataloguePlanItem {
    std::string_view heading;  // non-empty: a section heading, no style data
    StyleRecipe recipe;
    Rect pinned;  // non-empty: the strip rectangle is fixed
};
std::span<const CataloguePlanItem> CataloguePlan();

// Places every plan item in the strip, two or more pictures to a row under
// each heading; `rects` has one slot per plan item.
void LayoutCatalogue(std::span<const CataloguePlanItem> plan, std::span<Rect> rects);

// One numbered catalogue entry: a style or a section heading.
struct CatalogueItem {
    ArchiveEntry entry;
    std::string_view heading;
    StyleRecipe recipe;    // meaningful when the entry has style data
    CaptionPlace caption;  // likewise
    Rect StripRect() const { return {entry.left, entry.top, entry.right, entry.bottom}; }
    bool IsHeading() const { return entry.resourceNumber == 0; }
};

// All Archive::kEntryCount entries in number order (item 0 is style 1),
// computed once from the plan and constant afterwards.
std::span<const CatalogueItem> CatalogueItems();
// The same entries as the plain table that Archive answers from.
std::span<const ArchiveEntry> CatalogueTable();

// Widening values that follow from a recipe's shape and surface: -1 where
// the picture changes along every row, so no column can be repeated.
int16_t StretchColumnOf(const StyleRecipe& recipe);
int16_t DefaultStretchOf(const StyleRecipe& recipe);
// Chips start narrower: three times their height.
int16_t ChipStretchOf(const StyleRecipe& recipe);

// The names `styles` and `sheet` show and filter by: shapes and materials in
// lower case with hyphens ("round-rect", "flat-border"), in enum order; the
// colour of a style is its colourway's name, or its metal's for chrome and
// brushed metal.
std::span<const char* const> ShapeNames();
std::span<const char* const> MaterialNames();
const char* ShapeName(StyleShape shape);
const char* MaterialName(StyleMaterial material);
const char* ColourNameOf(const StyleRecipe& recipe);

}  // namespace tabora
