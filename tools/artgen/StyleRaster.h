#pragma once
#include <algorithm>
#include <cstdint>
#include <vector>

#include "render/ArgbImage.h"

// Floating-point drawing for the style art. Pictures are built in
// premultiplied RGBA floats and turned into straight-alpha ArgbImages once at
// the end, so partly covered edge pixels keep the true surface colour.
namespace tabora::art::style {

// Straight (not premultiplied) colour, channels 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};

constexpr Rgba Hex(uint32_t rgb, float a = 1) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f, a};
}

inline float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }
inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }
inline float Smooth(float e0, float e1, float x) {
    float t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

// Art is described in CSS pixels and drawn at 1, 2 or 3 device pixels per CSS
// pixel. A ramp written for one device pixel per CSS pixel (0 to 1 across
// one pixel, 0.5 on the edge) is made `scale` times steeper about the same
// crossing, so that an edge stays one device pixel soft at every scale
// rather than growing blurry. At scale 1 the value passes unchanged, to the
// last bit.
inline float Sharpen(float ramp, float scale) { return ramp * scale - (scale - 1) * 0.5f; }
inline float Edge(float ramp, float scale) { return Clamp01(Sharpen(ramp, scale)); }

// Mixes colour and alpha.
inline Rgba Mix(Rgba a, Rgba b, float t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), Lerp(a.a, b.a, t)};
}
// Mixes colour only; keeps a's alpha.
inline Rgba Tint(Rgba a, Rgba b, float t) {
    return {Lerp(a.r, b.r, t), Lerp(a.g, b.g, t), Lerp(a.b, b.b, t), a.a};
}
inline Rgba Lighten(Rgba c, float t) { return Tint(c, {1, 1, 1, 1}, t); }
inline Rgba Darken(Rgba c, float t) { return Tint(c, {0, 0, 0, 1}, t); }
inline Rgba WithAlpha(Rgba c, float a) { return {c.r, c.g, c.b, a}; }
float Luminance(Rgba c);
// Straight colour `top` over straight colour `under`, both with alpha.
Rgba Over(Rgba top, Rgba under);
// Raises (t > 0) or lowers (t < 0) saturation.
Rgba Saturate(Rgba c, float t);

// Premultiplied float picture.
class FloatImage {
public:
    FloatImage(int32_t width, int32_t height)
        : width_(width), height_(height), px_(size_t(width) * size_t(height) * 4, 0.0f) {}

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    float* At(int32_t x, int32_t y) { return &px_[(size_t(y) * size_t(width_) + size_t(x)) * 4]; }
    const float* At(int32_t x, int32_t y) const {
        return &px_[(size_t(y) * size_t(width_) + size_t(x)) * 4];
    }
    // Source-over of a straight colour at the given extra coverage.
    void Blend(int32_t x, int32_t y, Rgba c, float coverage);
    // Source-under: what is already there stays in front.
    void BlendUnder(int32_t x, int32_t y, Rgba c, float coverage);
    Rgba Get(int32_t x, int32_t y) const;  // straight
    // Straight alpha, 8 bits, rounded.
    ArgbImage ToArgb() const;
    static FloatImage FromArgb(const ArgbImage& image);
    // Area-averaging reduction to a smaller size, in premultiplied space so
    // that transparent pixels lend no colour.
    FloatImage Reduced(int32_t width, int32_t height) const;

private:
    int32_t width_, height_;
    std::vector<float> px_;
};

}  // namespace tabora::art::style
