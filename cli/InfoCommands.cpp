#include <cstdio>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/Scales.h"
#include "cli/SettingsPatch.h"
#include "cli/StyleFilters.h"
#include "cli/StateOptions.h"
#include "imaging/ButtonFile.h"
#include "cli/TerminalText.h"
#include "imaging/Formats.h"
#include "imaging/PngCodec.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"

namespace tabora::cli {

namespace {

using json = nlohmann::ordered_json;

// Text that is not UTF-8 (a foreign file's font name) is shown with
// replacement characters rather than refused.
void PrintJson(const json& value) {
    std::string text = value.dump(2, ' ', false, json::error_handler_t::replace);
    std::printf("%s\n", text.c_str());
}

}  // namespace

int RunInspect(const std::string& file, bool asJson) {
    TaboraButton button(GetArchive());
    const OpenResult opened = OpenButton(button, file);
    if (!opened.opened()) return ReportNotOpened(file, opened);
    json j = SettingsToJson(button.settings(), opened.payloadVersion, opened.format->name);
    if (!opened.states.AllDefault()) j["states"] = StatesToJson(opened.states);
    if (asJson) {
        PrintJson(j);
        return kExitOk;
    }
    for (auto it = j.begin(); it != j.end(); ++it) {
        std::string value = it->is_string() ? it->get<std::string>()
                                            : it->dump(-1, ' ', false, json::error_handler_t::replace);
        if (it.key() == "payloadVersion") {
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%04X", unsigned(it->get<int>()));
            value = hex;
        }
        std::printf("%-18s %s\n", (it.key() + ":").c_str(), PrintableText(value).c_str());
    }
    return kExitOk;
}

int RunStyles(bool asJson, const StyleFilter& filter) {
    CheckFilter(filter);
    const Archive& archive = GetArchive();
    // The facts of each style with a picture, by number.
    std::vector<std::optional<StyleFacts>> facts(size_t(Archive::kEntryCount) + 1);
    for (const StyleFacts& f : AllStyleFacts()) facts[size_t(f.number)] = f;
    json list = json::array();
    if (!asJson) {
        std::printf("%6s %9s %-22s %8s %7s %7s %6s %-14s %-11s %-12s %7s %6s\n", "style", "resource",
                    "archive rect", "size", "stretch", "column", "family", "shape", "material",
                    "colour", "largest", "widest");
    }
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        const std::optional<StyleFacts>& f = facts[size_t(n)];
        // Filters keep only styles with a picture that pass them all.
        if (filter.Any() && (!f || !Passes(*f, filter))) continue;
        const ArchiveEntry* e = archive.Entry(n);
        std::unique_ptr<ButtonStyle> style = archive.Load(n);
        const int32_t width = style ? style->image.Width() : 0;
        const int32_t height = style ? style->image.Height() : 0;
        const int32_t stretch = style ? style->defaultStretch : e->defaultStretch;
        const int32_t column = style ? style->stretchColumn : e->stretchColumn;
        if (asJson) {
            list.push_back({{"number", n},
                            {"archiveRect", {{"left", e->left}, {"top", e->top}, {"right", e->right}, {"bottom", e->bottom}}},
                            {"resourceNumber", e->resourceNumber},
                            {"hasStyle", style != nullptr},
                            {"width", width},
                            {"height", height},
                            {"defaultStretch", stretch},
                            {"stretchColumn", column}});
            if (style) {
                // Where the caption goes and the colour that reads there.
                const CaptionPlace& caption = CatalogueItems()[size_t(n - 1)].caption;
                const Rect& a = caption.area;
                list.back()["captionArea"] = {
                    {"left", a.left}, {"top", a.top}, {"right", a.right}, {"bottom", a.bottom}};
                list.back()["captionColor"] = FormatWebColor(caption.colour);
                list.back()["darkPage"] = caption.darkPage;
            }
            if (f) {
                // What a person looks for: its kind, and how far it goes.
                const StyleRecipe& r = f->item->recipe;
                json& j = list.back();
                j["family"] = r.family;
                j["shape"] = ShapeName(r.shape);
                j["material"] = MaterialName(r.material);
                j["colourway"] = ColourNameOf(r);
                j["largestSize"] = f->largestSize;
                j["widestBody"] = f->widestBody;
                j["stretchable"] = f->stretchable;
            }
            continue;
        }
        char rect[40];
        std::snprintf(rect, sizeof rect, "(%d,%d)-(%d,%d)", e->left, e->top, e->right, e->bottom);
        char size[16] = "no style";
        if (style) std::snprintf(size, sizeof size, "%dx%d", width, height);
        std::printf("%6d %9d %-22s %8s %7d %7d", n, e->resourceNumber, rect, size, stretch, column);
        if (f) {
            const StyleRecipe& r = f->item->recipe;
            std::printf(" %6d %-14s %-11s %-12s %7d %6d", int(r.family), ShapeName(r.shape),
                        MaterialName(r.material), ColourNameOf(r), f->largestSize, f->widestBody);
        }
        std::printf("\n");
    }
    if (asJson) PrintJson(list);
    return kExitOk;
}

int RunStyle(const std::string& number, const std::string& output,
             const std::optional<std::string>& scaleText) {
    const int32_t n = int32_t(ParseInteger(number, "N", 1, Archive::kEntryCount));
    const int scale = scaleText ? ParseScale(*scaleText, "--scale") : 1;
    std::string extension = ExtensionOf(output);
    for (char& c : extension) c = char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (extension != "png") {
        throw UsageError("-o: the style's picture is written as PNG; the file name must end in .png (got \"" +
                         output + "\")");
    }
    std::unique_ptr<ButtonStyle> style = GetArchive().LoadScaled(n, scale);
    if (!style) throw UsageError("N: style " + std::to_string(n) + " has no picture");
    SafeSave save(output);
    FileMacStream stream(&save.Output());
    // Straight alpha, every pixel as the style holds it, no settings block.
    PngCodec::Write(style->image, stream, true, std::nullopt, nullptr, 0);
    save.Commit(SafeSave::Durability::Unsynced);
    return kExitOk;
}

}  // namespace tabora::cli
