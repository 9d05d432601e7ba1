#include "tools/artgen/StyleShapes.h"

#include <algorithm>
#include <cmath>

namespace tabora::art::style {

namespace {

float Dot(Vec2 a, Vec2 b) { return a.x * b.x + a.y * b.y; }
float Length(Vec2 a) { return std::sqrt(Dot(a, a)); }
Vec2 Sub(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }

// Moves every vertex of a polygon inwards by `by` along the bisector of its
// two edges (the mitre), so that the outline of the smaller polygon grown
// back by `by` is the original with rounded convex corners.
void Inset(Vec2* v, int n, float by) {
    if (by <= 0) return;
    // Winding sign from the shoelace area; y grows downwards.
    float area = 0;
    for (int i = 0; i < n; ++i) {
        const Vec2 a = v[i], b = v[(i + 1) % n];
        area += a.x * b.y - b.x * a.y;
    }
    const float side = area > 0 ? 1.0f : -1.0f;
    Vec2 out[16];
    for (int i = 0; i < n; ++i) {
        const Vec2 prev = v[(i + n - 1) % n], cur = v[i], next = v[(i + 1) % n];
        Vec2 e1 = Sub(cur, prev), e2 = Sub(next, cur);
        const float l1 = Length(e1), l2 = Length(e2);
        e1 = {e1.x / l1, e1.y / l1};
        e2 = {e2.x / l2, e2.y / l2};
        // Inward normals of both edges.
        const Vec2 n1{-e1.y * side, e1.x * side}, n2{-e2.y * side, e2.x * side};
        const float k = by / (1 + Dot(n1, n2));
        out[i] = {cur.x + (n1.x + n2.x) * k, cur.y + (n1.y + n2.y) * k};
    }
    std::copy(out, out + n, v);
}

}  // namespace

float SdBox(Vec2 p, Vec2 c, Vec2 half, float r) {
    r = std::min({r, half.x, half.y});
    const float qx = std::fabs(p.x - c.x) - half.x + r, qy = std::fabs(p.y - c.y) - half.y + r;
    const float outside = std::hypot(std::max(qx, 0.0f), std::max(qy, 0.0f));
    return outside + std::min(std::max(qx, qy), 0.0f) - r;
}

float SdBox4(Vec2 p, Vec2 c, Vec2 half, std::array<float, 4> radii) {
    const bool right = p.x > c.x, below = p.y > c.y;
    const float r = below ? (right ? radii[2] : radii[3]) : (right ? radii[1] : radii[0]);
    return SdBox(p, c, half, r);
}

float SdCircle(Vec2 p, Vec2 c, float r) { return Length(Sub(p, c)) - r; }

float SdPolygon(Vec2 p, const Vec2* v, int n) {
    float d = Dot(Sub(p, v[0]), Sub(p, v[0]));
    float s = 1;
    for (int i = 0, j = n - 1; i < n; j = i, ++i) {
        const Vec2 e = Sub(v[j], v[i]), w = Sub(p, v[i]);
        const float t = std::clamp(Dot(w, e) / Dot(e, e), 0.0f, 1.0f);
        const Vec2 b{w.x - e.x * t, w.y - e.y * t};
        d = std::min(d, Dot(b, b));
        // Crossing count for the sign: inside when odd.
        const bool above = p.y >= v[i].y;
        const bool below = p.y < v[j].y;
        const bool left = e.x * w.y > e.y * w.x;
        if ((above && below && left) || (!above && !below && !left)) s = -s;
    }
    return s * std::sqrt(d);
}

float SdSegment(Vec2 p, Vec2 a, Vec2 b, float r) {
    const Vec2 pa = Sub(p, a), ba = Sub(b, a);
    const float h = std::clamp(Dot(pa, ba) / Dot(ba, ba), 0.0f, 1.0f);
    return Length({pa.x - ba.x * h, pa.y - ba.y * h}) - r;
}

ShapeField::ShapeField(const StyleRecipe& r) : shape_(r.shape), radius_(r.radius) {
    left = r.margin;
    top = r.margin;
    right = float(r.width - r.margin);
    bottom = float(r.height - r.margin);
    const float h = bottom - top, mid = (top + bottom) / 2;
    auto set = [&](std::initializer_list<Vec2> pts) {
        polyCount_ = 0;
        for (Vec2 p : pts) poly_[size_t(polyCount_++)] = p;
        Inset(poly_.data(), polyCount_, radius_);
    };
    switch (shape_) {
        case StyleShape::ArrowRight: {
            const float head = std::floor(h / 2);
            set({{left, top},
                 {right - head, top},
                 {right, mid},
                 {right - head, bottom},
                 {left, bottom}});
            break;
        }
        case StyleShape::ArrowLeft: {
            const float head = std::floor(h / 2);
            set({{right, top},
                 {left + head, top},
                 {left, mid},
                 {left + head, bottom},
                 {right, bottom}});
            break;
        }
        case StyleShape::Chevron: {
            const float k = float(PointLength(shape_, int32_t(h)));
            set({{left, top},
                 {right - k, top},
                 {right, mid},
                 {right - k, bottom},
                 {left, bottom},
                 {left + k, mid}});
            break;
        }
        case StyleShape::Tag: {
            const float k = float(PointLength(shape_, int32_t(h)));
            set({{left + k, top},
                 {right - k, top},
                 {right, mid},
                 {right - k, bottom},
                 {left + k, bottom},
                 {left, mid}});
            break;
        }
        case StyleShape::Ribbon: {
            const float k = float(PointLength(shape_, int32_t(h)));
            set({{left, top},
                 {right, top},
                 {right - k, mid},
                 {right, bottom},
                 {left, bottom},
                 {left + k, mid}});
            break;
        }
        case StyleShape::SlantTab: {
            const float s = float(PointLength(shape_, int32_t(h)));
            set({{left, bottom}, {left + s, top}, {right - s, top}, {right, bottom}});
            break;
        }
        case StyleShape::Chamfer: {
            const float c = radius_;
            radius_ = 0;
            set({{left + c, top},
                 {right - c, top},
                 {right, top + c},
                 {right, bottom - c},
                 {right - c, bottom},
                 {left + c, bottom},
                 {left, bottom - c},
                 {left, top + c}});
            break;
        }
        case StyleShape::FoldedRibbon: {
            // The tails hang below the band by as much as the picture
            // leaves clear above it, so the band sits in the middle where
            // the caption goes.
            const float overhang = std::round(h * 0.19f);
            bandTop_ = top + overhang;
            bandBottom_ = bottom - overhang;
            bandInset_ = std::round(h * 0.24f);
            tailWidth_ = bandInset_ + std::round(h * 0.3f);
            tailTop_ = bandTop_ + std::round(h * 0.2f);
            break;
        }
        default:
            break;
    }
}

float ShapeField::Polygon(Vec2 p) const { return SdPolygon(p, poly_.data(), polyCount_) - radius_; }

float ShapeField::FrontDistance(float x, float y) const {
    const Vec2 c{(left + right) / 2, (bandTop_ + bandBottom_) / 2};
    return SdBox({x, y}, c, {(right - left) / 2 - bandInset_, (bandBottom_ - bandTop_) / 2}, 0);
}

float ShapeField::TailDistance(float x, float y) const {
    // Both tails are mirror images: fold x onto the left one.
    const float cx = (left + right) / 2;
    const float fx = x > cx ? right - (x - left) : x;
    const float k = std::round((bottom - tailTop_) * 0.3f);
    const Vec2 tail[5] = {{left, tailTop_},
                          {left + tailWidth_, tailTop_},
                          {left + tailWidth_, bottom},
                          {left, bottom},
                          {left + k, (tailTop_ + bottom) / 2}};
    return SdPolygon({fx, y}, tail, 5);
}

float ShapeField::FoldDistance(float x, float y) const {
    const float cx = (left + right) / 2;
    const float fx = x > cx ? right - (x - left) : x;
    const Vec2 fold[3] = {{left + bandInset_, bandBottom_},
                          {left + tailWidth_, bandBottom_},
                          {left + tailWidth_, bandBottom_ + (bottom - bandBottom_) * 0.6f}};
    return SdPolygon({fx, y}, fold, 3);
}

float ShapeField::FaceDistance(float x, float y) const {
    const float fl = left + 4, fr = right - 4, ft = FaceTop(), fb = FaceBottom();
    return SdBox({x, y}, {(fl + fr) / 2, (ft + fb) / 2}, {(fr - fl) / 2, (fb - ft) / 2},
                 std::max(radius_ - 2, 2.0f));
}

float ShapeField::EdgeDistance(float x, float y) const {
    // The joint of a segment piece is no edge: measure as if the box went
    // on past it.
    if (shape_ == StyleShape::SegmentMiddle || shape_ == StyleShape::SegmentRight) {
        constexpr float kPast = 8;
        const Vec2 c{(left - kPast + right) / 2, (top + bottom) / 2};
        const Vec2 half{(right - left + kPast) / 2, (bottom - top) / 2};
        const float r = shape_ == StyleShape::SegmentRight ? radius_ : 0;
        return SdBox4({x, y}, c, half, {0, r, r, 0});
    }
    return Distance(x, y);
}

float ShapeField::Distance(float x, float y) const {
    const Vec2 p{x, y};
    const Vec2 c{(left + right) / 2, (top + bottom) / 2};
    const Vec2 half{(right - left) / 2, (bottom - top) / 2};
    switch (shape_) {
        case StyleShape::RoundRect:
        case StyleShape::Keycap:
            return SdBox(p, c, half, radius_);
        case StyleShape::Pill:
            return SdBox(p, c, half, half.y);
        case StyleShape::Bevel:
            return SdBox(p, c, half, 0);
        case StyleShape::Circle:
            return SdCircle(p, c, std::min(half.x, half.y));
        case StyleShape::Tab:
            return SdBox4(p, c, half, {radius_, radius_, 0, 0});
        case StyleShape::SegmentLeft:
            return SdBox4(p, c, half, {radius_, 0, 0, radius_});
        case StyleShape::SegmentMiddle:
            return SdBox(p, c, half, 0);
        case StyleShape::SegmentRight:
            return SdBox4(p, c, half, {0, radius_, radius_, 0});
        case StyleShape::FoldedRibbon:
            return std::min(FrontDistance(x, y), TailDistance(x, y));
        default:
            return Polygon(p);
    }
}

Vec2 ShapeField::Gradient(float x, float y) const {
    constexpr float e = 0.25f;
    const float gx = Distance(x + e, y) - Distance(x - e, y);
    const float gy = Distance(x, y + e) - Distance(x, y - e);
    const float len = std::hypot(gx, gy);
    if (len < 1e-6f) return {0, -1};
    return {gx / len, gy / len};
}

}  // namespace tabora::art::style
