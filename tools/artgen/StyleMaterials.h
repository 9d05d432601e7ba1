#pragma once
#include <cstdint>

#include "render/ArgbImage.h"
#include "styles/Catalogue.h"
#include "tools/artgen/StyleRaster.h"
#include "tools/artgen/StyleShapes.h"

// The materials of the style art. A material is a function from a point of
// the body to its straight colour and opacity; the driver multiplies the
// opacity by the outline's coverage, so an edge pixel always carries the
// surface colour of the edge itself and shows no fringe on any background.
namespace tabora::art::style {

Rgba Colourway(uint8_t index);
const char* ColourwayName(uint8_t index);

// A metal as a ramp from its shadow through its body colour to its shine.
struct MetalRamp {
    Rgba dark, mid, light;
    Rgba At(float t) const;
};
MetalRamp Metal(uint8_t index);
const char* MetalName(uint8_t index);

struct SurfaceContext {
    const StyleRecipe& recipe;
    const ShapeField& shape;
    Rgba base;  // the colourway
    uint32_t seed;
    Rgba caption;  // the caption colour the catalogue records for the style
};

// One point of the body: its centre, signed distance, depth inside the
// outline (0 on the edge), vertical position in the body and the outward
// direction of the outline nearby, all in CSS pixels; and how many device
// pixels a CSS pixel spans in the picture being drawn.
struct Sample {
    float x = 0, y = 0;
    float d = 0, depth = 0, v = 0;
    Vec2 grad;
    float scale = 1;
};

// A near-white colourway: its look rests on value alone, which the
// brightness slider clips at white. Glossy art in it keeps its body well
// below white (down to about 70 %), so that with a fifth more brightness the
// gloss still stands out from the body under it.
bool NeedsHeadroom(Rgba c);

// Shading helpers shared by the materials.
// A one-pixel (or `width`) border of `border` around `fill`, `width` in CSS
// pixels, its inner edge one device pixel soft.
Rgba WithBorder(Rgba fill, Rgba border, const Sample& s, float width = 1);
// Light from the upper left on a surface whose height rises over `width`
// pixels from the edge with the given profile slope: > 0 faces the light,
// < 0 faces away, 0 on a flat top.
float BevelLight(const Sample& s, float slope);
Rgba Shade(Rgba c, float light, float up, float down);
// A gloss reflection in the upper part of the body: 0..1.
float GlossAmount(const SurfaceContext& ctx, const Sample& s);

Rgba ShadeBasic(const SurfaceContext& ctx, const Sample& s);   // flat, gradient, two-tone, dark
Rgba ShadeGloss(const SurfaceContext& ctx, const Sample& s);   // gel, glass
Rgba ShadeMetal(const SurfaceContext& ctx, const Sample& s);   // chrome, brushed
Rgba ShadeRelief(const SurfaceContext& ctx, const Sample& s);  // emboss, inset, plastic, keycap
Rgba ShadeTexture(const SurfaceContext& ctx, const Sample& s);
Rgba ShadeOutline(const SurfaceContext& ctx, const Sample& s);
Rgba ShadeNeon(const SurfaceContext& ctx, const Sample& s);
// The neon's light spilling outside the outline (d > 0).
Rgba NeonGlow(const SurfaceContext& ctx, float d);
// Today's materials: tonal, elevated, two-hue, neutral, segment and the two
// for dark pages.
Rgba ShadeToday(const SurfaceContext& ctx, const Sample& s);
Rgba TonalFill(Rgba c);
// What lies under an elevated style's face: its soft shadow.
Rgba ElevatedShadow(const ShapeField& shape, const Sample& s);
// The faint light round a dark-page glow style (d > 0).
Rgba DarkGlowLight(const SurfaceContext& ctx, float d);
// Light on a bevel's flat frame facing the outward direction `grad`: the
// top and left faces lit, the bottom and right ones in shade, -1..1.
float FrameLight(Vec2 grad);

// Draws the complete picture of one style at `scale` device pixels per CSS
// pixel: recipe.width x recipe.height times the scale. Shapes, light,
// material and noise are the same at every scale; only edges get sharper.
ArgbImage DrawStyle(const StyleRecipe& recipe, uint32_t seed, int scale);

}  // namespace tabora::art::style
