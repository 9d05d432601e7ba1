#include "platform/Fonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "platform/FaceLease.h"
#include "platform/FontLookup.h"
#include "platform/FreeTypeFont.h"
#include "platform/Utf8.h"

namespace tabora {
namespace {

// Size used when the record leaves the height at 0.
constexpr int32_t kDefaultPoints = 12;
// Largest em, in pixels; larger requests are clamped to it. FreeType holds
// the pixel size in 16 bits, and at this size one glyph already spans about
// a hundred times the largest work area (696 × 296), so more could only
// change which part of one glyph shows.
constexpr int64_t kMaxEmPixels = 65535;
// Above this em size outlines are not grid-fitted: a pixel is then under a
// thousandth of the em, so hinting changes nothing visible, while the
// font's hinting programs would run near their fixed-point limits.
constexpr int64_t kMaxHintedEmPixels = 1024;
// Rows rendered at once for one glyph. Scratch memory stays at the target's
// width times this, however large the glyph.
constexpr int32_t kBandRows = 256;
// Advances remembered per font beyond ASCII. Text is arbitrary, so bounded.
constexpr size_t kMaxCachedGlyphs = 4096;
// Drawn glyphs remembered per font, in coverage bytes; a caption's glyphs
// are loaded, hinted and rasterised once, not at every keystroke or for
// every button of a batch. Larger glyphs are drawn each time.
constexpr size_t kMaxCachedCoverageBytes = 1u << 20;
constexpr size_t kMaxCachedGlyphBytes = 16u << 10;
// Slant of the synthetic italic: tan 12° in 16.16, the usual oblique.
constexpr FT_Fixed kObliqueShear = 0x366A;

}  // namespace

FreeTypeFont::FreeTypeFont(FaceLease lease, const ResolvedFace& resolved, const FontRecord& record)
    : lease_(std::move(lease)),
      face_(lease_.Face()),
      family_(resolved.family),
      path_(resolved.path),
      faceIndex_(resolved.index),
      record_(record),
      syntheticBold_(resolved.syntheticBold),
      syntheticItalic_(resolved.syntheticItalic) {
    if (!face_) return;
    colourFace_ = FT_HAS_COLOR(face_);
    if (FT_IS_SCALABLE(face_)) {
        SetScalableSize(record.height);
    } else {
        SetBitmapSize(record.height);
    }
}

// Ascent and descent in whole pixels at `em`, rounded outwards so that the
// cell holds every glyph that keeps to the font's metrics.
static std::pair<int64_t, int64_t> CellAt(FT_Face face, int64_t em) {
    const int64_t units = std::max<int64_t>(1, face->units_per_EM);
    const int64_t ascent = std::max<int64_t>(0, face->ascender);
    const int64_t descent = std::max<int64_t>(0, -int64_t(face->descender));
    return {(ascent * em + units - 1) / units, (descent * em + units - 1) / units};
}

void FreeTypeFont::SetScalableSize(int32_t height) {
    int64_t em = 0;
    if (height < 0) {
        em = -int64_t(height);
    } else if (height == 0) {
        em = -int64_t(MulDiv(-kPixelsPerInch, kDefaultPoints, 72));
    } else {
        // A positive height is the cell (ascent + descent): the largest em
        // whose cell is no taller.
        const int64_t cell = int64_t(face_->ascender) - face_->descender;
        em = cell > 0 ? (int64_t(height) * face_->units_per_EM + cell / 2) / cell : height;
        em = std::clamp<int64_t>(em, 1, kMaxEmPixels);
        while (em > 1) {
            const auto [above, below] = CellAt(face_, em);
            if (above + below <= height) break;
            --em;
        }
    }
    em = std::clamp<int64_t>(em, 1, kMaxEmPixels);
    if (FT_Set_Pixel_Sizes(face_, 0, FT_UInt(em)) != 0) {
        face_ = nullptr;
        return;
    }
    hinted_ = em <= kMaxHintedEmPixels;
    em_ = em;
    const FT_Fixed scale = face_->size->metrics.y_scale;
    const auto [above, below] = CellAt(face_, em);
    ascent_ = int32_t(above);
    descent_ = int32_t(below);
    // Synthetic bold widens each stem by a 24th of the em, at least one
    // pixel, in whole pixels so that monochrome stems stay crisp.
    if (syntheticBold_) boldStrength_ = std::max<int64_t>(64, (em * 64 / 24 + 32) & ~63);
    const FT_BBox& box = face_->bbox;
    const int64_t reach = std::max(
        {std::labs(box.xMin), std::labs(box.xMax), std::labs(box.yMin), std::labs(box.yMax)});
    // The bounding box of some fonts is wrong; two ems is a safe floor.
    inkMargin_ =
        std::max(CeilPixels(FT_MulFix(reach, scale)) * 5 / 4, 2 * em) + boldStrength_ / 64 + 2;
}

void FreeTypeFont::SetBitmapSize(int32_t height) {
    if (face_->num_fixed_sizes <= 0) {
        face_ = nullptr;
        return;
    }
    const int64_t wanted = height < 0   ? -int64_t(height)
                           : height > 0 ? height
                                        : -int64_t(MulDiv(-kPixelsPerInch, kDefaultPoints, 72));
    int best = 0;
    int64_t bestDistance = INT64_MAX;
    for (int i = 0; i < face_->num_fixed_sizes; ++i) {
        const FT_Bitmap_Size& size = face_->available_sizes[i];
        const int64_t have = height > 0 ? size.height : RoundPixels(size.y_ppem);
        if (std::llabs(have - wanted) < bestDistance) {
            bestDistance = std::llabs(have - wanted);
            best = i;
        }
    }
    if (FT_Select_Size(face_, best) != 0) {
        face_ = nullptr;
        return;
    }
    const FT_Size_Metrics& metrics = face_->size->metrics;
    // Colour strikes (emoji) are scaled to the caption's size: the em asked
    // for, or for a cell height the em that keeps the strike's proportions.
    // Other bitmap faces are drawn at the strike's own size.
    int64_t num = 1, den = 1;
    if (colourFace_) {
        strikePpem_ = std::max<int64_t>(1, metrics.y_ppem);  // whole pixels here
        const int64_t cell = CeilPixels(metrics.ascender) + CeilPixels(-metrics.descender);
        em_ = height > 0 && cell > 0 ? std::max<int64_t>(1, wanted * strikePpem_ / cell) : wanted;
        em_ = std::clamp<int64_t>(em_, 1, kMaxEmPixels);
        num = em_;
        den = strikePpem_;
    } else {
        em_ = std::max<int64_t>(1, metrics.y_ppem);
    }
    auto scaled = [&](int64_t v26) { return (CeilPixels(v26) * num + den - 1) / den; };
    ascent_ = int32_t(std::max<int64_t>(0, scaled(metrics.ascender)));
    descent_ = int32_t(std::max<int64_t>(0, scaled(-metrics.descender)));
    syntheticBold_ = syntheticItalic_ = false;  // bitmaps are drawn as they are
    inkMargin_ = 2 * std::max<int64_t>(ascent_ + descent_, scaled(metrics.max_advance)) + 2;
}

FT_Int32 FreeTypeFont::LoadFlags(bool antialiased) const {
    if (!FT_IS_SCALABLE(face_)) return FT_LOAD_DEFAULT;
    if (!hinted_) return FT_LOAD_NO_BITMAP | FT_LOAD_NO_HINTING;
    // Plain text is grid-fitted for monochrome, like screen text without
    // font smoothing; smooth text uses the font's normal hinting.
    return FT_LOAD_NO_BITMAP | (antialiased ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
}

// Advances come from the monochrome load in both modes, so that a line is
// as wide drawn smooth as drawn plain and as Extent says.
FreeTypeFont::Glyph FreeTypeFont::GlyphFor(char32_t cp) {
    Glyph* entry = nullptr;
    if (cp < ascii_.size()) {
        entry = &ascii_[cp];
    } else {
        if (others_.size() >= kMaxCachedGlyphs) others_.clear();
        entry = &others_[cp];
    }
    if (entry->known) return *entry;
    Glyph glyph;
    glyph.known = true;
    glyph.index = FT_Get_Char_Index(face_, cp);
    // Symbol fonts map their characters at U+F020-U+F0FF; a byte of legacy
    // text means the character at U+F000 plus the byte.
    if (glyph.index == 0 && cp < 0x100 && face_->charmap &&
        face_->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
        glyph.index = FT_Get_Char_Index(face_, 0xF000 + cp);
    }
    if (FT_Load_Glyph(face_, glyph.index, LoadFlags(false)) == 0) {
        glyph.advance = RoundPixels(face_->glyph->advance.x) + boldStrength_ / 64;
    }
    *entry = glyph;
    return glyph;
}

int64_t FreeTypeFont::LineWidth(std::string_view text) {
    int64_t width = 0;
    for (size_t pos = 0; pos < text.size();) {
        const char32_t cp = NextCodePoint(text, pos);
        if (!IsControl(cp)) width += GlyphFor(cp).advance;
    }
    return width;
}

TextExtent FreeTypeFont::Extent(std::string_view text) {
    if (!face_) return {};
    const int64_t line = Simple(text) ? LineWidth(text) : RoundPixels(Shaped(text).width);
    const int64_t width = std::clamp<int64_t>(line, INT32_MIN, INT32_MAX);
    return {int32_t(width), ascent_ + descent_};
}

template <class Sink>
void FreeTypeFont::Draw(std::string_view text, Rect rect, int32_t viewWidth, int32_t viewHeight,
                        bool antialiased, Sink& sink, const ColourView* colour) {
    if (!face_ || text.empty()) return;
    if (!Simple(text)) {
        DrawShaped(Shaped(text), rect, viewWidth, viewHeight, antialiased, sink, colour);
        return;
    }
    // 64-bit throughout: rectangles and fonts may be far larger than the view.
    const int64_t rectWidth = int64_t(rect.right) - rect.left;
    int64_t penX = rect.left + (rectWidth - LineWidth(text)) / 2;
    const int64_t baseline = int64_t(rect.top) + ascent_;
    if (baseline + inkMargin_ <= 0 || baseline - inkMargin_ >= viewHeight) return;
    for (size_t pos = 0; pos < text.size();) {
        const char32_t cp = NextCodePoint(text, pos);
        if (IsControl(cp)) continue;
        const Glyph glyph = GlyphFor(cp);
        if (penX + inkMargin_ > 0 && penX - inkMargin_ < viewWidth) {
            DrawGlyph(glyph.index, penX, baseline, viewWidth, viewHeight, antialiased, sink);
        }
        penX += glyph.advance;
    }
}

template <class Sink>
void FreeTypeFont::DrawShaped(const ShapedLine& line, Rect rect, int32_t viewWidth,
                              int32_t viewHeight, bool antialiased, Sink& sink,
                              const ColourView* colour) {
    const int64_t rectWidth = int64_t(rect.right) - rect.left;
    const int64_t left = rect.left + (rectWidth - RoundPixels(line.width)) / 2;
    const int64_t baseline = int64_t(rect.top) + ascent_;
    // Every face is drawn at this font's em, so this font's margin, doubled
    // for faces whose ink reaches further, bounds them all.
    const int64_t margin = 2 * inkMargin_;
    if (baseline + margin <= 0 || baseline - margin >= viewHeight) return;
    for (const PlacedGlyph& glyph : line.glyphs) {
        const int64_t x = left + RoundPixels(glyph.x);
        const int64_t y = baseline - RoundPixels(glyph.y);
        if (x + margin <= 0 || x - margin >= viewWidth) continue;
        FreeTypeFont& face = FaceAt(glyph.face);
        if (face.colourFace_) {
            if (const ColourGlyph* drawn = face.ColourGlyphFor(glyph.index, antialiased)) {
                DrawColourGlyph(*drawn, x, y, viewWidth, viewHeight, sink, colour);
                continue;
            }
            // A strike's other glyphs would come out at the strike's size.
            if (face.strikePpem_ > 0) continue;
        }
        face.DrawGlyph(glyph.index, x, y, viewWidth, viewHeight, antialiased, sink);
    }
}

template <class Sink>
void FreeTypeFont::DrawColourGlyph(const ColourGlyph& glyph, int64_t penX, int64_t baseline,
                                   int32_t viewWidth, int32_t viewHeight, Sink& sink,
                                   const ColourView* colour) {
    const int64_t x0 = std::max<int64_t>(0, penX + glyph.left);
    const int64_t x1 = std::min<int64_t>(viewWidth, penX + glyph.left + glyph.width);
    const int64_t y0 = std::max<int64_t>(0, baseline + glyph.top);
    const int64_t y1 = std::min<int64_t>(viewHeight, baseline + glyph.top + glyph.rows);
    if (x0 >= x1 || y0 >= y1) return;
    row_.resize(size_t(x1 - x0));
    for (int64_t y = y0; y < y1; ++y) {
        const uint32_t* source = glyph.pixels.data() +
                                 size_t(y - baseline - glyph.top) * size_t(glyph.width) +
                                 size_t(x0 - penX - glyph.left);
        if (!colour) {
            for (int64_t x = x0; x < x1; ++x) row_[size_t(x - x0)] = uint8_t(source[x - x0]);
            sink(int32_t(x0), int32_t(y), row_.data(), int32_t(x1 - x0));
            continue;
        }
        colourInk_ = colourInk_.Union({int32_t(x0), int32_t(y), int32_t(x1), int32_t(y + 1)});
        uint32_t* out = colour->pixels + ptrdiff_t(y) * colour->stride;
        for (int64_t x = x0; x < x1; ++x) {
            // Premultiplied source-over, byte by byte.
            const uint32_t s = source[x - x0];
            const uint32_t keep = 255 - (s & 0xFF);
            uint32_t d = out[x], result = 0;
            for (int shift = 0; shift < 32; shift += 8) {
                const uint32_t v =
                    ((s >> shift) & 0xFF) + (((d >> shift) & 0xFF) * keep + 127) / 255;
                result |= std::min<uint32_t>(v, 255) << shift;
            }
            out[x] = result;
        }
    }
}

template <class Sink>
void FreeTypeFont::DrawGlyph(FT_UInt index, int64_t penX, int64_t baseline, int32_t viewWidth,
                             int32_t viewHeight, bool antialiased, Sink& sink) {
    const uint64_t key = uint64_t(index) << 1 | (antialiased ? 1 : 0);
    if (auto it = drawn_.find(key); it != drawn_.end()) {
        const DrawnGlyph& glyph = it->second;
        // Near an edge the glyph is rasterised again, only as far as the
        // view reaches, exactly as the first time.
        if (glyph.Inside(penX, baseline, viewWidth, viewHeight)) {
            for (int32_t r = 0; r < glyph.rows; ++r) {
                sink(int32_t(penX + glyph.left), int32_t(baseline + glyph.top + r),
                     glyph.coverage.data() + size_t(r) * size_t(glyph.width), glyph.width);
            }
            return;
        }
    }
    if (FT_Load_Glyph(face_, index, LoadFlags(antialiased)) != 0) return;
    const FT_GlyphSlot slot = face_->glyph;
    if (slot->format == FT_GLYPH_FORMAT_BITMAP) {
        DrawBitmap(slot->bitmap, penX + slot->bitmap_left, baseline - slot->bitmap_top, viewWidth,
                   viewHeight, antialiased, sink);
        return;
    }
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return;
    FT_Outline& outline = slot->outline;
    // Horizontal only, like overstriking: the glyph keeps its height.
    if (boldStrength_ > 0) FT_Outline_EmboldenXY(&outline, boldStrength_, 0);
    if (syntheticItalic_) {
        FT_Matrix shear{0x10000, kObliqueShear, 0, 0x10000};
        FT_Outline_Transform(&outline, &shear);
    }
    FT_BBox box;
    FT_Outline_Get_CBox(&outline, &box);

    DrawnGlyph whole;
    whole.left = FloorPixels(box.xMin);
    whole.top = -CeilPixels(box.yMax);
    const int64_t width = CeilPixels(box.xMax) - whole.left;
    const int64_t rows = CeilPixels(box.yMax) - FloorPixels(box.yMin);
    if (width >= 0 && rows >= 0 && rows <= kBandRows &&
        uint64_t(width) * uint64_t(rows) <= kMaxCachedGlyphBytes) {
        whole.width = int32_t(width);
        whole.rows = int32_t(rows);
        if (whole.Inside(penX, baseline, viewWidth, viewHeight)) {
            // One band holds the whole glyph: draw it and keep its rows.
            whole.coverage.resize(size_t(width) * size_t(rows));
            auto keep = [&](int32_t x, int32_t y, const uint8_t* coverage, int32_t count) {
                std::copy_n(coverage, count,
                            whole.coverage.data() + size_t(y - (baseline + whole.top)) * size_t(width));
                sink(x, y, coverage, count);
            };
            if (width > 0 && rows > 0) {
                RenderBand(outline, penX, baseline, int32_t(penX + whole.left),
                           int32_t(baseline + whole.top), whole.width, whole.rows, antialiased, keep);
            }
            if (drawnBytes_ + whole.coverage.size() > kMaxCachedCoverageBytes) {
                drawn_.clear();
                drawnBytes_ = 0;
            }
            drawnBytes_ += whole.coverage.size();
            drawn_[key] = std::move(whole);
            return;
        }
    }
    // Only the part of the glyph inside the view is ever rasterised.
    const int64_t left = std::max<int64_t>(0, penX + FloorPixels(box.xMin));
    const int64_t right = std::min<int64_t>(viewWidth, penX + CeilPixels(box.xMax));
    const int64_t top = std::max<int64_t>(0, baseline - CeilPixels(box.yMax));
    const int64_t bottom = std::min<int64_t>(viewHeight, baseline - FloorPixels(box.yMin));
    for (int64_t y = top; left < right && y < bottom; y += kBandRows) {
        RenderBand(outline, penX, baseline, int32_t(left), int32_t(y), int32_t(right - left),
                   int32_t(std::min<int64_t>(kBandRows, bottom - y)), antialiased, sink);
    }
}

template <class Sink>
void FreeTypeFont::RenderBand(FT_Outline& outline, int64_t penX, int64_t baseline, int32_t left,
                              int32_t top, int32_t width, int32_t rows, bool antialiased,
                              Sink& sink) {
    const int32_t pitch = antialiased ? width : (width + 7) / 8;
    bits_.assign(size_t(pitch) * size_t(rows), 0);
    FT_Bitmap bitmap{};
    bitmap.rows = unsigned(rows);
    bitmap.width = unsigned(width);
    bitmap.pitch = pitch;
    bitmap.buffer = bits_.data();
    bitmap.num_grays = 256;
    bitmap.pixel_mode = antialiased ? FT_PIXEL_MODE_GRAY : FT_PIXEL_MODE_MONO;
    // The band's bottom-left corner becomes the origin; FreeType's y axis
    // points up, the view's down.
    const FT_Pos dx = FT_Pos(penX - left) * 64;
    const FT_Pos dy = FT_Pos(int64_t(top) + rows - baseline) * 64;
    FT_Outline_Translate(&outline, dx, dy);
    const FT_Error error = FT_Outline_Get_Bitmap(lease_.Library(), &outline, &bitmap);
    FT_Outline_Translate(&outline, -dx, -dy);
    if (error != 0) return;
    row_.resize(size_t(width));
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* source = bits_.data() + size_t(r) * size_t(pitch);
        if (!antialiased) {
            for (int32_t x = 0; x < width; ++x) {
                row_[size_t(x)] = (source[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            }
            source = row_.data();
        }
        sink(left, top + r, source, width);
    }
}

template <class Sink>
void FreeTypeFont::DrawBitmap(const FT_Bitmap& bitmap, int64_t left, int64_t top, int32_t viewWidth,
                              int32_t viewHeight, bool antialiased, Sink& sink) {
    const bool mono = bitmap.pixel_mode == FT_PIXEL_MODE_MONO;
    if ((!mono && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) || bitmap.pitch < 0) return;
    const int64_t x0 = std::max<int64_t>(0, left);
    const int64_t x1 = std::min<int64_t>(viewWidth, left + bitmap.width);
    const int64_t y0 = std::max<int64_t>(0, top);
    const int64_t y1 = std::min<int64_t>(viewHeight, top + bitmap.rows);
    if (x0 >= x1 || y0 >= y1) return;
    const int maxGray = std::max(1, bitmap.num_grays - 1);
    row_.resize(size_t(x1 - x0));
    for (int64_t y = y0; y < y1; ++y) {
        const uint8_t* source = bitmap.buffer + (y - top) * bitmap.pitch;
        for (int64_t x = x0; x < x1; ++x) {
            const int64_t i = x - left;
            int value = mono ? ((source[i >> 3] & (0x80 >> (i & 7))) ? 255 : 0)
                             : std::min(255, source[i] * 255 / maxGray);
            if (!antialiased) value = value >= 128 ? 255 : 0;
            row_[size_t(x - x0)] = uint8_t(value);
        }
        sink(int32_t(x0), int32_t(y), row_.data(), int32_t(x1 - x0));
    }
}

void FreeTypeFont::DrawCoverage(std::string_view text, Rect rect, CoverageView target,
                                bool antialiased) {
    DrawCaption(text, rect, target, {}, antialiased);
}

Rect FreeTypeFont::DrawCaption(std::string_view text, Rect rect, CoverageView target,
                               ColourView colour, bool antialiased) {
    colourInk_ = {};
    if (!target.bytes || target.width <= 0 || target.height <= 0 || target.stride < target.width) {
        return colourInk_;
    }
    auto sink = [&target](int32_t x, int32_t y, const uint8_t* coverage, int32_t count) {
        uint8_t* out = target.bytes + ptrdiff_t(y) * target.stride + x;
        for (int32_t i = 0; i < count; ++i) out[i] = std::max(out[i], coverage[i]);
    };
    // The colour view must cover the coverage view exactly.
    const bool withColour = colour.pixels && colour.width == target.width &&
                            colour.height == target.height && colour.stride >= colour.width;
    Draw(text, rect, target.width, target.height, antialiased, sink,
         withColour ? &colour : nullptr);
    return colourInk_;
}

void FreeTypeFont::DrawLine(std::string_view text, Rect rect, Bgr24View target) {
    if (!target.bits || target.width <= 0 || target.height <= 0 ||
        target.rowBytes < int64_t(target.width) * 3) {
        return;
    }
    auto sink = [&target](int32_t x, int32_t y, const uint8_t* coverage, int32_t count) {
        // Rows are stored bottom-up.
        uint8_t* out =
            target.bits + ptrdiff_t(target.height - 1 - y) * target.rowBytes + ptrdiff_t(x) * 3;
        for (int32_t i = 0; i < count; ++i, out += 3) {
            if (coverage[i] == 0) continue;
            const uint8_t ink = uint8_t(255 - coverage[i]);
            out[0] = std::min(out[0], ink);
            out[1] = std::min(out[1], ink);
            out[2] = std::min(out[2], ink);
        }
    };
    Draw(text, rect, target.width, target.height, false, sink, nullptr);
}

int32_t MulDiv(int32_t a, int32_t b, int32_t c) {
    if (c == 0) return -1;
    const int64_t product = int64_t(a) * b;
    int64_t quotient = product / c;
    const int64_t remainder = product % c;
    if (2 * std::llabs(remainder) >= std::llabs(int64_t(c))) {
        quotient += (product < 0) != (c < 0) ? -1 : 1;
    }
    if (quotient > INT32_MAX || quotient < INT32_MIN) return -1;
    return int32_t(quotient);
}

std::unique_ptr<Font> Font::Create(const FontRecord& record) {
    ResolvedFace resolved = ResolveFace(record.faceName, record.weight, record.italic);
    FaceLease lease = LeaseFace(resolved.path, resolved.index);
    if (!lease) {
        // The configured file is unreadable or damaged: use the default
        // sans family rather than draw nothing.
        resolved = ResolveFace({}, record.weight, record.italic);
        lease = LeaseFace(resolved.path, resolved.index);
    }
    return std::make_unique<FreeTypeFont>(std::move(lease), resolved, record);
}

void PrewarmFonts(std::string_view faceName) {
    try {
        std::thread([name = std::string(faceName)] {
            const ResolvedFace face = ResolveFace(name, 400, false);
            LeaseFace(face.path, face.index);  // opened, then kept for reuse
        }).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the first Font::Create does the work itself.
    }
}

}  // namespace tabora
