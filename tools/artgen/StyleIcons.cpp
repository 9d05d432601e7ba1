#include <algorithm>
#include <cmath>

#include "tools/artgen/StyleShapes.h"

// The glyphs of the round icon buttons, drawn in a unit square around the
// centre (y grows downwards) and scaled to the button.
namespace tabora::art::style {

namespace {

constexpr float kStroke = 0.16f;  // half the line width of the line glyphs

float Arrow(Vec2 u) {
    // Points right; the other directions rotate the point first.
    return std::min({SdSegment(u, {-0.72f, 0}, {0.66f, 0}, kStroke),
                     SdSegment(u, {0.1f, -0.56f}, {0.68f, 0}, kStroke),
                     SdSegment(u, {0.1f, 0.56f}, {0.68f, 0}, kStroke)});
}

float Star(Vec2 u) {
    Vec2 v[10];
    for (int i = 0; i < 10; ++i) {
        const float angle = float(M_PI) * (-0.5f + float(i) / 5.0f);
        const float r = i % 2 ? 0.4f : 0.95f;
        v[i] = {r * std::cos(angle), 0.08f + r * std::sin(angle)};
    }
    return SdPolygon(u, v, 10) - 0.04f;
}

float Heart(Vec2 u) {
    const Vec2 tip[3] = {{-0.78f, -0.12f}, {0.78f, -0.12f}, {0, 0.82f}};
    return std::min({SdCircle(u, {-0.38f, -0.26f}, 0.42f), SdCircle(u, {0.38f, -0.26f}, 0.42f),
                     SdPolygon(u, tip, 3) - 0.02f});
}

float Power(Vec2 u) {
    const float ring = std::fabs(SdCircle(u, {0, 0.06f}, 0.62f)) - kStroke;
    // Open the ring at the top, where the bar stands.
    const float gap = SdBox(u, {0, -0.55f}, {0.3f, 0.5f}, 0);
    return std::min(std::max(ring, -gap), SdSegment(u, {0, -0.82f}, {0, -0.08f}, kStroke));
}

float Glyph(StyleIcon icon, Vec2 u) {
    switch (icon) {
        case StyleIcon::Play: {
            const Vec2 v[3] = {{-0.48f, -0.72f}, {0.8f, 0}, {-0.48f, 0.72f}};
            return SdPolygon(u, v, 3) - 0.08f;
        }
        case StyleIcon::Pause:
            return std::min(SdBox(u, {-0.34f, 0}, {0.19f, 0.68f}, 0.06f),
                            SdBox(u, {0.34f, 0}, {0.19f, 0.68f}, 0.06f));
        case StyleIcon::Stop:
            return SdBox(u, {0, 0}, {0.6f, 0.6f}, 0.12f);
        case StyleIcon::Plus:
            return std::min(SdBox(u, {0, 0}, {0.78f, kStroke}, 0.05f),
                            SdBox(u, {0, 0}, {kStroke, 0.78f}, 0.05f));
        case StyleIcon::Minus:
            return SdBox(u, {0, 0}, {0.78f, kStroke}, 0.05f);
        case StyleIcon::Check:
            return std::min(SdSegment(u, {-0.68f, 0.02f}, {-0.2f, 0.5f}, kStroke),
                            SdSegment(u, {-0.2f, 0.5f}, {0.72f, -0.48f}, kStroke));
        case StyleIcon::Close:
            return std::min(SdSegment(u, {-0.58f, -0.58f}, {0.58f, 0.58f}, kStroke),
                            SdSegment(u, {-0.58f, 0.58f}, {0.58f, -0.58f}, kStroke));
        case StyleIcon::Next:
            return Arrow(u);
        case StyleIcon::Back:
            return Arrow({-u.x, u.y});
        case StyleIcon::Up:
            return Arrow({-u.y, u.x});
        case StyleIcon::Down:
            return Arrow({u.y, u.x});
        case StyleIcon::Heart:
            return Heart(u);
        case StyleIcon::Star:
            return Star(u);
        case StyleIcon::Search:
            return std::min(std::fabs(SdCircle(u, {-0.16f, -0.16f}, 0.48f)) - kStroke,
                            SdSegment(u, {0.2f, 0.2f}, {0.7f, 0.7f}, kStroke + 0.02f));
        case StyleIcon::Menu:
            return std::min({SdBox(u, {0, -0.5f}, {0.72f, 0.11f}, 0.05f),
                             SdBox(u, {0, 0}, {0.72f, 0.11f}, 0.05f),
                             SdBox(u, {0, 0.5f}, {0.72f, 0.11f}, 0.05f)});
        case StyleIcon::Power:
            return Power(u);
        case StyleIcon::None:
            break;
    }
    return 1e9f;
}

}  // namespace

float SdIcon(StyleIcon icon, Vec2 p, Vec2 centre, float size) {
    const float scale = size * 0.48f;
    return Glyph(icon, {(p.x - centre.x) / scale, (p.y - centre.y) / scale}) * scale;
}

}  // namespace tabora::art::style
