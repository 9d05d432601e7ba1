#pragma once
#include <cmath>
#include <cstdint>

#include "platform/Geometry.h"
#include "render/ArgbImage.h"

namespace tabora::test {

// The mean difference, in 8-bit steps over the four premultiplied channels,
// between `area` of `one` and k times that area of `scaled` averaged down in
// k x k blocks: how far the finer picture is from looking like the 1x one.
inline double MeanErrorOfReduction(const ArgbImage& one, const ArgbImage& scaled, int scale,
                                   Rect area) {
    double total = 0;
    for (int32_t y = area.top; y < area.bottom; ++y)
        for (int32_t x = area.left; x < area.right; ++x) {
            double sum[4] = {};
            for (int32_t j = 0; j < scale; ++j)
                for (int32_t i = 0; i < scale; ++i) {
                    const uint32_t p = scaled.At(x * scale + i, y * scale + j);
                    const double a = PixelAlpha(p);
                    sum[0] += a;
                    sum[1] += PixelRed(p) * a / 255;
                    sum[2] += PixelGreen(p) * a / 255;
                    sum[3] += PixelBlue(p) * a / 255;
                }
            const uint32_t p = one.At(x, y);
            const double a = PixelAlpha(p);
            const double want[4] = {a, PixelRed(p) * a / 255, PixelGreen(p) * a / 255,
                                    PixelBlue(p) * a / 255};
            for (int c = 0; c < 4; ++c) total += std::fabs(sum[c] / (scale * scale) - want[c]);
        }
    return total / (4.0 * area.Width() * area.Height());
}

inline double MeanErrorOfReduction(const ArgbImage& one, const ArgbImage& scaled, int scale) {
    return MeanErrorOfReduction(one, scaled, scale, one.Extent());
}

}  // namespace tabora::test
