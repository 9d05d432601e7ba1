#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"

namespace tabora {

// Rendering uses this resolution everywhere, so a button comes out the same
// from the GUI, the command line and the tests on any machine.
constexpr int32_t kPixelsPerInch = 96;

// a × b / c in 64 bits, rounded to the nearest integer (halves away from
// zero), so point sizes turn into the same pixel heights everywhere; -1 when
// c is 0.
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

// The font record: negative height = character (em) height in pixels,
// positive = cell height (ascent + descent), 0 = a default size.
struct FontRecord {
    int32_t height = 0;
    int32_t weight = 400;  // 700 = bold
    bool italic = false;
    std::string faceName;  // only the first 31 bytes take part in the lookup
};

struct TextExtent {
    int32_t cx = 0;  // sum of the advances
    int32_t cy = 0;  // ascent + descent
    friend bool operator==(const TextExtent&, const TextExtent&) = default;
};

// A view of an 8-bit coverage buffer, rows top-down.
struct CoverageView {
    uint8_t* bytes = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// A view of a 24-bit bottom-up blue-green-red buffer (a DIB's pixels).
struct Bgr24View {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowBytes = 0;
};

// A view of a 32-bit image in the button's pixel layout (alpha in bits 0-7,
// red 8-15, green 16-23, blue 24-31), `stride` counted in pixels. Colour
// glyphs are written into it premultiplied (each colour byte at most the
// alpha), source-over what is there.
struct ColourView {
    uint32_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;
};

// One glyph of a laid-out line, in drawing order (left to right).
struct PlacedGlyph {
    uint32_t index = 0;    // glyph index in its face; 0 is the face's box
    int64_t x = 0;         // from the line's left end, 26.6 pixels
    int64_t y = 0;         // above the baseline, 26.6 pixels
    uint32_t cluster = 0;  // byte offset in the text of the character(s) it shows
    uint32_t face = 0;     // into LineLayout::faces; 0 is the chosen face
};

struct LayoutFace {
    std::string path;
    int64_t index = 0;
    std::string family;
};

// How a line is drawn. A line that needs neither shaping, reordering nor
// another face (Latin, Greek, Cyrillic and the like, left to right, every
// character in the chosen face) keeps the simple path: the chosen face's
// glyphs one after another at whole-pixel hinted advances. Every other line
// is reordered by the bidirectional algorithm, split into runs by
// direction, script and face, and shaped.
struct LineLayout {
    bool shaped = false;
    std::vector<PlacedGlyph> glyphs;
    std::vector<LayoutFace> faces;
    // Characters no installed face has, each once, in text order; they are
    // drawn as the chosen face's box.
    std::vector<char32_t> missing;
    bool colour = false;  // some glyph is drawn in its own colours
};

// One resolved font at one size. Lookup never fails: an unknown face falls
// back to the system's substitute or its default sans family.
class Font {
public:
    virtual ~Font() = default;
    static std::unique_ptr<Font> Create(const FontRecord& record);

    // Extent of `text` (UTF-8) as one line.
    virtual TextExtent Extent(std::string_view text) = 0;
    // Draws one line of `text` with coverage into `target`, horizontally
    // centred in `rect` and top-aligned (baseline at rect.top + ascent);
    // pixels outside the view are never touched. `antialiased` false gives
    // crisp hinted monochrome coverage (only 0 and 255); true gives smooth
    // coverage. Coverage is combined with what is there by maximum. Only the
    // view clips: ink beyond `rect` (an italic overhang) is drawn too.
    virtual void DrawCoverage(std::string_view text, Rect rect, CoverageView target,
                              bool antialiased) = 0;
    // As DrawCoverage; glyphs of colour fonts (emoji) go into `colour` in
    // their own colours, and their alpha into `coverage` only when `colour`
    // has no pixels. Monochrome (not antialiased) colour glyphs have alpha
    // 0 or 255. Returns the box of the colour pixels written (empty when
    // none), so that a caller clears and reduces only that.
    virtual Rect DrawCaption(std::string_view text, Rect rect, CoverageView coverage,
                             ColourView colour, bool antialiased) = 0;
    // How `text` is laid out: which path, which glyphs of which faces where.
    virtual LineLayout Layout(std::string_view text) = 0;
    // Whether some glyph of `text` is drawn in its own colours; cheap for
    // text on the simple path.
    virtual bool HasColourGlyphs(std::string_view text) = 0;
    // The same line drawn black on white into a 24-bit bottom-up buffer
    // (blue byte = 255 - coverage, likewise green and red), monochrome.
    virtual void DrawLine(std::string_view text, Rect rect, Bgr24View target) = 0;
    // The family that the lookup resolved to.
    virtual std::string FamilyName() const = 0;
};

// A family as the font list shows it. Type bits: 1 raster (bitmap-only),
// 4 scalable ("TrueType" sign).
struct FontFamily {
    std::string name;
    uint32_t type = 0;
};
constexpr uint32_t kRasterFontType = 1;
constexpr uint32_t kTrueTypeFontType = 4;

// The installed families, sorted by name, each once.
std::vector<FontFamily> EnumerateFontFamilies();

// Starts loading the system's font configuration, and opening the face that
// `faceName` resolves to, on a background thread, so that a short-lived
// process does not wait for them at its first Font::Create. Optional; safe
// to call any number of times, from any thread.
void PrewarmFonts(std::string_view faceName = "Arial");

// "U+0378" for a character, as warnings name it.
std::string CodePointName(char32_t cp);

}  // namespace tabora
