// Colour glyphs (emoji): bitmap strikes and layered colour outlines, scaled
// to the caption's size.
#include <algorithm>

#include "platform/FreeTypeFont.h"

namespace tabora {
namespace {

// Colour glyphs remembered per font, in bytes, like the coverage cache.
constexpr size_t kMaxCachedColourBytes = 4u << 20;
// Largest colour glyph drawn, in pixels a side: the largest caption (300
// points, four times over when antialiased) has an em of 1600 pixels, and
// an emoji is about 1.25 em wide. Bounds the scaling work and memory of a
// glyph.
constexpr int64_t kMaxColourGlyphSide = 2560;

int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

// Area-averaging scale of a premultiplied blue-green-red-alpha bitmap by
// num/den, on one axis at a time: source pixel i covers [i num, (i+1) num)
// and target pixel d covers [d den, (d+1) den) of a common fine grid.
struct Axis {
    int64_t first = 0;  // first target pixel, relative to the glyph origin
    int64_t count = 0;
    int64_t sourceOrigin = 0;  // the source's first pixel, same origin
    int64_t num = 1, den = 1;
    Axis(int64_t origin, int64_t size, int64_t n, int64_t d)
        : first(FloorDiv(origin * n, d)),
          count(CeilDiv((origin + size) * n, d) - FloorDiv(origin * n, d)),
          sourceOrigin(origin),
          num(n),
          den(d) {}
    // Overlap of target pixel t (index within count) with source pixel s.
    int64_t Weight(int64_t t, int64_t s) const {
        const int64_t t0 = (first + t) * den, t1 = t0 + den;
        const int64_t s0 = (sourceOrigin + s) * num, s1 = s0 + num;
        return std::max<int64_t>(0, std::min(t1, s1) - std::max(t0, s0));
    }
    // Source pixels that may overlap target pixel t.
    std::pair<int64_t, int64_t> Sources(int64_t t, int64_t size) const {
        const int64_t t0 = (first + t) * den;
        const int64_t lo = std::max<int64_t>(0, FloorDiv(t0, num) - sourceOrigin);
        const int64_t hi = std::min<int64_t>(size, CeilDiv(t0 + den, num) - sourceOrigin);
        return {lo, hi};
    }
};

}  // namespace

const FreeTypeFont::ColourGlyph* FreeTypeFont::ColourGlyphFor(FT_UInt index, bool antialiased) {
    const uint64_t key = uint64_t(index) << 1 | (antialiased ? 1 : 0);
    if (auto it = colourDrawn_.find(key); it != colourDrawn_.end()) return &it->second;
    if (FT_Load_Glyph(face_, index, FT_LOAD_COLOR) != 0) return nullptr;
    FT_GlyphSlot slot = face_->glyph;
    // Layered colour outlines are rendered by FreeType into one colour
    // bitmap at the face's size; strikes come as bitmaps already.
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE &&
        FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) {
        return nullptr;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    if (slot->format != FT_GLYPH_FORMAT_BITMAP || bitmap.pixel_mode != FT_PIXEL_MODE_BGRA ||
        bitmap.pitch < 0) {
        return nullptr;  // an ordinary glyph of a colour face: drawn as coverage
    }
    const int64_t num = strikePpem_ > 0 ? em_ : 1;
    const int64_t den = strikePpem_ > 0 ? strikePpem_ : 1;
    const Axis across(slot->bitmap_left, bitmap.width, num, den);
    const Axis down(-int64_t(slot->bitmap_top), bitmap.rows, num, den);
    if (across.count > kMaxColourGlyphSide || down.count > kMaxColourGlyphSide) return nullptr;

    ColourGlyph glyph;
    glyph.left = across.first;
    glyph.top = down.first;
    glyph.width = int32_t(across.count);
    glyph.rows = int32_t(down.count);
    glyph.pixels.assign(size_t(glyph.width) * size_t(glyph.rows), 0);
    const int64_t area = den * den;
    for (int64_t ty = 0; ty < down.count; ++ty) {
        const auto [sy0, sy1] = down.Sources(ty, bitmap.rows);
        for (int64_t tx = 0; tx < across.count; ++tx) {
            const auto [sx0, sx1] = across.Sources(tx, bitmap.width);
            uint64_t sum[4] = {};  // blue, green, red, alpha
            for (int64_t sy = sy0; sy < sy1; ++sy) {
                const int64_t wy = down.Weight(ty, sy);
                if (wy == 0) continue;
                const uint8_t* row = bitmap.buffer + sy * bitmap.pitch;
                for (int64_t sx = sx0; sx < sx1; ++sx) {
                    const uint64_t w = uint64_t(wy * across.Weight(tx, sx));
                    for (int c = 0; c < 4; ++c) sum[c] += w * row[sx * 4 + c];
                }
            }
            uint32_t b = uint32_t(sum[0] / uint64_t(area)), g = uint32_t(sum[1] / uint64_t(area));
            uint32_t r = uint32_t(sum[2] / uint64_t(area)), a = uint32_t(sum[3] / uint64_t(area));
            if (!antialiased) {
                // Crisp like the plain caption: opaque or nothing.
                if (a < 128) {
                    r = g = b = a = 0;
                } else {
                    r = std::min<uint32_t>(255, r * 255 / a);
                    g = std::min<uint32_t>(255, g * 255 / a);
                    b = std::min<uint32_t>(255, b * 255 / a);
                    a = 255;
                }
            }
            glyph.pixels[size_t(ty) * size_t(glyph.width) + size_t(tx)] =
                std::min<uint32_t>(a, 255) | std::min(r, a) << 8 | std::min(g, a) << 16 |
                std::min(b, a) << 24;
        }
    }
    const size_t bytes = glyph.pixels.size() * 4;
    if (colourBytes_ + bytes > kMaxCachedColourBytes) {
        colourDrawn_.clear();
        colourBytes_ = 0;
    }
    colourBytes_ += bytes;
    return &(colourDrawn_[key] = std::move(glyph));
}

}  // namespace tabora
