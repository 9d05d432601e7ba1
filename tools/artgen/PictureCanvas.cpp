#include "tools/artgen/PictureCanvas.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace tabora::art {

Rgba Mix(Rgba from, Rgba to, float t) {
    return {from.r + (to.r - from.r) * t, from.g + (to.g - from.g) * t,
            from.b + (to.b - from.b) * t, from.a + (to.a - from.a) * t};
}

Rgba WithAlpha(Rgba c, float alpha) { return {c.r, c.g, c.b, alpha}; }

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

float SmoothStep(float edge0, float edge1, float v) {
    float t = Clamp01((v - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

float SharpStep(float edge0, float edge1, float v, int scale) {
    const float k = float(scale);
    float t = Clamp01((v - edge0) / (edge1 - edge0) * k - (k - 1.0f) * 0.5f);
    return t * t * (3.0f - 2.0f * t);
}

Coverage::Coverage(Grid grid)
    : grid_(grid),
      width_(grid.width * grid.scale),
      height_(grid.height * grid.scale),
      v_(size_t(width_) * size_t(height_), 0.0f) {}

float Coverage::Get(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0.0f;
    return v_[size_t(y) * size_t(width_) + size_t(x)];
}

void Coverage::FillRect(Rect r) {
    const int k = grid_.scale;
    r = Rect{r.left * k, r.top * k, r.right * k, r.bottom * k}.Intersect({0, 0, width_, height_});
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) At(x, y) = 1.0f;
}

void Coverage::Unite(const Coverage& other) {
    for (size_t i = 0; i < v_.size(); ++i) v_[i] = std::max(v_[i], other.v_[i]);
}

void Coverage::Intersect(const Coverage& other) {
    for (size_t i = 0; i < v_.size(); ++i) v_[i] *= other.v_[i];
}

void Coverage::Cut(const Coverage& other) {
    for (size_t i = 0; i < v_.size(); ++i) v_[i] *= 1.0f - other.v_[i];
}

void Coverage::Scale(float factor) {
    for (float& v : v_) v = Clamp01(v * factor);
}

Coverage Coverage::Shifted(int dx, int dy) const {
    dx *= grid_.scale;
    dy *= grid_.scale;
    Coverage out(grid_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) out.At(x, y) = Get(x - dx, y - dy);
    return out;
}

Coverage Coverage::Blurred(float sigma) const {
    if (sigma <= 0.0f) return *this;
    sigma *= float(grid_.scale);
    const int radius = int(std::ceil(sigma * 3.0f));
    std::vector<float> kernel(size_t(2 * radius + 1));
    float sum = 0.0f;
    for (int i = -radius; i <= radius; ++i) {
        kernel[size_t(i + radius)] = std::exp(-float(i * i) / (2.0f * sigma * sigma));
        sum += kernel[size_t(i + radius)];
    }
    for (float& k : kernel) k /= sum;
    Coverage across(grid_), out(grid_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float acc = 0.0f;
            for (int i = -radius; i <= radius; ++i)
                acc += kernel[size_t(i + radius)] * Get(x + i, y);
            across.At(x, y) = acc;
        }
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            float acc = 0.0f;
            for (int i = -radius; i <= radius; ++i)
                acc += kernel[size_t(i + radius)] * across.Get(x, y + i);
            out.At(x, y) = acc;
        }
    return out;
}

Rect Coverage::Ink(float threshold) const {
    Rect ink;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            if (Get(x, y) > threshold) ink = ink.Union({x, y, x + 1, y + 1});
    return ink;
}

float SdRoundBox(float x, float y, Box box, float radius) {
    const float cx = (box.left + box.right) * 0.5f, cy = (box.top + box.bottom) * 0.5f;
    const float hx = (box.right - box.left) * 0.5f - radius;
    const float hy = (box.bottom - box.top) * 0.5f - radius;
    const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - radius;
}

float SdCircle(float x, float y, float cx, float cy, float radius) {
    return std::hypot(x - cx, y - cy) - radius;
}

float SdSegment(float x, float y, float ax, float ay, float bx, float by) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t);
}

float SdPolygon(float x, float y, const std::vector<std::pair<float, float>>& points) {
    float best = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        auto [xi, yi] = points[i];
        auto [xj, yj] = points[j];
        best = std::min(best, SdSegment(x, y, xj, yj, xi, yi));
        if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
    }
    return inside ? -best : best;
}

Coverage Rasterize(Grid grid, const Sdf& shape) {
    Coverage out(grid);
    const float k = float(grid.scale);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x)
            out.At(x, y) = Clamp01(0.5f - shape((float(x) + 0.5f) / k, (float(y) + 0.5f) / k) * k);
    return out;
}

Coverage RasterizeSampled(Grid grid, const Sdf& shape, int n) {
    Coverage out(grid);
    const float k = float(grid.scale);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            int hits = 0;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i)
                    if (shape((float(x) + (float(i) + 0.5f) / float(n)) / k,
                              (float(y) + (float(j) + 0.5f) / float(n)) / k) < 0.0f)
                        ++hits;
            out.At(x, y) = float(hits) / float(n * n);
        }
    return out;
}

Paint Solid(Rgba color) {
    return [color](float, float) { return color; };
}

Paint VerticalGradient(float y0, Rgba top, float y1, Rgba bottom) {
    return [=](float, float y) { return Mix(top, bottom, Clamp01((y - y0) / (y1 - y0))); };
}

Canvas::Canvas(Grid grid)
    : grid_(grid),
      width_(grid.width * grid.scale),
      height_(grid.height * grid.scale),
      px_(size_t(width_) * size_t(height_), Px{0, 0, 0, 0}) {}

void Canvas::Blend(Px& d, Rgba s, float coverage) {
    const float a = Clamp01(s.a * coverage);
    d.r = s.r * a + d.r * (1.0f - a);
    d.g = s.g * a + d.g * (1.0f - a);
    d.b = s.b * a + d.b * (1.0f - a);
    d.a = a + d.a * (1.0f - a);
}

void Canvas::Fill(const Coverage& coverage, const Paint& paint) {
    const float k = float(grid_.scale);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const float c = coverage.Get(x, y);
            if (c <= 0.0f) continue;
            Blend(px_[size_t(y) * size_t(width_) + size_t(x)],
                  paint((float(x) + 0.5f) / k, (float(y) + 0.5f) / k), c);
        }
}

void Canvas::Fill(const Coverage& coverage, Rgba color) { Fill(coverage, Solid(color)); }

void Canvas::FillAll(Rgba color) {
    for (Px& p : px_) Blend(p, color, 1.0f);
}

void Canvas::Draw(const Canvas& source, int dx, int dy) {
    dx *= grid_.scale;
    dy *= grid_.scale;
    for (int y = 0; y < source.height_; ++y)
        for (int x = 0; x < source.width_; ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const Px& s = source.px_[size_t(y) * size_t(source.width_) + size_t(x)];
            Px& d = px_[size_t(ty) * size_t(width_) + size_t(tx)];
            d.r = s.r + d.r * (1.0f - s.a);
            d.g = s.g + d.g * (1.0f - s.a);
            d.b = s.b + d.b * (1.0f - s.a);
            d.a = s.a + d.a * (1.0f - s.a);
        }
}

void Canvas::Draw(const ArgbImage& source, int dx, int dy) {
    dx *= grid_.scale;
    dy *= grid_.scale;
    for (int y = 0; y < source.Height(); ++y)
        for (int x = 0; x < source.Width(); ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const uint32_t p = source.At(x, y);
            Blend(px_[size_t(ty) * size_t(width_) + size_t(tx)],
                  {float(PixelRed(p)) / 255.0f, float(PixelGreen(p)) / 255.0f,
                   float(PixelBlue(p)) / 255.0f, float(PixelAlpha(p)) / 255.0f},
                  1.0f);
        }
}

Coverage Canvas::Alpha() const {
    Coverage out(grid_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            out.At(x, y) = px_[size_t(y) * size_t(width_) + size_t(x)].a;
    return out;
}

namespace {

uint8_t ToByte(float v) { return uint8_t(std::lround(Clamp01(v) * 255.0f)); }

}  // namespace

ArgbImage Canvas::ToImage() const {
    ArgbImage image(width_, height_);
    std::vector<uint8_t> known(px_.size(), 0);
    std::deque<size_t> frontier;
    for (size_t i = 0; i < px_.size(); ++i) {
        const Px& p = px_[i];
        const uint8_t a = ToByte(p.a);
        if (a == 0) continue;
        image.Pixels()[i] = MakePixel(a, ToByte(p.r / p.a), ToByte(p.g / p.a), ToByte(p.b / p.a));
        known[i] = 1;
        frontier.push_back(i);
    }
    // Breadth-first from the visible pixels: each hidden pixel copies the
    // colour of the neighbour that reached it first.
    while (!frontier.empty()) {
        const size_t i = frontier.front();
        frontier.pop_front();
        const int x = int(i % size_t(width_)), y = int(i / size_t(width_));
        const int nx[4] = {x - 1, x + 1, x, x};
        const int ny[4] = {y, y, y - 1, y + 1};
        for (int k = 0; k < 4; ++k) {
            if (nx[k] < 0 || ny[k] < 0 || nx[k] >= width_ || ny[k] >= height_) continue;
            const size_t j = size_t(ny[k]) * size_t(width_) + size_t(nx[k]);
            if (known[j]) continue;
            known[j] = 1;
            image.Pixels()[j] = image.Pixels()[i] & ~uint32_t(0xFF);
            frontier.push_back(j);
        }
    }
    return image;
}

ArgbImage Enlarge(const ArgbImage& image, int factor) {
    ArgbImage out(image.Width() * factor, image.Height() * factor);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) out.At(x, y) = image.At(x / factor, y / factor);
    return out;
}

ArgbImage Flatten(const ArgbImage& image, Rgba background) {
    Canvas canvas({image.Width(), image.Height(), 1});
    canvas.FillAll(background);
    canvas.Draw(image, 0, 0);
    return canvas.ToImage();
}

}  // namespace tabora::art
