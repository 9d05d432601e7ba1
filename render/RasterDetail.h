#pragma once
// Internal helpers shared by the raster operations; not part of their API.
#include <algorithm>
#include <cstdint>
#include <optional>

#include "platform/Geometry.h"

namespace tabora::detail {

// A block copy that is known to lie inside both images.
struct CopySpan {
    int32_t srcX = 0, srcY = 0, dstX = 0, dstY = 0, width = 0, height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
};

// Rectangle sizes in 64 bits: a hostile rectangle (INT_MIN, INT_MAX) must
// not overflow.
inline int64_t Width64(const Rect& r) { return int64_t(r.right) - int64_t(r.left); }
inline int64_t Height64(const Rect& r) { return int64_t(r.bottom) - int64_t(r.top); }

// The common extent rule of CompositeOver and CopyAlphaTo: `w` x `h` pixels
// from (sx, sy) of the source go to (dx, dy) of the destination, cut to what
// exists in both images.
inline CopySpan ClipSpan(int64_t sx, int64_t sy, int64_t dx, int64_t dy, int64_t w, int64_t h,
                         int64_t srcW, int64_t srcH, int64_t dstW, int64_t dstH) {
    int64_t j0 = std::max({int64_t(0), -sx, -dx});
    int64_t j1 = std::min({w, srcW - sx, dstW - dx});
    int64_t i0 = std::max({int64_t(0), -sy, -dy});
    int64_t i1 = std::min({h, srcH - sy, dstH - dy});
    if (j1 <= j0 || i1 <= i0) return {};
    return {int32_t(sx + j0), int32_t(sy + i0), int32_t(dx + j0), int32_t(dy + i0),
            int32_t(j1 - j0), int32_t(i1 - i0)};
}

// Source region and destination rectangle (each defaulting to its whole
// image): the extent is the region's size cut to the rectangle's size.
inline CopySpan RegionSpan(std::optional<Rect> sourceRegion, std::optional<Rect> destRect,
                           int32_t srcW, int32_t srcH, int32_t dstW, int32_t dstH) {
    Rect s = sourceRegion.value_or(Rect{0, 0, srcW, srcH});
    Rect d = destRect.value_or(Rect{0, 0, dstW, dstH});
    return ClipSpan(s.left, s.top, d.left, d.top, std::min(Width64(s), Width64(d)),
                    std::min(Height64(s), Height64(d)), srcW, srcH, dstW, dstH);
}

// Source-over of (rs, gs, bs) with alpha s onto a pixel word, in unsigned
// 32-bit arithmetic with truncating divisions. The four fast paths give
// exactly what the general formula gives:
//   s = 255: t = 255^2, wd = 0               -> the source colour, alpha 255
//   s = 0:   t = 255 d, ws = 0               -> unchanged (the word 0 when d = 0)
//   d = 0:   t = 255 s, wd = 0               -> the source colour, alpha s
//   d = 255: t = 255^2, (x 255) / 255^2      -> (Cd (255 - s) + Cs s) / 255
inline uint32_t SourceOver(uint32_t dst, uint32_t rs, uint32_t gs, uint32_t bs, uint32_t s) {
    const uint32_t d = dst & 0xFF;
    if (s == 255) return 0xFF | (rs << 8) | (gs << 16) | (bs << 24);
    if (s == 0) return d ? dst : 0;
    if (d == 0) return s | (rs << 8) | (gs << 16) | (bs << 24);
    const uint32_t rd = (dst >> 8) & 0xFF, gd = (dst >> 16) & 0xFF, bd = dst >> 24;
    if (d == 255) {
        const uint32_t is = 255 - s;
        return 0xFF | (((rd * is + rs * s) / 255) << 8) | (((gd * is + gs * s) / 255) << 16) |
               (((bd * is + bs * s) / 255) << 24);
    }
    const uint32_t t = (s + d) * 255 - s * d;  // > 0 here: s > 0 and d > 0
    const uint32_t wd = (255 - s) * d, ws = s * 255;
    return (t / 255) | (((rd * wd + rs * ws) / t) << 8) | (((gd * wd + gs * ws) / t) << 16) |
           (((bd * wd + bs * ws) / t) << 24);
}

// Area-averaging reduction of `channels`-byte pixels (1 for masks, 4 for
// colour images, every byte its own channel).
void ReducePixels(const uint8_t* src, int32_t srcW, int32_t srcH, uint8_t* dst, int32_t dstW,
                  int32_t dstH, int channels, std::optional<Rect> rect);

// Whether a row holds only zero elements; written as one OR over the row so
// the compiler can use wide registers.
template <typename T>
bool RowIsClear(const T* row, int32_t width) {
    T any = 0;
    for (int32_t x = 0; x < width; ++x) any |= row[x];
    return any == 0;
}

// Bounding box of the non-zero elements of a tightly packed image; the empty
// rectangle (1000, 1000, -999, -999) when there is none, which the renderer's
// unions ignore. Clear rows are skipped whole; in the others only the
// columns outside the box found so far can widen it.
template <typename T>
Rect BoundsOf(const T* data, int32_t width, int32_t height) {
    int32_t left = width, top = -1, right = -1, bottom = -1;
    for (int32_t y = 0; y < height; ++y) {
        const T* row = data + size_t(y) * size_t(width);
        if (RowIsClear(row, width)) continue;
        for (int32_t x = 0; x < left; ++x) {
            if (row[x] != 0) {
                left = x;
                break;
            }
        }
        for (int32_t x = width - 1; x > right; --x) {
            if (row[x] != 0) {
                right = x;
                break;
            }
        }
        if (top < 0) top = y;
        bottom = y;
    }
    if (top < 0) return {1000, 1000, -999, -999};
    return {left, top, right + 1, bottom + 1};
}

}  // namespace tabora::detail
