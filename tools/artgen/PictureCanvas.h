#pragma once
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "render/ArgbImage.h"

namespace tabora::art {

// A straight (not premultiplied) colour, channels 0..1.
struct Rgba {
    float r = 0, g = 0, b = 0, a = 0;
};
// 0xRRGGBB as a designer writes it.
constexpr Rgba Hex(uint32_t rgb, float alpha = 1.0f) {
    return {float((rgb >> 16) & 0xFF) / 255.0f, float((rgb >> 8) & 0xFF) / 255.0f,
            float(rgb & 0xFF) / 255.0f, alpha};
}
Rgba Mix(Rgba from, Rgba to, float t);
Rgba WithAlpha(Rgba c, float alpha);
float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);
// SmoothStep for an edge drawn at `scale` device pixels per CSS pixel: the
// edges are in CSS pixels and the step is `scale` times steeper about its
// middle, so a hairline stays one device pixel soft at every scale. Exactly
// SmoothStep at scale 1.
float SharpStep(float edge0, float edge1, float v, int scale);

// What a picture is drawn on: its size in CSS pixels (the layout) and how
// many device pixels a CSS pixel spans. Every coordinate a drawing function
// takes is in CSS pixels; only pixel loops see device pixels.
struct Grid {
    int width = 0;
    int height = 0;
    int scale = 1;
};

// Per-pixel coverage 0..1: what a shape, a line of text or a blur leaves.
class Coverage {
public:
    Coverage() = default;
    explicit Coverage(Grid grid);
    // In device pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    const Grid& GetGrid() const { return grid_; }
    int Scale() const { return grid_.scale; }
    float& At(int x, int y) { return v_[size_t(y) * size_t(width_) + size_t(x)]; }
    // 0 outside the area.
    float Get(int x, int y) const;
    // Full coverage over a rectangle of CSS pixels: hand-set pixels.
    void FillRect(Rect r);

    void Unite(const Coverage& other);      // maximum
    void Intersect(const Coverage& other);  // product
    void Cut(const Coverage& other);        // this × (1 − other)
    void Scale(float factor);
    // Moved by whole CSS pixels.
    Coverage Shifted(int dx, int dy) const;
    // Gaussian blur of standard deviation `sigma` CSS pixels (0 leaves it alone).
    Coverage Blurred(float sigma) const;
    // Smallest rectangle of device pixels holding every pixel above
    // `threshold`; empty when none.
    Rect Ink(float threshold = 0.02f) const;

private:
    Grid grid_;
    int width_ = 0;
    int height_ = 0;
    std::vector<float> v_;
};

// Shapes are signed distances in CSS pixels, negative inside; a device pixel
// is sampled at its centre, ((x + 0.5) / scale, (y + 0.5) / scale).
using Sdf = std::function<float(float x, float y)>;
struct Box {
    float left, top, right, bottom;
};
float SdRoundBox(float x, float y, Box box, float radius);
float SdCircle(float x, float y, float cx, float cy, float radius);
float SdSegment(float x, float y, float ax, float ay, float bx, float by);
// A closed polygon, either winding.
float SdPolygon(float x, float y, const std::vector<std::pair<float, float>>& points);

// Coverage 0.5 − distance, clamped, with the distance in device pixels: the
// area a box filter sees of a straight edge, close enough for every curve
// these pictures hold.
Coverage Rasterize(Grid grid, const Sdf& shape);
// n × n samples of the inside test per device pixel, for small shapes with
// sharp corners.
Coverage RasterizeSampled(Grid grid, const Sdf& shape, int n);

using Paint = std::function<Rgba(float x, float y)>;
Paint Solid(Rgba color);
Paint VerticalGradient(float y0, Rgba top, float y1, Rgba bottom);

// A premultiplied float RGBA picture; everything is source-over. Paints are
// asked for the colour at CSS coordinates.
class Canvas {
public:
    explicit Canvas(Grid grid);
    // In device pixels.
    int Width() const { return width_; }
    int Height() const { return height_; }
    const Grid& GetGrid() const { return grid_; }
    int Scale() const { return grid_.scale; }

    void Fill(const Coverage& coverage, const Paint& paint);
    void Fill(const Coverage& coverage, Rgba color);
    void FillAll(Rgba color);
    // Offsets in CSS pixels; the source is drawn at this canvas's scale.
    void Draw(const Canvas& source, int dx, int dy);
    void Draw(const ArgbImage& source, int dx, int dy);
    Coverage Alpha() const;
    // Straight 8-bit alpha; fully transparent pixels take the colour of the
    // nearest visible one, so nothing dark waits behind an edge.
    ArgbImage ToImage() const;

private:
    struct Px {
        float r, g, b, a;
    };
    void Blend(Px& d, Rgba s, float coverage);
    Grid grid_;
    int width_;
    int height_;
    std::vector<Px> px_;
};

// Nearest-neighbour enlargement, for looking at small pictures.
ArgbImage Enlarge(const ArgbImage& image, int factor);
// The image over an opaque colour.
ArgbImage Flatten(const ArgbImage& image, Rgba background);

}  // namespace tabora::art
