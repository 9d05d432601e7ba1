#include <cmath>

#include "tools/artgen/StyleMaterials.h"

// The driver: every pixel of a style asks the outline for its distance and
// the material for its surface, then takes the outline's coverage as alpha.
namespace tabora::art::style {

namespace {

template <class F>
Vec2 GradientOf(F f, float x, float y) {
    constexpr float e = 0.25f;
    const float gx = f(x + e, y) - f(x - e, y), gy = f(x, y + e) - f(x, y - e);
    const float len = std::hypot(gx, gy);
    if (len < 1e-6f) return {0, -1};
    return {gx / len, gy / len};
}

Rgba Surface(const SurfaceContext& ctx, const Sample& s) {
    switch (ctx.recipe.material) {
        case StyleMaterial::Gel:
        case StyleMaterial::Glass:
            return ShadeGloss(ctx, s);
        case StyleMaterial::Chrome:
        case StyleMaterial::Brushed:
            return ShadeMetal(ctx, s);
        case StyleMaterial::Emboss:
        case StyleMaterial::Inset:
        case StyleMaterial::Plastic:
            return ShadeRelief(ctx, s);
        case StyleMaterial::Texture:
            return ShadeTexture(ctx, s);
        case StyleMaterial::Outline:
            return ShadeOutline(ctx, s);
        case StyleMaterial::Neon:
            return ShadeNeon(ctx, s);
        default:
            return ShadeBasic(ctx, s);
    }
}

// The raised frame of the bevelled shape, over any material but metal
// (which lights its own frame).
Rgba BevelFrame(const SurfaceContext& ctx, const Sample& s, Rgba c) {
    constexpr float kFrame = 3;
    const float frame = Edge(kFrame + 0.5f - s.depth, s.scale);
    if (frame <= 0 || ctx.recipe.material == StyleMaterial::Chrome ||
        ctx.recipe.material == StyleMaterial::Brushed)
        return c;
    const Rgba lit = Shade(c, BevelLight(s, 1.0f), 0.55f, 0.45f);
    return Tint(c, lit, frame);
}

// A glyph on a round icon button: white on dark and saturated colours,
// graphite on light ones, the colourway itself on an outline.
Rgba Icon(const SurfaceContext& ctx, const Sample& s, Rgba c) {
    const ShapeField& sh = ctx.shape;
    const Vec2 centre{(sh.left + sh.right) / 2, (sh.top + sh.bottom) / 2};
    const float size = sh.Height() / 2;
    const float cov = Coverage(SdIcon(ctx.recipe.icon, {s.x, s.y}, centre, size) * s.scale);
    const StyleMaterial m = ctx.recipe.material;
    if (m == StyleMaterial::Outline) {
        Rgba ink = ctx.base;
        return {Lerp(c.r, ink.r, cov), Lerp(c.g, ink.g, cov), Lerp(c.b, ink.b, cov),
                std::max(c.a, cov)};
    }
    const bool light = Luminance(ctx.base) > 0.6f;
    const Rgba ink = light ? Hex(0x30343A) : Hex(0xFFFFFF);
    if (m == StyleMaterial::Gel || m == StyleMaterial::Plastic) {
        // Pressed into the surface: a soft darker copy one pixel lower.
        const float under =
            Coverage(SdIcon(ctx.recipe.icon, {s.x, s.y - 1}, centre, size) * s.scale);
        c = Tint(c, Darken(c, light ? 0.0f : 0.35f), under * 0.6f);
        if (light) c = Tint(c, Hex(0xFFFFFF), under * 0.5f);
    }
    return Tint(c, ink, cov);
}

Rgba FoldedRibbon(const SurfaceContext& ctx, Sample s) {
    const ShapeField& sh = ctx.shape;
    const float front = sh.FrontDistance(s.x, s.y);
    const float tail = sh.TailDistance(s.x, s.y);
    const float fold = sh.FoldDistance(s.x, s.y);
    Sample t = s;
    t.d = tail;
    t.depth = std::max(-tail, 0.0f);
    t.v = (s.y - sh.TailTop()) / (sh.bottom - sh.TailTop());
    t.grad = GradientOf([&](float x, float y) { return sh.TailDistance(x, y); }, s.x, s.y);
    Rgba c = Darken(Surface(ctx, t), 0.3f);
    c = Tint(c, Darken(ctx.base, 0.55f), Coverage(fold * s.scale));
    Sample f = s;
    f.d = front;
    f.depth = std::max(-front, 0.0f);
    f.v = (s.y - sh.BandTop()) / (sh.BandBottom() - sh.BandTop());
    f.grad = GradientOf([&](float x, float y) { return sh.FrontDistance(x, y); }, s.x, s.y);
    return Mix(c, Surface(ctx, f), Coverage(front * s.scale));
}

}  // namespace

ArgbImage DrawStyle(const StyleRecipe& recipe, uint32_t seed, int scale) {
    const ShapeField shape(recipe);
    const SurfaceContext ctx{recipe, shape, Colourway(recipe.colourway), seed};
    const bool neon = recipe.material == StyleMaterial::Neon;
    const float k = float(scale);
    FloatImage img(recipe.width * scale, recipe.height * scale);
    for (int32_t py = 0; py < img.Height(); ++py) {
        for (int32_t px = 0; px < img.Width(); ++px) {
            // The centre of the device pixel, in CSS pixels.
            Sample s;
            s.x = (float(px) + 0.5f) / k;
            s.y = (float(py) + 0.5f) / k;
            s.scale = k;
            s.d = shape.Distance(s.x, s.y);
            const float cov = Coverage(s.d * s.scale);
            if (cov > 0) {
                s.depth = std::max(-s.d, 0.0f);
                s.v = shape.V(s.y);
                s.grad = shape.Gradient(s.x, s.y);
                Rgba c = recipe.shape == StyleShape::FoldedRibbon ? FoldedRibbon(ctx, s)
                                                                  : Surface(ctx, s);
                if (recipe.shape == StyleShape::Bevel) c = BevelFrame(ctx, s, c);
                if (recipe.icon != StyleIcon::None) c = Icon(ctx, s, c);
                c.a *= cov;
                img.Blend(px, py, c, 1);
            }
            if (neon && s.d * s.scale > -0.5f) img.BlendUnder(px, py, NeonGlow(ctx, s.d), 1);
        }
    }
    return img.ToArgb();
}

}  // namespace tabora::art::style
