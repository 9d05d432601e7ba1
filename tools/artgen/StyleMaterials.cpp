#include "tools/artgen/StyleMaterials.h"

#include <cmath>

// The colour materials: flat, gradient, two-tone, dark, gel, glass, outline
// and neon, and the shading helpers that every material shares.
namespace tabora::art::style {

namespace {

// The light comes from the upper left, more from above than from the left,
// but enough from the left that left-facing slopes are lit, not flat.
constexpr float kLx = -0.6f, kLy = -0.75f, kLz = 1.0f;

bool IsLight(Rgba c) { return Luminance(c) > 0.7f; }

// How much darker a border is than its fill: light fills need less.
float BorderDepth(Rgba c) { return IsLight(c) ? 0.24f : 0.32f; }

// Polynomial smooth maximum: rounds the corner where two regions meet.
float SmoothMax(float a, float b, float k) {
    const float h = Clamp01(0.5f - 0.5f * (b - a) / k);
    return Lerp(b, a, h) + k * h * (1 - h);
}

// A one-pixel light line just inside the upper edges.
float TopHighlight(const Sample& s) {
    return Edge(1 - std::fabs(s.depth - 1.5f), s.scale) * Clamp01(-s.grad.y);
}

}  // namespace

bool NeedsHeadroom(Rgba c) {
    const float hi = std::max({c.r, c.g, c.b}), lo = std::min({c.r, c.g, c.b});
    return hi > 0.85f && hi - lo < 0.1f;
}

Rgba WithBorder(Rgba fill, Rgba border, const Sample& s, float width) {
    return Mix(border, fill, Edge(s.depth - width + 0.5f, s.scale));
}

float BevelLight(const Sample& s, float slope) {
    const float nx = s.grad.x * slope, ny = s.grad.y * slope;
    const float nLen = std::sqrt(nx * nx + ny * ny + 1);
    const float lLen = std::sqrt(kLx * kLx + kLy * kLy + kLz * kLz);
    const float flat = kLz / lLen;
    const float dot = (nx * kLx + ny * kLy + kLz) / (nLen * lLen);
    return dot >= flat ? (dot - flat) / (1 - flat) : (dot - flat) / flat;
}

float FrameLight(Vec2 grad) {
    // The outward direction against the direction towards the light.
    return (grad.x * kLx + grad.y * kLy) / std::hypot(kLx, kLy);
}

Rgba Shade(Rgba c, float light, float up, float down) {
    return light >= 0 ? Lighten(c, Clamp01(light * up)) : Darken(c, Clamp01(-light * down));
}

float GlossAmount(const SurfaceContext& ctx, const Sample& s) {
    const ShapeField& sh = ctx.shape;
    const float h = sh.Height();
    float region;
    if (ctx.recipe.shape == StyleShape::Circle) {
        // An ellipse in the upper half of the disc.
        const float cx = (sh.left + sh.right) / 2, cy = sh.top + h * 0.3f;
        const float ax = sh.Width() * 0.36f, ay = h * 0.22f;
        const float ex = (s.x - cx) / ax, ey = (s.y - cy) / ay;
        region = (std::sqrt(ex * ex + ey * ey) - 1) * std::min(ax, ay);
    } else {
        // The outline drawn in by two pixels, cut off below the
        // middle with a rounded lower edge.
        const float lower = sh.top + h * 0.5f;
        region = SmoothMax(s.d + 2.0f, s.y - lower, 2.5f);
    }
    const float fade = Lerp(0.88f, 0.1f, Clamp01((s.y - sh.top) / (h * 0.5f)));
    return Coverage(region * s.scale) * fade;
}

Rgba ShadeBasic(const SurfaceContext& ctx, const Sample& s) {
    const Rgba c = ctx.base;
    const ShapeField& sh = ctx.shape;
    switch (ctx.recipe.material) {
        case StyleMaterial::Flat:
            return c;
        case StyleMaterial::FlatBorder:
            return WithBorder(c, Darken(c, BorderDepth(c) * 0.8f), s);
        case StyleMaterial::Gradient: {
            Rgba fill = Mix(Lighten(c, 0.2f), Darken(c, 0.1f), s.v);
            fill = Lighten(fill, TopHighlight(s) * 0.4f);
            return WithBorder(fill, Darken(c, BorderDepth(c)), s);
        }
        case StyleMaterial::TwoTone: {
            // A crisp split on a whole pixel row.
            const float split = std::round((sh.top + sh.bottom) / 2);
            const float lower = Edge(s.y - split + 0.5f, s.scale);
            Rgba fill = Mix(Lighten(c, 0.24f), Darken(c, 0.02f), lower);
            fill = Lighten(fill, TopHighlight(s) * 0.35f);
            return WithBorder(fill, Darken(c, BorderDepth(c)), s);
        }
        case StyleMaterial::Dark: {
            const Rgba accent = Luminance(c) < 0.12f ? Lighten(c, 0.4f) : c;
            Rgba face = Mix(Hex(0x32363D), Hex(0x1B1D22), s.v);
            face = Lighten(face, TopHighlight(s) * 0.12f);
            // A lit lip along the bottom: rows of even height whose top is
            // one straight line, cut by the outline at the corners, inside
            // a rim of one pixel all round.
            const float lip = Edge(s.y - (sh.bottom - 3.5f) + 0.5f, s.scale);
            face = Tint(face, Mix(face, accent, 0.7f), lip);
            return WithBorder(face, accent, s);
        }
        default:
            return c;
    }
}

Rgba ShadeGloss(const SurfaceContext& ctx, const Sample& s) {
    const Rgba c = ctx.base;
    const float gloss = GlossAmount(ctx, s);
    const float rim = 1 - Edge(s.depth - 0.5f, s.scale);
    if (ctx.recipe.material == StyleMaterial::Gel) {
        Rgba fill = NeedsHeadroom(c)
                        ? Mix(Darken(c, 0.32f), Darken(c, 0.04f), Smooth(0.5f, 1.0f, s.v))
                        : Mix(Darken(Saturate(c, 0.1f), 0.06f), Lighten(Saturate(c, 0.25f), 0.3f),
                              Smooth(0.3f, 1.0f, s.v));
        // Rounded edges: the body darkens towards its outline.
        fill = Darken(fill, 0.2f * (1 - Clamp01(s.depth / 4)));
        fill = Lighten(fill, gloss);
        return WithBorder(fill, Darken(c, IsLight(c) ? 0.3f : 0.42f), s);
    }
    // Glass: thinner in the middle, denser towards the edges; dense enough
    // that on a dark page it keeps its colour instead of turning muddy.
    const Rgba tone = NeedsHeadroom(c) ? Darken(c, 0.32f) : c;
    Rgba body =
        Mix(Lighten(Saturate(tone, 0.15f), 0.14f), Darken(Saturate(tone, 0.15f), 0.06f), s.v);
    body.a = 0.76f + 0.2f * (1 - Clamp01(s.depth / 6));
    const float glow = Smooth(0.55f, 1.0f, s.v) * Clamp01(s.depth / 2);
    body = Over(WithAlpha(Lighten(c, 0.5f), glow * 0.55f), body);
    body = Over(WithAlpha(Hex(0xFFFFFF), gloss * 0.8f), body);
    const float up = Clamp01(-s.grad.y * 0.5f + 0.5f);
    const Rgba edge = WithAlpha(Mix(Darken(c, 0.3f), Lighten(c, 0.45f), up), 0.95f);
    return Mix(body, edge, rim);
}

Rgba ShadeOutline(const SurfaceContext& ctx, const Sample& s) {
    const float width = ctx.recipe.variant == 2 ? 2.0f : 1.0f;
    const float line = 1 - Edge(s.depth - width + 0.5f, s.scale);
    // Variant 1 keeps a faint wash of the colour inside.
    const float wash = ctx.recipe.variant == 1 ? 0.16f : 0.0f;
    return WithAlpha(ctx.base, std::max(line, wash));
}

Rgba ShadeNeon(const SurfaceContext& ctx, const Sample& s) {
    const Rgba light = Saturate(Lighten(ctx.base, 0.08f), 0.3f);
    Rgba inside = Tint(Hex(0x14151A), light, 0.32f * std::exp(-s.depth / 2.2f));
    inside.a = 0.92f;
    // The tube: a bright line just inside the outline with a white-hot core.
    const float off = std::fabs(s.depth - 1.6f);
    const float tube = Smooth(1.7f, 0.8f, off);
    const float core = Smooth(0.9f, 0.0f, off);
    const Rgba lit = Tint(light, Hex(0xFFFFFF), 0.6f * core);
    return Mix(inside, WithAlpha(lit, 1), tube);
}

Rgba NeonGlow(const SurfaceContext& ctx, float d) {
    const Rgba light = Saturate(Lighten(ctx.base, 0.08f), 0.3f);
    const float x = std::max(d, 0.0f);
    return WithAlpha(light, 0.9f * std::exp(-(x * x) / (2 * 2.5f * 2.5f)));
}

}  // namespace tabora::art::style
