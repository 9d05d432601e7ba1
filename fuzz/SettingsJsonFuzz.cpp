// The --settings reader of tabora-cli on arbitrary bytes: parse, check every
// key, resolve against the catalogue and apply to a button. A file is refused
// with a message naming it (TaboraError) or the key at fault (UsageError);
// anything it accepts must render.
#include <string_view>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/JsonFile.h"
#include "cli/SettingsPatch.h"
#include "fuzz/FuzzTarget.h"
#include "platform/Error.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const nlohmann::json value = cli::ParseJsonText(text, "settings.json");
        const SettingsPatch patch = cli::PatchFromJson(value, "settings.json");
        TaboraButton button(GetArchive());
        const ButtonSettings settings = cli::Resolve(button.settings(), patch, button, "buttonSize");
        button.ApplySettings(settings);
        button.PrepareExport();
        const Rect r = button.exportRect();
        TABORA_FUZZ_CHECK(!r.IsEmpty() && r.Intersect(kCanvasRect) == r);
    } catch (const TaboraError&) {
    } catch (const cli::UsageError&) {
    }
    return 0;
}
