#include "render/AlphaMask.h"

#include <algorithm>

#include "render/RasterDetail.h"

namespace tabora {

void AlphaMask::Allocate(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    bytes_.assign(size_t(width_) * size_t(height_), 0);
}

void AlphaMask::Clear() { std::fill(bytes_.begin(), bytes_.end(), uint8_t(0)); }

void AlphaMask::ReduceInto(AlphaMask& dest, std::optional<Rect> rect) const {
    detail::ReducePixels(bytes_.data(), width_, height_, dest.bytes_.data(), dest.width_,
                         dest.height_, 1, rect);
}

void AlphaMask::BlurInto(AlphaMask& dest, int32_t radius, uint32_t num, uint32_t den,
                         std::optional<Rect> placement) const {
    // A negative radius has no box and a zero denominator no gain.
    if (radius < 0 || den == 0) return;
    const Rect p = placement.value_or(Rect{0, 0, width_, height_});
    const int64_t left = p.left, top = p.top;
    // The placement's size is cut to both masks, and its far edges to the
    // destination; sources are read at (x, y) without the placement offset.
    int64_t w = std::min({detail::Width64(p), int64_t(width_), int64_t(dest.width_)});
    w = std::min(left + w, int64_t(dest.width_)) - left;
    int64_t h = std::min({detail::Height64(p), int64_t(height_), int64_t(dest.height_)});
    h = std::min(top + h, int64_t(dest.height_)) - top;

    const int64_t rho = radius;
    // A placement left of or above the destination loses those pixels.
    const int64_t x0 = std::max(rho, -left), x1 = w - rho;
    const int64_t y0 = std::max(rho, -top), y1 = h - rho;
    if (x1 <= x0 || y1 <= y0) return;
    const uint64_t divisor = (4 * uint64_t(rho) * uint64_t(rho + 1) + 1) * den;
    const int64_t stride = width_;
    // Only outputs whose box meets the source's ink can be non-zero; the
    // rest of the area is written as 0 without summing (a caption covers a
    // tenth of the canvas).
    const Rect ink = detail::BoundsOf(bytes_.data(), width_, height_);
    const bool blank = ink.left > ink.right;
    const int64_t inkX0 = blank ? x0 : std::clamp<int64_t>(int64_t(ink.left) - rho, x0, x1);
    const int64_t inkX1 = blank ? x0 : std::clamp<int64_t>(int64_t(ink.right) + rho, inkX0, x1);
    const int64_t inkY0 = blank ? y0 : std::clamp<int64_t>(int64_t(ink.top) - rho, y0, y1);
    const int64_t inkY1 = blank ? y0 : std::clamp<int64_t>(int64_t(ink.bottom) + rho, inkY0, y1);
    for (int64_t y = y0; y < y1; ++y) {
        uint8_t* out = dest.bytes_.data() + (top + y) * int64_t(dest.width_) + left;
        if (y < inkY0 || y >= inkY1 || inkX0 >= inkX1) {
            std::fill(out + x0, out + x1, uint8_t(0));
            continue;
        }
        std::fill(out + x0, out + inkX0, uint8_t(0));
        std::fill(out + inkX1, out + x1, uint8_t(0));
        const uint8_t* top0 = bytes_.data() + (y - rho) * stride;
        // Column sums of the 2 rho + 1 rows around y, slid along the row.
        auto column = [&](int64_t x) {
            uint64_t sum = 0;
            for (const uint8_t* q = top0 + x; q <= top0 + x + 2 * rho * stride; q += stride)
                sum += *q;
            return sum;
        };
        uint64_t sum = 0;
        for (int64_t x = inkX0 - rho; x <= inkX0 + rho; ++x) sum += column(x);
        for (int64_t x = inkX0;; ++x) {
            // The gain may exceed 1; saturate rather than wrap.
            out[x] = sum ? uint8_t(std::min<uint64_t>(sum * num / divisor, 255)) : 0;
            if (x + 1 >= inkX1) break;
            sum += column(x + rho + 1);
            sum -= column(x - rho);
        }
    }
}

Rect AlphaMask::Bounds() const { return detail::BoundsOf(bytes_.data(), width_, height_); }

}  // namespace tabora
