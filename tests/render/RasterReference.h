#pragma once
// Slow, obviously literal versions of the raster operations: one pixel at a
// time, every access bounds-checked, every formula as first written down.
// The real operations must match them bit for bit.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>

#include "render/AlphaMask.h"
#include "render/ArgbImage.h"

namespace tabora::ref {

inline bool Inside(int64_t x, int64_t y, int64_t w, int64_t h) {
    return x >= 0 && y >= 0 && x < w && y < h;
}

inline uint32_t SourceOver(uint32_t dst, uint32_t cr, uint32_t cg, uint32_t cb, uint32_t s) {
    uint32_t d = dst & 0xFF;
    uint32_t t = (s + d) * 255 - s * d;
    if (t == 0) return 0;
    uint32_t wd = (255 - s) * d, ws = s * 255;
    uint32_t r = (((dst >> 8) & 0xFF) * wd + cr * ws) / t;
    uint32_t g = (((dst >> 16) & 0xFF) * wd + cg * ws) / t;
    uint32_t b = ((dst >> 24) * wd + cb * ws) / t;
    return (t / 255) | (r << 8) | (g << 16) | (b << 24);
}

inline void CompositeOver(const ArgbImage& src, ArgbImage& dst, Rect sr, Rect dr) {
    int64_t w = std::min(int64_t(sr.right) - sr.left, int64_t(dr.right) - dr.left);
    int64_t h = std::min(int64_t(sr.bottom) - sr.top, int64_t(dr.bottom) - dr.top);
    // Walk only the part of the extent that can touch the source, so that
    // hostile rectangles stay cheap; the checks below do the clipping.
    for (int64_t i = std::max<int64_t>(0, -int64_t(sr.top)); i < std::min<int64_t>(h, src.Height() - int64_t(sr.top)); ++i)
        for (int64_t j = std::max<int64_t>(0, -int64_t(sr.left)); j < std::min<int64_t>(w, src.Width() - int64_t(sr.left)); ++j) {
            int64_t sx = sr.left + j, sy = sr.top + i, dx = dr.left + j, dy = dr.top + i;
            if (!Inside(sx, sy, src.Width(), src.Height())) continue;
            if (!Inside(dx, dy, dst.Width(), dst.Height())) continue;
            uint32_t p = src.At(int32_t(sx), int32_t(sy));
            uint32_t& q = dst.At(int32_t(dx), int32_t(dy));
            q = SourceOver(q, PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p));
        }
}

inline void StretchMiddle(const ArgbImage& src, ArgbImage& dst, Rect rect, int32_t c) {
    int64_t W = src.Width(), D = int64_t(rect.right) - rect.left, E = D - W;
    for (int64_t i = 0; i < std::min<int64_t>(int64_t(rect.bottom) - rect.top, src.Height()); ++i)
        for (int64_t j = std::max<int64_t>(0, -int64_t(rect.left)); j < std::min<int64_t>(D, dst.Width() - int64_t(rect.left)); ++j) {
            int64_t k = j < c ? j : (j <= c + E ? c : j - E);
            int64_t dx = rect.left + j, dy = rect.top + i;
            if (!Inside(dx, dy, dst.Width(), dst.Height())) continue;
            dst.At(int32_t(dx), int32_t(dy)) = src.At(int32_t(k), int32_t(i));
        }
}

// The averaging on one channel: `get(x, y)` reads a source channel value,
// `put(x, y, v)` writes a destination one.
template <class Get, class Put>
void Reduce(int32_t sw, int32_t sh, int32_t dw, int32_t dh, std::optional<Rect> rect, Get get,
            Put put) {
    Rect rc = rect.value_or(Rect{0, 0, dw, dh});
    int64_t rw = std::min<int64_t>(int64_t(rc.right) - rc.left, sw);
    int64_t rh = std::min<int64_t>(int64_t(rc.bottom) - rc.top, sh);
    if (rw <= 0 || rh <= 0) return;
    double r = double(sw) / double(rw);
    if (r == 1.0) {
        for (int64_t y = 0; y < sh; ++y)
            for (int64_t x = 0; x < sw; ++x)
                if (Inside(rc.left + x, rc.top + y, dw, dh))
                    put(rc.left + x, rc.top + y, get(x, y));
        return;
    }
    for (int64_t i = std::max<int64_t>(0, -int64_t(rc.top)); i < std::min<int64_t>(rh, dh - int64_t(rc.top)); ++i)
        for (int64_t j = std::max<int64_t>(0, -int64_t(rc.left)); j < std::min<int64_t>(rw, dw - int64_t(rc.left)); ++j) {
            double y0 = i * r, y1 = y0 + r, x0 = j * r, x1 = x0 + r;
            double sum = 0;
            for (int64_t y = int64_t(std::floor(y0)); y <= int64_t(std::floor(y1)); ++y) {
                double rowW = y == std::floor(y0) ? 1 - (y0 - std::floor(y0))
                              : y == std::floor(y1) ? y1 - std::floor(y1) : 1;
                for (int64_t x = int64_t(std::floor(x0)); x <= int64_t(std::floor(x1)); ++x) {
                    double colW = x == std::floor(x0) ? 1 - (x0 - std::floor(x0))
                                  : x == std::floor(x1) ? x1 - std::floor(x1) : 1;
                    double weight = rowW * colW;
                    if (Inside(x, y, sw, sh)) sum += weight * get(x, y);
                }
            }
            put(rc.left + j, rc.top + i, int(sum / (r * r)));
        }
}

inline void ReduceImage(const ArgbImage& src, ArgbImage& dst, std::optional<Rect> rect) {
    for (int shift = 0; shift < 32; shift += 8)
        Reduce(src.Width(), src.Height(), dst.Width(), dst.Height(), rect,
               [&](int64_t x, int64_t y) { return (src.At(int32_t(x), int32_t(y)) >> shift) & 0xFF; },
               [&](int64_t x, int64_t y, uint32_t v) {
                   uint32_t& p = dst.At(int32_t(x), int32_t(y));
                   p = (p & ~(0xFFu << shift)) | (v << shift);
               });
}

inline void ReduceMask(const AlphaMask& src, AlphaMask& dst, std::optional<Rect> rect) {
    Reduce(src.Width(), src.Height(), dst.Width(), dst.Height(), rect,
           [&](int64_t x, int64_t y) { return src.At(int32_t(x), int32_t(y)); },
           [&](int64_t x, int64_t y, uint32_t v) { dst.At(int32_t(x), int32_t(y)) = uint8_t(v); });
}

inline void Blur(const AlphaMask& src, AlphaMask& dst, int rho, uint32_t num, uint32_t den,
                 std::optional<Rect> placement) {
    Rect p = placement.value_or(Rect{0, 0, src.Width(), src.Height()});
    int64_t w = std::min<int64_t>(int64_t(p.right) - p.left, src.Width());
    w = std::min<int64_t>(w, dst.Width());
    int64_t right = std::min<int64_t>(p.left + w, dst.Width());
    w = right - p.left;
    int64_t h = std::min<int64_t>(int64_t(p.bottom) - p.top, src.Height());
    h = std::min<int64_t>(h, dst.Height());
    int64_t bottom = std::min<int64_t>(p.top + h, dst.Height());
    h = bottom - p.top;
    for (int64_t y = rho; y <= h - rho - 1; ++y)
        for (int64_t x = rho; x <= w - rho - 1; ++x) {
            uint64_t sum = 0;
            for (int64_t yy = y - rho; yy <= y + rho; ++yy)
                for (int64_t xx = x - rho; xx <= x + rho; ++xx)
                    sum += src.At(int32_t(xx), int32_t(yy));
            if (Inside(p.left + x, p.top + y, dst.Width(), dst.Height()))
                dst.At(int32_t(p.left + x), int32_t(p.top + y)) =
                    uint8_t(sum * num / ((4 * rho * (rho + 1) + 1) * uint64_t(den)));
        }
}

// Random contents in runs, as real pictures have them, with plenty of the
// alpha values 0 and 255.
inline void Randomize(ArgbImage& img, std::mt19937& rng) {
    uint32_t word = 0;
    for (int32_t y = 0; y < img.Height(); ++y)
        for (int32_t x = 0; x < img.Width(); ++x) {
            if (rng() % 4 == 0) {
                word = rng();
                uint32_t a = rng() % 3;
                if (a < 2) word = (word & ~0xFFu) | (a ? 0xFF : 0);
            }
            img.At(x, y) = word;
        }
}

inline void Randomize(AlphaMask& mask, std::mt19937& rng) {
    for (int32_t y = 0; y < mask.Height(); ++y)
        for (int32_t x = 0; x < mask.Width(); ++x) {
            uint32_t v = rng() % 4;
            mask.At(x, y) = uint8_t(v == 0 ? 0 : v == 1 ? 255 : rng());
        }
}

// One random box of ink, at most `maxSide` pixels a side, in an otherwise
// untouched mask: captions and bodies are islands in a clear canvas.
inline void AddInkIsland(AlphaMask& mask, std::mt19937& rng, int32_t maxSide) {
    const int32_t l = int32_t(rng() % uint32_t(mask.Width()));
    const int32_t t = int32_t(rng() % uint32_t(mask.Height()));
    const int32_t r = l + 1 + int32_t(rng() % uint32_t(std::min(maxSide, mask.Width() - l)));
    const int32_t b = t + 1 + int32_t(rng() % uint32_t(std::min(maxSide, mask.Height() - t)));
    for (int32_t y = t; y < b; ++y)
        for (int32_t x = l; x < r; ++x) mask.At(x, y) = uint8_t(rng() % 3 ? rng() : 0);
}

inline bool Same(const ArgbImage& a, const ArgbImage& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Pixels(), a.Pixels() + size_t(a.Width()) * a.Height(), b.Pixels());
}
inline bool Same(const AlphaMask& a, const AlphaMask& b) {
    return a.Width() == b.Width() && a.Height() == b.Height() &&
           std::equal(a.Bytes(), a.Bytes() + size_t(a.Width()) * a.Height(), b.Bytes());
}

}  // namespace tabora::ref
