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
        case StyleMaterial::Tonal:
        case StyleMaterial::Elevated:
        case StyleMaterial::TwoHue:
        case StyleMaterial::Neutral:
        case StyleMaterial::Segment:
        case StyleMaterial::DarkTonal:
        case StyleMaterial::DarkGlow:
            return ShadeToday(ctx, s);
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
    const Rgba lit = Shade(c, FrameLight(s.grad), 0.5f, 0.42f);
    return Tint(c, lit, frame);
}

// A glyph on an icon button: in the middle of a round one, in a well at the
// leading end of any other.
Rgba Icon(const SurfaceContext& ctx, const Sample& s, Rgba c) {
    const ShapeField& sh = ctx.shape;
    const bool round = ctx.recipe.shape == StyleShape::Circle;
    const float h = sh.Height();
    const Vec2 centre{round ? (sh.left + sh.right) / 2 : sh.left + h / 2, (sh.top + sh.bottom) / 2};
    const float size = round ? h / 2 : h * 0.4f;
    const float d = SdIcon(ctx.recipe.icon, {s.x, s.y}, centre, size);
    const float cov = Coverage(d * s.scale);
    const StyleMaterial m = ctx.recipe.material;
    if (m == StyleMaterial::Outline) {
        const Rgba ink = ctx.caption;
        return {Lerp(c.r, ink.r, cov), Lerp(c.g, ink.g, cov), Lerp(c.b, ink.b, cov),
                std::max(c.a, cov)};
    }
    // The glyph is drawn in the caption colour the catalogue records, so a
    // caption beside it (or the glyph alone) reads as the catalogue says.
    const Rgba ink = ctx.caption;
    const bool light = Luminance(ink) < 0.5f;  // a dark glyph: the button is light
    if (!round) {
        // The well: a shade of the face, up to a straight line at the
        // label's edge.
        const float well = Edge(sh.left + h - s.x + 0.5f, s.scale);
        c = Tint(c, light || Luminance(ctx.base) < 0.08f ? Lighten(c, 0.14f) : Darken(c, 0.24f),
                 well);
    }
    if (m == StyleMaterial::Gel || m == StyleMaterial::Plastic) {
        // Pressed into the surface: a soft darker copy one pixel lower.
        const float under =
            Coverage(SdIcon(ctx.recipe.icon, {s.x, s.y - 1}, centre, size) * s.scale);
        c = Tint(c, Darken(c, light ? 0.0f : 0.35f), under * 0.6f);
        if (light) c = Tint(c, Hex(0xFFFFFF), under * 0.5f);
        // The gloss is as light as a white glyph: a thin dark keyline round
        // the glyph keeps it apart from the highlight.
        if (!light) {
            const float ring = Coverage((d - 1.0f) * s.scale) * (1 - cov);
            c = Tint(c, Darken(ctx.base, 0.45f), ring * 0.55f * Clamp01(Luminance(c) * 1.6f - 0.5f));
        }
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
    const Color caption = CaptionPlaceOf(recipe).colour;
    const SurfaceContext ctx{
        recipe, shape, Colourway(recipe.colourway), seed,
        Hex(uint32_t(RedOf(caption)) << 16 | uint32_t(GreenOf(caption)) << 8 | BlueOf(caption))};
    const StyleMaterial m = recipe.material;
    // What some materials leave outside the outline, under the body.
    const bool outside =
        m == StyleMaterial::Neon || m == StyleMaterial::Elevated || m == StyleMaterial::DarkGlow;
    const bool joins = recipe.shape == StyleShape::SegmentMiddle ||
                       recipe.shape == StyleShape::SegmentRight;
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
                s.depth = std::max(-(joins ? shape.EdgeDistance(s.x, s.y) : s.d), 0.0f);
                s.v = shape.V(s.y);
                s.grad = shape.Gradient(s.x, s.y);
                Rgba c = recipe.shape == StyleShape::FoldedRibbon ? FoldedRibbon(ctx, s)
                                                                  : Surface(ctx, s);
                if (recipe.shape == StyleShape::Bevel) c = BevelFrame(ctx, s, c);
                if (recipe.icon != StyleIcon::None) c = Icon(ctx, s, c);
                c.a *= cov;
                img.Blend(px, py, c, 1);
            }
            if (!outside || s.d * s.scale <= -0.5f) continue;
            if (m == StyleMaterial::Neon)
                img.BlendUnder(px, py, NeonGlow(ctx, s.d), 1);
            else if (m == StyleMaterial::Elevated)
                img.BlendUnder(px, py, ElevatedShadow(shape, s), 1);
            else
                img.BlendUnder(px, py, DarkGlowLight(ctx, s.d), 1);
        }
    }
    return img.ToArgb();
}

}  // namespace tabora::art::style
