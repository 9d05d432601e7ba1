// Area-averaging reduction, shared by ArgbImage and AlphaMask.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "render/RasterDetail.h"

namespace tabora::detail {

namespace {

// Exported pixels depend on every rounding of this loop: the weights are
// formed and summed in double precision in the order rows, then columns,
// exactly as the averaging was first defined. Terms of weight 0 are skipped,
// which cannot change a sum of non-negative terms. The source columns of each
// destination column and their weights are the same on every row, so they
// are worked out once (with the same arithmetic), as are a row's.
template <int N>
void ReduceGeneral(const uint8_t* src, int64_t srcW, int64_t srcH, uint8_t* dst, int64_t dstW,
                   int64_t left, int64_t top, int64_t i0, int64_t i1, int64_t j0, int64_t j1,
                   double r) {
    const double r2 = r * r;
    // A column's (or a row's) source span and the weights of its pixels.
    struct Span {
        int64_t first = 0;
        int64_t last = -1;
        const double* weights = nullptr;  // null: formed as they are used
    };
    auto spanOf = [r](int64_t j, int64_t size, double* weights) {
        const double x0 = double(j) * r, x1 = x0 + r;
        const double fx0 = std::floor(x0), fx1 = std::floor(x1);
        Span span{int64_t(fx0), std::min(int64_t(fx1), size - 1), weights};
        if (weights)
            for (int64_t x = span.first; x <= span.last; ++x)
                weights[x - span.first] =
                    x == span.first ? 1 - (x0 - fx0) : (x == int64_t(fx1) ? x1 - fx1 : 1.0);
        return span;
    };
    auto weightOf = [r](const Span& span, int64_t j, int64_t x) {
        if (span.weights) return span.weights[x - span.first];
        const double x0 = double(j) * r, x1 = x0 + r;
        const double fx0 = std::floor(x0), fx1 = std::floor(x1);
        return x == span.first ? 1 - (x0 - fx0) : (x == int64_t(fx1) ? x1 - fx1 : 1.0);
    };
    // Fixed room, so that rendering never allocates; what does not fit (a
    // reduction by more than a few dozen times, or wider than any canvas)
    // forms its weights as it goes, with the same arithmetic.
    constexpr int64_t kListedColumns = 1024;
    constexpr size_t kListedWeights = 8192;
    thread_local Span columns[kListedColumns];
    thread_local double columnWeights[kListedWeights];
    thread_local double rowWeights[kListedWeights];
    const bool listedColumns = j1 - j0 <= kListedColumns;
    size_t used = 0;
    if (listedColumns) {
        for (int64_t j = j0; j < j1; ++j) {
            const bool room = used + size_t(std::ceil(r)) + 1 <= kListedWeights;
            Span& span = columns[j - j0];
            span = spanOf(j, srcW, room ? columnWeights + used : nullptr);
            if (room) used += size_t(std::max<int64_t>(0, span.last - span.first + 1));
        }
    }
    for (int64_t i = i0; i < i1; ++i) {
        const bool listedRow = size_t(std::ceil(r)) + 1 <= kListedWeights;
        const Span row = spanOf(i, srcH, listedRow ? rowWeights : nullptr);
        uint8_t* out = dst + ((top + i) * dstW + left) * N;
        for (int64_t j = j0; j < j1; ++j) {
            const Span column = listedColumns ? columns[j - j0] : spanOf(j, srcW, nullptr);
            double sum[N] = {};
            for (int64_t y = row.first; y <= row.last; ++y) {
                const double rowWeight = weightOf(row, i, y);
                const uint8_t* line = src + y * srcW * N;
                for (int64_t x = column.first; x <= column.last; ++x) {
                    const double weight = rowWeight * weightOf(column, j, x);
                    if (weight == 0) continue;
                    for (int c = 0; c < N; ++c) sum[c] += weight * line[x * N + c];
                }
            }
            for (int c = 0; c < N; ++c) {
                const double v = sum[c] / r2;
                out[j * N + c] = uint8_t(v >= 255 ? 255 : int(v));
            }
        }
    }
}

// A whole ratio k makes every weight 1 (the k x k block) or 0 (the row and
// column after it), so the double sum is an exact integer sum and only the
// final division needs floating point.
template <int N>
void ReduceWhole(const uint8_t* src, int64_t srcW, int64_t srcH, uint8_t* dst, int64_t dstW,
                 int64_t left, int64_t top, int64_t i0, int64_t i1, int64_t j0, int64_t j1,
                 double r) {
    const double r2 = r * r;
    const int64_t k = int64_t(r);
    // A mask (a caption drawn four times larger) is mostly clear: blocks
    // outside its ink box average to 0 and are written so without summing.
    int64_t inkI0 = i0, inkI1 = i1, inkJ0 = j0, inkJ1 = j1;
    if constexpr (N == 1) {
        const Rect ink = BoundsOf(src, int32_t(srcW), int32_t(srcH));
        if (ink.left > ink.right) {
            inkI0 = inkI1 = i0;
        } else {
            inkI0 = std::clamp<int64_t>(ink.top / k, i0, i1);
            inkI1 = std::clamp<int64_t>((int64_t(ink.bottom) + k - 1) / k, inkI0, i1);
            inkJ0 = std::clamp<int64_t>(ink.left / k, j0, j1);
            inkJ1 = std::clamp<int64_t>((int64_t(ink.right) + k - 1) / k, inkJ0, j1);
        }
    }
    for (int64_t i = i0; i < i1; ++i) {
        const int64_t ya = i * k, yb = std::min(ya + k, srcH);
        uint8_t* out = dst + ((top + i) * dstW + left) * N;
        if (i < inkI0 || i >= inkI1) {
            std::memset(out + j0 * N, 0, size_t(j1 - j0) * N);
            continue;
        }
        std::memset(out + j0 * N, 0, size_t(inkJ0 - j0) * N);
        std::memset(out + inkJ1 * N, 0, size_t(j1 - inkJ1) * N);
        for (int64_t j = inkJ0; j < inkJ1; ++j) {
            const int64_t xa = j * k, xb = std::min(xa + k, srcW);
            uint64_t sum[N] = {};
            for (int64_t y = ya; y < yb; ++y) {
                const uint8_t* p = src + (y * srcW + xa) * N;
                for (int64_t x = xa; x < xb; ++x, p += N)
                    for (int c = 0; c < N; ++c) sum[c] += p[c];
            }
            for (int c = 0; c < N; ++c) {
                const double v = double(sum[c]) / r2;
                out[j * N + c] = uint8_t(v >= 255 ? 255 : int(v));
            }
        }
    }
}

template <int N>
void Reduce(const uint8_t* src, int32_t srcW, int32_t srcH, uint8_t* dst, int32_t dstW,
            int32_t dstH, std::optional<Rect> rect) {
    const Rect target = rect.value_or(Rect{0, 0, dstW, dstH});
    const int64_t w = std::min(Width64(target), int64_t(srcW));
    const int64_t h = std::min(Height64(target), int64_t(srcH));
    if (w <= 0 || h <= 0) return;
    const double r = double(srcW) / double(w);
    const int64_t left = target.left, top = target.top;
    if (r == 1.0) {
        // Same width: the source is copied unchanged, all of its rows.
        CopySpan span = ClipSpan(0, 0, left, top, srcW, srcH, srcW, srcH, dstW, dstH);
        for (int32_t y = 0; y < span.height; ++y)
            std::memcpy(dst + (int64_t(span.dstY + y) * dstW + span.dstX) * N,
                        src + (int64_t(span.srcY + y) * srcW + span.srcX) * N,
                        size_t(span.width) * N);
        return;
    }
    // Destination pixels outside the destination image are not computed.
    const int64_t j0 = std::max(int64_t(0), -left), j1 = std::min(w, dstW - left);
    const int64_t i0 = std::max(int64_t(0), -top), i1 = std::min(h, dstH - top);
    if (j1 <= j0 || i1 <= i0) return;
    if (r == std::floor(r))
        ReduceWhole<N>(src, srcW, srcH, dst, dstW, left, top, i0, i1, j0, j1, r);
    else
        ReduceGeneral<N>(src, srcW, srcH, dst, dstW, left, top, i0, i1, j0, j1, r);
}

}  // namespace

void ReducePixels(const uint8_t* src, int32_t srcW, int32_t srcH, uint8_t* dst, int32_t dstW,
                  int32_t dstH, int channels, std::optional<Rect> rect) {
    if (srcW <= 0 || srcH <= 0 || dstW <= 0 || dstH <= 0) return;
    if (channels == 4)
        Reduce<4>(src, srcW, srcH, dst, dstW, dstH, rect);
    else
        Reduce<1>(src, srcW, srcH, dst, dstW, dstH, rect);
}

}  // namespace tabora::detail
