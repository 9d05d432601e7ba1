#include "tools/artgen/StyleMaterials.h"

// The colourways and metals as the drawing code uses them; their values are
// the catalogue's.
namespace tabora::art::style {

Rgba Colourway(uint8_t index) { return Hex(ColourwayOf(index).rgb); }
const char* ColourwayName(uint8_t index) { return ColourwayOf(index).name; }

MetalRamp Metal(uint8_t index) {
    const NamedMetal& m = MetalOf(index);
    return {Hex(m.dark), Hex(m.mid), Hex(m.light)};
}
const char* MetalName(uint8_t index) { return MetalOf(index).name; }

Rgba MetalRamp::At(float t) const {
    t = Clamp01(t);
    return t < 0.5f ? Mix(dark, mid, t * 2) : Mix(mid, light, (t - 0.5f) * 2);
}

}  // namespace tabora::art::style
