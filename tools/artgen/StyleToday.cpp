#include <cmath>

#include "tools/artgen/StyleMaterials.h"

// The materials of today's pages: tonal, elevated, two-hue, neutral, the
// pieces of a segmented control and the two made for dark pages. They are
// flat colour with at most a hairline edge, so they stay crisp when shrunk
// and recolour cleanly under the hue slider.
namespace tabora::art::style {

namespace {

// The page colour the dark styles are made for, and their face.
constexpr uint32_t kDarkSurface = 0x17191E;

bool IsDarkGrey(Rgba c) { return Luminance(c) < 0.35f; }

// A faint light line just inside the top edge, as on a lit surface.
float TopLine(const Sample& s) {
    return Edge(1 - std::fabs(s.depth - 1.5f), s.scale) * Clamp01(-s.grad.y);
}

// Edge of a blurred silhouette: the share of a Gaussian of width `sigma`
// that falls inside, at distance d outside the outline.
float BlurredEdge(float d, float sigma) { return 0.5f * std::erfc(d / (sigma * std::sqrt(2.0f))); }

}  // namespace

Rgba TonalFill(Rgba c) { return Tint(c, Hex(0xFFFFFF), 0.84f); }

Rgba ShadeToday(const SurfaceContext& ctx, const Sample& s) {
    const Rgba c = ctx.base;
    switch (ctx.recipe.material) {
        case StyleMaterial::Tonal:
            return TonalFill(c);
        case StyleMaterial::Elevated:
            // The face is flat; the lift is the shadow around it
            // (ElevatedShadow) and a trace of light along the top.
            return Lighten(c, TopLine(s) * 0.08f);
        case StyleMaterial::TwoHue: {
            const Rgba to = Colourway(ctx.recipe.variant);
            Rgba fill = Mix(c, to, Smooth(0.0f, 1.0f, s.v));
            return Lighten(fill, TopLine(s) * 0.18f);
        }
        case StyleMaterial::Neutral: {
            if (IsDarkGrey(c)) {
                const Rgba fill = Lighten(Mix(Lighten(c, 0.05f), Darken(c, 0.1f), s.v),
                                          TopLine(s) * 0.1f);
                return WithBorder(fill, Lighten(c, 0.14f), s);
            }
            const Rgba fill = Mix(Lighten(c, 0.4f), Darken(c, 0.025f), s.v);
            return WithBorder(fill, Darken(c, 0.17f), s);
        }
        case StyleMaterial::Segment: {
            // Not chosen: white with a grey edge. Chosen: the colour a shade
            // deeper, as a pressed button, its edge deeper still so the
            // joints show.
            if (ctx.recipe.variant == 0) return WithBorder(Hex(0xFFFFFF), Hex(0xC3C9D1), s);
            const Rgba chosen = Darken(c, 0.14f);
            return WithBorder(chosen, Darken(chosen, 0.2f), s);
        }
        case StyleMaterial::DarkTonal: {
            const Rgba face = Tint(Hex(kDarkSurface), c, 0.3f);
            return WithBorder(Lighten(face, TopLine(s) * 0.06f), Tint(Hex(kDarkSurface), c, 0.5f),
                              s);
        }
        case StyleMaterial::DarkGlow: {
            const Rgba ring = Saturate(Lighten(c, 0.12f), 0.2f);
            const Rgba face = Tint(Mix(Hex(0x1E2127), Hex(0x15171B), s.v), c, 0.08f);
            return WithBorder(face, ring, s, 2);
        }
        default:
            return c;
    }
}

Rgba ElevatedShadow(const ShapeField& shape, const Sample& s) {
    // Two soft shadows, both nearly centred: a wide ambient one that shows
    // all round, and a close contact one a pixel lower that seats the face
    // on the page.
    const float ambient = BlurredEdge(shape.Distance(s.x, s.y - 0.5f), 1.8f) * 0.42f;
    const float contact = BlurredEdge(shape.Distance(s.x, s.y - 1.0f) + 0.3f, 0.6f) * 0.3f;
    return Hex(0x0B1020, ambient + contact - ambient * contact);
}

Rgba DarkGlowLight(const SurfaceContext& ctx, float d) {
    const Rgba ring = Saturate(Lighten(ctx.base, 0.12f), 0.2f);
    const float x = std::max(d, 0.0f);
    return WithAlpha(ring, 0.42f * std::exp(-(x * x) / (2 * 1.5f * 1.5f)));
}

}  // namespace tabora::art::style
