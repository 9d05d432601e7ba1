#include <cmath>

#include "tools/artgen/StyleMaterials.h"
#include "tools/artgen/StyleNoise.h"

// Subtle textures from seeded noise. Leather, denim, carbon and stone vary in
// both directions (the styles cannot be widened); wood runs straight through
// its middle and pinstripe changes only from row to row, so a repeated
// column leaves no seam.
namespace tabora::art::style {

namespace {

// Stitching along a line `inset` pixels inside the outline.
float Stitch(const Sample& s, float inset) {
    const float line = Edge(1 - std::fabs(s.depth - inset) * 1.4f, s.scale);
    // Counting along x on the long sides and along y on the short ones:
    // three pixels of thread, two of gap, the thread centred on whole-pixel
    // sums so finer grids split the same pixels.
    const float dash = std::fmod(s.x + s.y + 100.5f, 5.0f) < 3.0f ? 1.0f : 0.0f;
    return line * dash;
}

Rgba Leather(Rgba c, const Sample& s, uint32_t seed) {
    const float grain = Fbm(s.x * 0.45f, s.y * 0.45f, seed, 3);
    const float pores = Fbm(s.x * 1.6f, s.y * 1.6f, seed + 31, 2);
    Rgba t = Darken(c, 0.12f);
    t = Shade(t, (grain - 0.5f) * 1.4f + (pores - 0.5f) * 0.5f, 0.25f, 0.35f);
    return Tint(t, Lighten(c, 0.5f), Stitch(s, 3.5f) * 0.8f);
}

Rgba Denim(Rgba c, const Sample& s, uint32_t seed) {
    // Twill: fine diagonal ribs with uneven thread.
    const float twill = 0.5f + 0.5f * std::sin((s.x + s.y * 2) * 1.35f);
    const float slub = Fbm(s.x * 0.9f, s.y * 0.12f, seed, 2);
    Rgba t = Mix(Darken(Saturate(c, -0.25f), 0.25f), Lighten(Saturate(c, -0.3f), 0.2f),
                 twill * 0.45f + slub * 0.55f);
    return Tint(t, Hex(0xE8A84A), Stitch(s, 3.5f) * 0.9f);
}

Rgba Carbon(Rgba c, const Sample& s) {
    // A 2/2 twill of 3-pixel tows: each tow passes over two and under two,
    // one tow further on in every row, so the weave runs in diagonals. A tow
    // is lit across its fibres, brightest along its middle; the colourway
    // tints the sheen of the crossing tows (an aramid blend), not the black.
    constexpr float kTow = 3;
    const int32_t cx = int32_t(std::floor(s.x / kTow)), cy = int32_t(std::floor(s.y / kTow));
    const bool acrossRow = ((cx + cy) & 3) < 2;
    const float f = acrossRow ? std::fmod(s.y, kTow) / kTow : std::fmod(s.x, kTow) / kTow;
    const float sheen = std::sin(f * float(M_PI));
    const Rgba fibre = acrossRow ? Lighten(Hex(0x2A2C30), 0.05f)
                                 : Tint(Hex(0x2A2C30), c, Luminance(c) < 0.2f ? 0.0f : 0.55f);
    Rgba t = Lighten(Darken(fibre, 0.55f), sheen * (acrossRow ? 0.16f : 0.22f));
    // A clear coat over the weave: lighter towards the top.
    return Lighten(t, 0.14f * (1 - s.v));
}

Rgba Wood(Rgba c, const Sample& s, uint32_t seed, int16_t column) {
    // Flat-sawn grain: soft bands of early and late wood, unevenly spaced,
    // that drift gently up and down along the board, over fine fibres. A
    // widened button repeats one column, so the board is read as if it
    // stood still over three pixels there; everything varies slowly enough
    // along x that the calm stretch shows no edge.
    float x = s.x;
    if (column >= 0) {
        const float from = s.x - (float(column) + 0.5f);
        x = from > 2 ? from - 2 : from < -2 ? from + 2 : 0;
    }
    const float drift = (Fbm(x * 0.025f + 3, s.y * 0.05f, seed, 2) - 0.5f) * 1.6f;
    const float spacing = (Fbm(1.5f, s.y * 0.25f, seed + 2, 2) - 0.5f) * 0.8f;
    const float phase = s.y * 0.17f + drift + spacing;
    const float band = 0.5f + 0.5f * std::sin(phase * 2 * float(M_PI));
    const float late = band * band * band;
    const float fibre = ValueNoise(x * 0.07f, s.y * 1.4f, seed + 5);
    const Rgba wood = Tint(Hex(0x9C6B3E), c, 0.35f);
    const Rgba t = Mix(Lighten(wood, 0.1f), Darken(wood, 0.26f), late * 0.85f);
    return Shade(t, (fibre - 0.5f) * 0.22f, 0.3f, 0.3f);
}

Rgba Stone(Rgba c, const Sample& s, uint32_t seed) {
    // Polished stone: soft clouds of two tones crossed by a few thin veins
    // that wander, each as fine at every scale (no grains of single pixels).
    const float cloud = Fbm(s.x * 0.09f, s.y * 0.12f, seed, 4);
    const float wx = s.x + 6 * Fbm(s.x * 0.05f, s.y * 0.05f, seed + 9, 2);
    const float vein = std::fabs(Fbm(wx * 0.04f, s.y * 0.09f, seed + 3, 3) - 0.5f);
    const Rgba base = Saturate(c, -0.45f);
    Rgba t = Mix(Darken(base, 0.12f), Lighten(base, 0.2f), Smooth(0.25f, 0.8f, cloud));
    return Tint(t, Lighten(base, 0.45f), Smooth(0.03f, 0.0f, vein) * 0.7f);
}

Rgba Pinstripe(Rgba c, const Sample& s) {
    // Soft stripes six pixels apart, each a smooth swell rather than a
    // one-pixel line, so a button shrunk to a fifth of its height still
    // shows even stripes instead of a beat of light and dark rows.
    Rgba t = Mix(Lighten(c, 0.12f), Darken(c, 0.08f), s.v);
    const float wave = 0.5f + 0.5f * std::cos((s.y - 1.5f) * float(M_PI) / 3);
    return Lighten(t, 0.14f * wave * wave);
}

}  // namespace

Rgba ShadeTexture(const SurfaceContext& ctx, const Sample& s) {
    const Rgba c = ctx.base;
    const auto kind = StyleTexture(ctx.recipe.variant);
    Rgba t;
    switch (kind) {
        case StyleTexture::Leather:
            t = Leather(c, s, ctx.seed);
            break;
        case StyleTexture::Denim:
            t = Denim(c, s, ctx.seed);
            break;
        case StyleTexture::Carbon:
            t = Carbon(c, s);
            break;
        case StyleTexture::Wood:
            t = Wood(c, s, ctx.seed, ctx.recipe.stretchColumn);
            break;
        case StyleTexture::Stone:
            t = Stone(c, s, ctx.seed);
            break;
        case StyleTexture::Pinstripe:
            t = Pinstripe(c, s);
            break;
    }
    // Every texture sits on a softly raised plate with a dark edge and a
    // gloss of light along the top.
    const float chisel = Edge(2.5f - s.depth, s.scale);
    t = Shade(t, BevelLight(s, 0.8f) * chisel, 0.45f, 0.4f);
    t = Lighten(t, Edge(1 - std::fabs(s.depth - 1.5f), s.scale) * Clamp01(-s.grad.y) * 0.25f);
    return WithBorder(t, Darken(kind == StyleTexture::Carbon ? Hex(0x101114) : c, 0.45f), s);
}

}  // namespace tabora::art::style
