#include "cli/StyleFilters.h"

#include <algorithm>
#include <cctype>

#include "cli/CliError.h"
#include "cli/SettingsPatch.h"
#include "io/ButtonSettings.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"

namespace tabora::cli {

namespace {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower((unsigned char)x) == std::tolower((unsigned char)y);
           });
}

std::string Joined(std::span<const char* const> names) {
    std::string all;
    for (const char* name : names) all += (all.empty() ? "" : ", ") + std::string(name);
    return all;
}

// Every colour name a style can have: the colourways and the metals.
std::vector<const char*> ColourNames() {
    std::vector<const char*> names;
    for (uint8_t i = 0; i < kColourwayCount; ++i) names.push_back(ColourwayOf(i).name);
    for (uint8_t i = 0; i < kMetalCount; ++i) {
        const char* metal = MetalOf(i).name;
        const bool known = std::any_of(names.begin(), names.end(),
                                       [&](const char* n) { return SameName(n, metal); });
        if (!known) names.push_back(metal);
    }
    return names;
}

void CheckName(const std::optional<std::string>& given, std::span<const char* const> names,
               const char* option, const char* what) {
    if (!given) return;
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const char* n) { return SameName(n, *given); });
    if (!known) {
        throw UsageError(std::string(option) + ": no " + what + " is called \"" + *given +
                         "\"; the " + what + "s are " + Joined(names));
    }
}

}  // namespace

std::vector<StyleFacts> AllStyleFacts() {
    std::vector<StyleFacts> all;
    TaboraButton scratch(GetArchive());
    const std::span<const CatalogueItem> items = CatalogueItems();
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        const CatalogueItem& item = items[size_t(n - 1)];
        if (item.IsHeading() || !scratch.SetStyleNumber(int16_t(n)) || !scratch.style()) continue;
        StyleFacts f;
        f.number = n;
        f.item = &item;
        f.width = scratch.style()->image.Width();
        f.height = scratch.style()->image.Height();
        f.largestSize = scratch.MaxButtonSize();
        f.stretchable = scratch.MaxExtraWidth() > 0;
        scratch.SetButtonSize(f.largestSize);
        scratch.Render();
        f.widestBody = scratch.bodyRect().Width();
        all.push_back(f);
    }
    return all;
}

void CheckFilter(const StyleFilter& filter) {
    CheckName(filter.shape, ShapeNames(), "--shape", "shape");
    CheckName(filter.material, MaterialNames(), "--material", "material");
    CheckName(filter.colour, ColourNames(), "--colour", "colour");
    if (filter.family) ParseInteger(*filter.family, "--family", 0, UINT16_MAX);
    if (filter.minHeight) ParseInteger(*filter.minHeight, "--min-height", 0, kCanvasHeight);
}

bool Passes(const StyleFacts& f, const StyleFilter& filter) {
    const StyleRecipe& r = f.item->recipe;
    if (filter.family && ParseInteger(*filter.family, "--family", 0, UINT16_MAX) != r.family) return false;
    if (filter.shape && !SameName(*filter.shape, ShapeName(r.shape))) return false;
    if (filter.material && !SameName(*filter.material, MaterialName(r.material))) return false;
    if (filter.colour && !SameName(*filter.colour, ColourNameOf(r))) return false;
    if (filter.minHeight &&
        f.height < ParseInteger(*filter.minHeight, "--min-height", 0, kCanvasHeight)) {
        return false;
    }
    return !filter.stretchable || f.stretchable;
}

}  // namespace tabora::cli
