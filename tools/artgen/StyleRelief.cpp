#include <algorithm>
#include <cmath>

#include "tools/artgen/StyleMaterials.h"
#include "tools/artgen/StyleNoise.h"

// The materials with depth: chrome and brushed metal, embossed, inset and
// moulded plastic, and the keycap. Each one is a height profile across the
// outline, lit from the upper left.
namespace tabora::art::style {

namespace {

// Slope of a quarter-circle profile that rises over `width` pixels: steep at
// the outline, flat at the top. Capped so the very edge stays in the light.
float RoundSlope(float depth, float width) {
    const float t = Clamp01(depth / width);
    const float u = 1 - t;
    return std::min(u / std::sqrt(std::max(1e-4f, 1 - u * u)), 3.0f);
}

// A surface normal from the outline direction and the profile slope.
struct Normal {
    float x, y, z;
};
Normal NormalOf(const Sample& s, float slope) {
    const float nx = s.grad.x * slope, ny = s.grad.y * slope;
    const float len = std::sqrt(nx * nx + ny * ny + 1);
    return {nx / len, ny / len, 1 / len};
}

// Highlight of a light from the upper left seen from the front.
float Specular(Normal n, float power) {
    const float hx = -0.177f, hy = -0.314f, hz = 0.933f;
    return std::pow(std::max(0.0f, n.x * hx + n.y * hy + n.z * hz), power);
}

// A studio environment seen in a mirror: bright sky above a dark horizon,
// a ground that brightens towards the viewer.
float Environment(float p) {
    const float sky = Lerp(0.97f, 0.64f, Clamp01(p / 0.5f));
    const float ground = Lerp(0.08f, 0.86f, std::pow(Clamp01((p - 0.5f) / 0.5f), 0.8f));
    return Lerp(sky, ground, Smooth(0.47f, 0.53f, p));
}

float ProfileWidth(const SurfaceContext& ctx) {
    const ShapeField& sh = ctx.shape;
    if (ctx.recipe.shape == StyleShape::Circle) return sh.Height() * 0.5f;
    return std::min(5.0f, sh.Height() * 0.2f);
}

Rgba Chrome(const SurfaceContext& ctx, const Sample& s, const MetalRamp& metal) {
    float slope;
    if (ctx.recipe.shape == StyleShape::Bevel)
        slope = Edge(3.5f - s.depth, s.scale);  // a flat plate in a 45-degree frame
    else
        slope = RoundSlope(s.depth, ProfileWidth(ctx)) * 0.9f;
    const Normal n = NormalOf(s, slope);
    const float reflectY = 2 * n.z * n.y;
    float lum = Environment(Clamp01(s.v + 0.45f * reflectY));
    // A plate's frame catches the light more than a rounded rim does.
    const bool plate = ctx.recipe.shape == StyleShape::Bevel;
    lum += (plate ? 0.4f : 0.2f) * BevelLight(s, slope);
    lum = Lerp(lum, 1.0f, Specular(n, 40) * 0.6f);
    return WithBorder(metal.At(lum), Darken(metal.dark, 0.15f), s);
}

Rgba Brushed(const SurfaceContext& ctx, const Sample& s, const MetalRamp& metal) {
    // What makes metal read as brushed rather than ribbed is a broad, soft
    // reflection across a grain too fine to count: a light band high on the
    // plate, a duller one low, and under them faint streaks, a few of them
    // bright hairlines. Nothing changes along a row, so the plate can be
    // widened without a seam.
    const int32_t row = int32_t(std::floor(s.y));
    auto band = [&](float centre, float width) {
        const float t = (s.v - centre) / width;
        return std::exp(-t * t);
    };
    float lum = 0.62f - 0.1f * s.v + 0.2f * band(0.3f, 0.2f) - 0.08f * band(0.82f, 0.16f);
    lum += (HashUnit(0, row, ctx.seed) - 0.5f) * 0.045f;
    lum += (ValueNoise(0.5f, s.y * 0.8f, ctx.seed + 7) - 0.5f) * 0.05f;
    if (HashUnit(1, row, ctx.seed + 11) > 0.9f) lum += 0.06f;
    const bool bevel = ctx.recipe.shape == StyleShape::Bevel;
    const float slope = bevel ? Edge(3.5f - s.depth, s.scale) : RoundSlope(s.depth, 2.5f) * 0.8f;
    lum += 0.32f * BevelLight(s, slope);
    // A crisp lit edge along the top, as a machined rim catches the light.
    lum += 0.3f * Edge(1 - std::fabs(s.depth - 1.5f), s.scale) * Clamp01(-s.grad.y);
    return WithBorder(metal.At(lum), Darken(metal.dark, 0.1f), s);
}

Rgba Keycap(const SurfaceContext& ctx, const Sample& s) {
    const ShapeField& sh = ctx.shape;
    const Rgba c = NeedsHeadroom(ctx.base) ? Darken(ctx.base, 0.2f) : ctx.base;
    // The base: the sides of the key, lit from the upper left.
    const Rgba base = Shade(Darken(c, 0.18f), BevelLight(s, 1.2f), 0.4f, 0.45f);
    const float faceD = sh.FaceDistance(s.x, s.y);
    const float faceTop = sh.FaceTop(), faceBottom = sh.FaceBottom();
    const float fv = Clamp01((s.y - faceTop) / (faceBottom - faceTop));
    Rgba face = Mix(Lighten(c, 0.16f), Lighten(c, 0.02f), fv);
    // A soft rounding of the face's own edge.
    Sample f = s;
    f.depth = std::max(-faceD, 0.0f);
    f.grad = sh.Gradient(s.x, s.y);
    face = Shade(face, BevelLight(f, RoundSlope(f.depth, 2.5f) * 0.5f), 0.35f, 0.25f);
    const Rgba key = Mix(base, face, Coverage(faceD * s.scale));
    return WithBorder(key, Darken(c, 0.45f), s);
}

}  // namespace

Rgba ShadeMetal(const SurfaceContext& ctx, const Sample& s) {
    const MetalRamp metal = Metal(ctx.recipe.colourway);
    return ctx.recipe.material == StyleMaterial::Chrome ? Chrome(ctx, s, metal)
                                                        : Brushed(ctx, s, metal);
}

Rgba ShadeRelief(const SurfaceContext& ctx, const Sample& s) {
    const Rgba c = ctx.base;
    const ShapeField& sh = ctx.shape;
    switch (ctx.recipe.material) {
        case StyleMaterial::Emboss: {
            // A chiselled edge three pixels wide around a flat face.
            const Rgba fill = Mix(Lighten(c, 0.06f), Darken(c, 0.06f), s.v);
            const float chisel = Edge(3.5f - s.depth, s.scale);
            const Rgba lit = Shade(fill, BevelLight(s, 0.9f) * chisel, 0.6f, 0.45f);
            return WithBorder(lit, Mix(lit, Darken(c, 0.4f), 0.7f), s);
        }
        case StyleMaterial::Inset: {
            // The same edge turned inwards: the face sits below its rim,
            // shadowed along the top.
            Sample in = s;
            in.grad = {-s.grad.x, -s.grad.y};
            const float chisel = Edge(3.5f - s.depth, s.scale);
            Rgba fill = Mix(Darken(c, 0.12f), Lighten(c, 0.02f), s.v);
            fill = Shade(fill, BevelLight(in, 0.8f) * chisel, 0.35f, 0.4f);
            const float shadow = Clamp01(1 - s.depth / 4) * Clamp01(0.3f - s.grad.y);
            fill = Darken(fill, 0.22f * shadow);
            return WithBorder(fill, Darken(c, 0.42f), s);
        }
        case StyleMaterial::Plastic: {
            if (ctx.recipe.shape == StyleShape::Keycap) return Keycap(ctx, s);
            // The dome rises no wider than the corners are round: past the
            // corner radius the outline's inner contours turn sharp and
            // would show as creases.
            float width = std::min(sh.Width(), sh.Height()) / 2;
            if (ctx.recipe.shape == StyleShape::RoundRect)
                width = std::min(width, std::max(float(ctx.recipe.radius), 2.0f));
            const float slope = RoundSlope(s.depth, width) * 0.85f;
            const Normal n = NormalOf(s, slope);
            const Rgba own = NeedsHeadroom(c) ? Darken(c, 0.26f) : c;
            Rgba body = Shade(Saturate(own, 0.1f), BevelLight(s, slope), 0.25f, 0.5f);
            body = Lighten(body, Specular(n, 60) * 0.85f + Specular(n, 6) * 0.12f);
            const float bounce = Smooth(0.72f, 1.0f, s.v) * Clamp01(1 - s.depth / 3);
            body = Lighten(body, bounce * 0.22f);
            return WithBorder(body, Mix(body, Darken(c, 0.4f), 0.7f), s);
        }
        default:
            return c;
    }
}

}  // namespace tabora::art::style
