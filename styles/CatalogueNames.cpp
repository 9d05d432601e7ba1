#include "styles/Catalogue.h"

#include <array>

namespace tabora {

namespace {

// In enum order.
constexpr std::array kShapeNames = {
    "round-rect", "pill",    "bevel",         "chamfer", "circle",       "tab",
    "slant-tab",  "arrow-right", "arrow-left", "chevron", "tag",         "ribbon",
    "folded-ribbon", "keycap", "segment-left", "segment-middle", "segment-right"};
static_assert(kShapeNames.size() == size_t(StyleShape::SegmentRight) + 1);

constexpr std::array kMaterialNames = {
    "flat",  "flat-border", "gradient", "gel",     "glass",   "chrome",   "brushed",  "emboss",
    "inset", "outline",     "plastic",  "neon",    "texture", "two-tone", "dark",     "tonal",
    "elevated", "two-hue",  "neutral",  "segment", "dark-tonal", "dark-glow"};
static_assert(kMaterialNames.size() == size_t(StyleMaterial::DarkGlow) + 1);

}  // namespace

std::span<const char* const> ShapeNames() { return kShapeNames; }
std::span<const char* const> MaterialNames() { return kMaterialNames; }
const char* ShapeName(StyleShape shape) { return kShapeNames[size_t(shape)]; }
const char* MaterialName(StyleMaterial material) { return kMaterialNames[size_t(material)]; }

const char* ColourNameOf(const StyleRecipe& recipe) {
    const bool metal =
        recipe.material == StyleMaterial::Chrome || recipe.material == StyleMaterial::Brushed;
    return metal ? MetalOf(recipe.colourway).name : ColourwayOf(recipe.colourway).name;
}

}  // namespace tabora
