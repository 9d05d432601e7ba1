#include "styles/Catalogue.h"

// The colourways and metals, in catalogue numbers: black and greys, white,
// round the colour wheel, brown; then the greys of the neutral buttons.
namespace tabora {

namespace {

constexpr NamedColour kColourways[kColourwayCount] = {
    {0x2A2C31, "Onyx"},     {0x525861, "Graphite"},  {0x5F7890, "Slate"},  {0xB8BFC7, "Silver"},
    {0xF5F6F8, "Snow"},     {0xD3303D, "Crimson"},   {0xF08526, "Tangerine"},
    {0xF4C01E, "Sunflower"}, {0x80BE3A, "Lime"},     {0x1FA263, "Emerald"},
    {0x12A1A4, "Teal"},     {0x2F8DE4, "Sky"},       {0x3949A8, "Indigo"}, {0x7A4BD3, "Violet"},
    {0xDC3F7E, "Raspberry"}, {0x7D5134, "Cocoa"},
    // Light and dark greys for secondary buttons: a light grey, white with an
    // edge, a deeper light grey; charcoal, ink and steel for dark pages.
    {0xEDEFF2, "Mist"},     {0xFFFFFF, "Cloud"},     {0xDCE0E5, "Fog"},    {0x30353D, "Charcoal"},
    {0x1E2228, "Ink"},      {0x474E59, "Steel"},
};

constexpr NamedMetal kMetals[kMetalCount] = {
    {0x3E444C, 0xAAB1B9, 0xFFFFFF, "Silver"},    {0x5A3D0E, 0xCFA23E, 0xFFF4C8, "Gold"},
    {0x562812, 0xC7733C, 0xFFE2CC, "Copper"},    {0x2B1E0C, 0x9E7A40, 0xFCEBC4, "Bronze"},
    {0x1C2025, 0x5B626B, 0xCDD2D8, "Gunmetal"},  {0x1C2C43, 0x6A8BB3, 0xE8F1FF, "Blue steel"},
    {0x673833, 0xD69A8F, 0xFFF1EB, "Rose gold"}, {0x090A0C, 0x303338, 0xA6ABB3, "Black chrome"},
};

}  // namespace

const NamedColour& ColourwayOf(uint8_t index) { return kColourways[index % kColourwayCount]; }
const NamedMetal& MetalOf(uint8_t index) { return kMetals[index % kMetalCount]; }

}  // namespace tabora
