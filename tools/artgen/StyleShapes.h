#pragma once
#include <array>
#include <cstdint>

#include "styles/Catalogue.h"

// Signed distance fields of the style outlines, in pixels (negative inside).
// Coverage of a pixel is 0.5 - distance at its centre, clamped: exact
// antialiasing for straight and round edges at any size. Edges that fall on
// whole pixel coordinates give fully covered edge pixels, hence crisp
// one-pixel borders.
namespace tabora::art::style {

struct Vec2 {
    float x = 0, y = 0;
};

float SdBox(Vec2 p, Vec2 centre, Vec2 half, float radius);
// Corner radii: top-left, top-right, bottom-right, bottom-left.
float SdBox4(Vec2 p, Vec2 centre, Vec2 half, std::array<float, 4> radii);
float SdCircle(Vec2 p, Vec2 centre, float radius);
// Exact distance to a simple polygon (any winding).
float SdPolygon(Vec2 p, const Vec2* v, int n);
// A segment thickened to `radius` (a capsule).
float SdSegment(Vec2 p, Vec2 a, Vec2 b, float radius);

inline float Coverage(float distance) {
    return distance >= 0.5f ? 0.0f : distance <= -0.5f ? 1.0f : 0.5f - distance;
}

// The outline of one style, built from its recipe.
class ShapeField {
public:
    explicit ShapeField(const StyleRecipe& recipe);

    float Distance(float x, float y) const;
    // The distance to the edges that show as edges: all of them, except the
    // left side of a segment piece that joins the piece before it.
    float EdgeDistance(float x, float y) const;
    // Outward unit direction of increasing distance.
    Vec2 Gradient(float x, float y) const;

    // The body box (inside the glow margin).
    float left, top, right, bottom;
    float Width() const { return right - left; }
    float Height() const { return bottom - top; }
    // Vertical position within the body, 0 at the top edge, 1 at the bottom.
    float V(float y) const { return (y - top) / (bottom - top); }

    // Parts of the two composite shapes (folded ribbon, keycap): the band in
    // front and the tails behind it, the top face and its base.
    float FrontDistance(float x, float y) const;
    float TailDistance(float x, float y) const;
    float FoldDistance(float x, float y) const;
    float FaceDistance(float x, float y) const;
    // The keycap's face sits high on its base, leaving a deeper lip below.
    float FaceTop() const { return top + 3; }
    float FaceBottom() const { return bottom - 6; }
    float BandTop() const { return bandTop_; }
    float BandBottom() const { return bandBottom_; }
    float TailTop() const { return tailTop_; }

private:
    float Polygon(Vec2 p) const;
    StyleShape shape_;
    float radius_;
    std::array<Vec2, 8> poly_{};
    int polyCount_ = 0;
    // Folded ribbon geometry.
    float bandTop_ = 0, bandBottom_ = 0, tailTop_ = 0, tailWidth_ = 0, bandInset_ = 0;
};

// A glyph for the round icon buttons, centred at `centre` with `size` the
// radius of the circle it sits in.
float SdIcon(StyleIcon icon, Vec2 p, Vec2 centre, float size);

}  // namespace tabora::art::style
