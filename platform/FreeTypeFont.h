#pragma once
// The text layer's font, shared by its source files (Fonts.cpp draws,
// FontShaping.cpp lays out shaped lines, FontColour.cpp prepares colour
// glyphs). Not for use outside platform/.
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/FaceLease.h"
#include "platform/FontLookup.h"
#include "platform/Fonts.h"

namespace tabora {

// 26.6 fixed point to whole pixels. Right shifts of negative values are
// arithmetic in C++20.
inline int64_t FloorPixels(int64_t v) { return v >> 6; }
inline int64_t CeilPixels(int64_t v) { return -((-v) >> 6); }
inline int64_t RoundPixels(int64_t v) { return (v + 32) >> 6; }

// Control characters have no glyph worth drawing; a caption is one line.
inline bool IsControl(char32_t cp) { return cp < 0x20 || (cp >= 0x7F && cp < 0xA0); }

struct HbFontDeleter {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct HbBufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

class FreeTypeFont final : public Font {
public:
    FreeTypeFont(FaceLease lease, const ResolvedFace& resolved, const FontRecord& record);
    ~FreeTypeFont() override;

    TextExtent Extent(std::string_view text) override;
    void DrawCoverage(std::string_view text, Rect rect, CoverageView target,
                      bool antialiased) override;
    Rect DrawCaption(std::string_view text, Rect rect, CoverageView coverage, ColourView colour,
                     bool antialiased) override;
    LineLayout Layout(std::string_view text) override;
    bool HasColourGlyphs(std::string_view text) override;
    void DrawLine(std::string_view text, Rect rect, Bgr24View target) override;
    std::string FamilyName() const override { return family_; }

private:
    struct Glyph {
        FT_UInt index = 0;
        int64_t advance = 0;  // whole pixels
        bool known = false;
    };
    // Where a drawn glyph's pixels lie relative to the pen position and the
    // baseline. Pens and baselines are whole pixels, so a glyph's pixels are
    // the same wherever it lands.
    struct GlyphBox {
        int64_t left = 0;
        int64_t top = 0;
        int32_t width = 0;
        int32_t rows = 0;
        bool Inside(int64_t penX, int64_t baseline, int32_t viewWidth, int32_t viewHeight) const {
            return penX + left >= 0 && penX + left + width <= viewWidth && baseline + top >= 0 &&
                   baseline + top + rows <= viewHeight;
        }
    };
    // A glyph's coverage as rasterised whole.
    struct DrawnGlyph : GlyphBox {
        std::vector<uint8_t> coverage;
    };
    // A colour glyph scaled to the caption's size: premultiplied pixels in
    // the ColourView layout.
    struct ColourGlyph : GlyphBox {
        std::vector<uint32_t> pixels;
    };
    // A shaped line, glyph faces numbered as LineLayout's.
    struct ShapedLine {
        std::vector<PlacedGlyph> glyphs;
        int64_t width = 0;  // 26.6
        std::vector<char32_t> missing;
        bool colour = false;
    };

    void SetScalableSize(int32_t height);
    void SetBitmapSize(int32_t height);
    FT_Int32 LoadFlags(bool antialiased) const;
    Glyph GlyphFor(char32_t cp);
    bool HasGlyph(char32_t cp);
    int64_t LineWidth(std::string_view text);
    template <class Sink>
    void Draw(std::string_view text, Rect rect, int32_t viewWidth, int32_t viewHeight,
              bool antialiased, Sink& sink, const ColourView* colour);
    template <class Sink>
    void DrawShaped(const ShapedLine& line, Rect rect, int32_t viewWidth, int32_t viewHeight,
                    bool antialiased, Sink& sink, const ColourView* colour);
    template <class Sink>
    void DrawGlyph(FT_UInt index, int64_t penX, int64_t baseline, int32_t viewWidth,
                   int32_t viewHeight, bool antialiased, Sink& sink);
    template <class Sink>
    void RenderBand(FT_Outline& outline, int64_t penX, int64_t baseline, int32_t left, int32_t top,
                    int32_t width, int32_t rows, bool antialiased, Sink& sink);
    template <class Sink>
    void DrawBitmap(const FT_Bitmap& bitmap, int64_t left, int64_t top, int32_t viewWidth,
                    int32_t viewHeight, bool antialiased, Sink& sink);
    template <class Sink>
    void DrawColourGlyph(const ColourGlyph& glyph, int64_t penX, int64_t baseline,
                         int32_t viewWidth, int32_t viewHeight, Sink& sink,
                         const ColourView* colour);

    // FontShaping.cpp
    // True when `text` takes the simple path (see LineLayout).
    bool Simple(std::string_view text);
    // The shaped line of `text`, remembered for the last text asked.
    const ShapedLine& Shaped(std::string_view text);
    void ShapeInto(std::string_view text, ShapedLine& line);
    // The face (0 = this one, else 1 + a fallback) that draws `cp`, or -1
    // when no installed face has it; `emoji` asks for a colour face first.
    int32_t FaceFor(char32_t cp, bool emoji);
    FreeTypeFont& FaceAt(uint32_t face) { return face == 0 ? *this : *fallbacks_[face - 1]; }
    hb_font_t* HbFont();

    // FontColour.cpp
    // The colour glyph `index` at this size, or null when the face has none.
    const ColourGlyph* ColourGlyphFor(FT_UInt index, bool antialiased);

    FaceLease lease_;
    FT_Face face_ = nullptr;  // null when nothing usable was found: draws nothing
    std::string family_;
    std::string path_;
    int64_t faceIndex_ = 0;
    FontRecord record_;
    bool syntheticBold_ = false;
    bool syntheticItalic_ = false;
    bool hinted_ = true;
    bool colourFace_ = false;  // glyphs in their own colours (emoji)
    int64_t em_ = 0;           // pixels; shaping and fallback faces use it
    // Bitmap faces draw their strike scaled by em_ / strikePpem_.
    int64_t strikePpem_ = 0;
    int64_t boldStrength_ = 0;  // 26.6, whole pixels
    int32_t ascent_ = 0;
    int32_t descent_ = 0;
    // No glyph's ink reaches further than this from its pen position, in
    // pixels; glyphs further than this outside the target are not loaded.
    int64_t inkMargin_ = 0;
    std::array<Glyph, 128> ascii_{};
    std::unordered_map<char32_t, Glyph> others_;
    std::unordered_map<uint64_t, DrawnGlyph> drawn_;  // by glyph index and mode
    size_t drawnBytes_ = 0;
    std::unordered_map<uint64_t, ColourGlyph> colourDrawn_;  // likewise
    size_t colourBytes_ = 0;
    std::vector<uint8_t> bits_;  // one band as the rasteriser writes it
    std::vector<uint8_t> row_;   // one row of coverage bytes
    Rect colourInk_;             // colour pixels written by the current draw

    std::string simpleText_;  // the last text Simple() judged, and its verdict
    bool simple_ = true;

    // Shaping state, made on first use.
    std::unique_ptr<hb_font_t, HbFontDeleter> hbFont_;
    std::unique_ptr<hb_buffer_t, HbBufferDeleter> hbBuffer_;
    std::vector<std::unique_ptr<FreeTypeFont>> fallbacks_;
    std::unordered_map<char32_t, int32_t> faceFor_;  // by character (top bit: emoji)
    std::string shapedText_;  // the last line shaped
    ShapedLine shaped_;
    bool shapedValid_ = false;
};

}  // namespace tabora
