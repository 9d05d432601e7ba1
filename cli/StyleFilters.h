#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tabora {
struct CatalogueItem;
}

namespace tabora::cli {

// What `styles` and `sheet` are asked to keep; values stay text until
// checked, so a message can quote them.
struct StyleFilter {
    std::optional<std::string> family;     // a family number
    std::optional<std::string> shape;      // a shape name ("pill")
    std::optional<std::string> material;   // a material name ("glass")
    std::optional<std::string> colour;     // a colourway or metal name ("Sky", "gold")
    std::optional<std::string> minHeight;  // pixels
    bool stretchable = false;              // only styles that widen
    bool Any() const {
        return family || shape || material || colour || minHeight || stretchable;
    }
};

// What a person looks for in a style.
struct StyleFacts {
    int32_t number = 0;
    const CatalogueItem* item = nullptr;
    int32_t width = 0;  // its natural size, in pixels
    int32_t height = 0;
    int32_t largestSize = 0;  // the largest size setting it takes
    int32_t widestBody = 0;   // its width at that size, in pixels
    bool stretchable = false;
};

// The facts of every style with a picture.
std::vector<StyleFacts> AllStyleFacts();
// Whether a style passes the filter. Throws UsageError naming the option
// for a name or number the catalogue does not have.
bool Passes(const StyleFacts& facts, const StyleFilter& filter);
// Checks the filter's names and numbers (UsageError naming the option).
void CheckFilter(const StyleFilter& filter);

}  // namespace tabora::cli
