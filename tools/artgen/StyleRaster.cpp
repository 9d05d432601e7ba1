#include "tools/artgen/StyleRaster.h"

#include <cmath>

namespace tabora::art::style {

float Luminance(Rgba c) { return 0.2126f * c.r + 0.7152f * c.g + 0.0722f * c.b; }

Rgba Over(Rgba top, Rgba under) {
    const float a = top.a + under.a * (1 - top.a);
    if (a <= 0) return {top.r, top.g, top.b, 0};
    auto ch = [&](float t, float u) { return (t * top.a + u * under.a * (1 - top.a)) / a; };
    return {ch(top.r, under.r), ch(top.g, under.g), ch(top.b, under.b), a};
}

Rgba Saturate(Rgba c, float t) {
    const float l = Luminance(c);
    auto ch = [&](float v) { return Clamp01(l + (v - l) * (1 + t)); };
    return {ch(c.r), ch(c.g), ch(c.b), c.a};
}

void FloatImage::Blend(int32_t x, int32_t y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = Clamp01(c.a * coverage);
    if (a <= 0) return;
    float* p = At(x, y);
    p[0] = c.r * a + p[0] * (1 - a);
    p[1] = c.g * a + p[1] * (1 - a);
    p[2] = c.b * a + p[2] * (1 - a);
    p[3] = a + p[3] * (1 - a);
}

void FloatImage::BlendUnder(int32_t x, int32_t y, Rgba c, float coverage) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    const float a = Clamp01(c.a * coverage);
    if (a <= 0) return;
    float* p = At(x, y);
    const float room = 1 - p[3];
    p[0] += c.r * a * room;
    p[1] += c.g * a * room;
    p[2] += c.b * a * room;
    p[3] += a * room;
}

Rgba FloatImage::Get(int32_t x, int32_t y) const {
    const float* p = At(x, y);
    if (p[3] <= 0) return {0, 0, 0, 0};
    return {p[0] / p[3], p[1] / p[3], p[2] / p[3], p[3]};
}

ArgbImage FloatImage::ToArgb() const {
    ArgbImage out(width_, height_);
    auto q = [](float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); };
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width_; ++x) {
            const uint8_t a = q(At(x, y)[3]);
            if (a == 0) continue;  // fully transparent pixels are all zero
            Rgba c = Get(x, y);
            out.At(x, y) = MakePixel(a, q(c.r), q(c.g), q(c.b));
        }
    }
    return out;
}

FloatImage FloatImage::FromArgb(const ArgbImage& image) {
    FloatImage out(image.Width(), image.Height());
    for (int32_t y = 0; y < image.Height(); ++y) {
        for (int32_t x = 0; x < image.Width(); ++x) {
            const uint32_t p = image.At(x, y);
            const float a = float(PixelAlpha(p)) / 255.0f;
            float* d = out.At(x, y);
            d[0] = float(PixelRed(p)) / 255.0f * a;
            d[1] = float(PixelGreen(p)) / 255.0f * a;
            d[2] = float(PixelBlue(p)) / 255.0f * a;
            d[3] = a;
        }
    }
    return out;
}

namespace {

// Weights of each source index for each destination index when n source
// samples are averaged down to m (box filter with exact fractional edges).
std::vector<std::vector<std::pair<int32_t, float>>> AreaWeights(int32_t n, int32_t m) {
    std::vector<std::vector<std::pair<int32_t, float>>> w(static_cast<size_t>(m));
    const double scale = double(n) / double(m);
    for (int32_t i = 0; i < m; ++i) {
        const double lo = i * scale, hi = (i + 1) * scale;
        for (int32_t s = int32_t(lo); s < n && s < hi; ++s) {
            const double part = std::min(hi, double(s + 1)) - std::max(lo, double(s));
            if (part > 0) w[size_t(i)].push_back({s, float(part / scale)});
        }
    }
    return w;
}

}  // namespace

FloatImage FloatImage::Reduced(int32_t width, int32_t height) const {
    const auto wx = AreaWeights(width_, width);
    const auto wy = AreaWeights(height_, height);
    FloatImage rows(width, height_);
    for (int32_t y = 0; y < height_; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            float* d = rows.At(x, y);
            for (auto [s, f] : wx[size_t(x)])
                for (int k = 0; k < 4; ++k) d[k] += At(s, y)[k] * f;
        }
    }
    FloatImage out(width, height);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            float* d = out.At(x, y);
            for (auto [s, f] : wy[size_t(y)])
                for (int k = 0; k < 4; ++k) d[k] += rows.At(x, s)[k] * f;
        }
    }
    return out;
}

}  // namespace tabora::art::style
