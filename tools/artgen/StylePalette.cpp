#include "tools/artgen/StyleMaterials.h"

// The colourways and metals. The order matches the colourway numbers of the
// catalogue: black and greys, white, then round the colour wheel.
namespace tabora::art::style {

namespace {

struct Named {
    uint32_t rgb;
    const char* name;
};

constexpr Named kColourways[kColourwayCount] = {
    {0x2A2C31, "Onyx"},   {0x525861, "Graphite"}, {0x5F7890, "Slate"},     {0xB8BFC7, "Silver"},
    {0xF5F6F8, "Snow"},   {0xD3303D, "Crimson"},  {0xF08526, "Tangerine"}, {0xF4C01E, "Sunflower"},
    {0x80BE3A, "Lime"},   {0x1FA263, "Emerald"},  {0x12A1A4, "Teal"},      {0x2F8DE4, "Sky"},
    {0x3949A8, "Indigo"}, {0x7A4BD3, "Violet"},   {0xDC3F7E, "Raspberry"}, {0x7D5134, "Cocoa"},
};

struct NamedMetal {
    uint32_t dark, mid, light;
    const char* name;
};

constexpr NamedMetal kMetals[kMetalCount] = {
    {0x3E444C, 0xAAB1B9, 0xFFFFFF, "Silver"},    {0x5A3D0E, 0xCFA23E, 0xFFF4C8, "Gold"},
    {0x562812, 0xC7733C, 0xFFE2CC, "Copper"},    {0x45311A, 0xA27A46, 0xF4DDB8, "Bronze"},
    {0x1C2025, 0x5B626B, 0xCDD2D8, "Gunmetal"},  {0x1C2C43, 0x6A8BB3, 0xE8F1FF, "Blue steel"},
    {0x673833, 0xD69A8F, 0xFFF1EB, "Rose gold"}, {0x090A0C, 0x303338, 0xA6ABB3, "Black chrome"},
};

}  // namespace

Rgba Colourway(uint8_t index) { return Hex(kColourways[index % kColourwayCount].rgb); }
const char* ColourwayName(uint8_t index) { return kColourways[index % kColourwayCount].name; }

MetalRamp Metal(uint8_t index) {
    const NamedMetal& m = kMetals[index % kMetalCount];
    return {Hex(m.dark), Hex(m.mid), Hex(m.light)};
}
const char* MetalName(uint8_t index) { return kMetals[index % kMetalCount].name; }

Rgba MetalRamp::At(float t) const {
    t = Clamp01(t);
    return t < 0.5f ? Mix(dark, mid, t * 2) : Mix(mid, light, (t - 0.5f) * 2);
}

}  // namespace tabora::art::style
