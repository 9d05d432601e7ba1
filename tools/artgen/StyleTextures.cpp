#include <cmath>

#include "tools/artgen/StyleMaterials.h"
#include "tools/artgen/StyleNoise.h"

// Subtle textures from seeded noise. The first six vary in both directions
// (the styles cannot be widened); pinstripe, ribs and hairline change only
// from row to row, so a repeated column leaves no seam.
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
    // A 2 x 2 weave of 4-pixel tows, each lit across its fibres.
    const int32_t cx = int32_t(std::floor(s.x / 4)), cy = int32_t(std::floor(s.y / 4));
    const bool across = ((cx + cy) & 1) != 0;
    const float f = across ? std::fmod(s.y, 4.0f) / 4 : std::fmod(s.x, 4.0f) / 4;
    const float lum = 0.12f + 0.2f * std::sin(f * float(M_PI));
    Rgba t = Tint(Hex(0x000000), Lighten(c, 0.2f), 0.12f);
    t = Lighten(t, lum);
    return t;
}

Rgba Wood(Rgba c, const Sample& s, uint32_t seed) {
    // Long grain lines that drift slowly up and down along the board.
    const float warp = Fbm(s.x * 0.015f, s.y * 0.06f, seed, 2);
    const float rings = std::fmod(s.y * 0.18f + warp * 3.0f + 10.0f, 1.0f);
    const float fibre = ValueNoise(s.x * 0.25f, s.y * 2.0f, seed + 5);
    const Rgba wood = Tint(Hex(0x9C6B3E), c, 0.35f);
    Rgba t = Mix(Lighten(wood, 0.1f), Darken(wood, 0.22f), Smooth(0.6f, 0.95f, rings));
    return Shade(t, (fibre - 0.5f) * 0.25f, 0.3f, 0.3f);
}

Rgba Stone(Rgba c, const Sample& s, uint32_t seed) {
    const float cloud = Fbm(s.x * 0.14f, s.y * 0.14f, seed, 4);
    const float fleck = HashUnit(int32_t(s.x), int32_t(s.y), seed + 3);
    Rgba t = Mix(Darken(Saturate(c, -0.4f), 0.1f), Lighten(Saturate(c, -0.4f), 0.18f), cloud);
    if (fleck > 0.94f) t = Lighten(t, 0.3f);
    if (fleck < 0.05f) t = Darken(t, 0.3f);
    return t;
}

Rgba RowTexture(Rgba c, const Sample& s, StyleTexture kind, uint32_t seed) {
    const int32_t row = int32_t(std::floor(s.y));
    Rgba t = Mix(Lighten(c, 0.12f), Darken(c, 0.08f), s.v);
    switch (kind) {
        case StyleTexture::Pinstripe:
            return row % 4 == 1 ? Lighten(t, 0.16f) : t;
        case StyleTexture::Ribs:
            return Shade(t, 0.5f * std::sin(float(row) * float(M_PI) / 1.5f), 0.2f, 0.2f);
        default:  // hairline: an uneven pull of fine lines
            return Shade(t, (HashUnit(0, row, seed) - 0.5f) * 0.8f, 0.2f, 0.25f);
    }
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
            t = Wood(c, s, ctx.seed);
            break;
        case StyleTexture::Stone:
            t = Stone(c, s, ctx.seed);
            break;
        default:
            t = RowTexture(c, s, kind, ctx.seed);
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
