#pragma once
#include <optional>
#include <string>
#include <vector>

#include "cli/StyleFilters.h"
#include "io/SettingsFields.h"

namespace tabora {
struct OpenResult;
}

namespace tabora::cli {

// What `render` was given; values stay text until checked, so a message can
// quote what the user typed.
struct RenderArgs {
    std::string output;
    std::string settingsFile;
    std::string fromFile;
    // What was given for each settings field, by its place in
    // SettingFields(): the text of a value, or which of its flags.
    struct FieldOption {
        std::optional<std::string> value;
        bool on = false;
        bool off = false;
    };
    std::vector<FieldOption> fields = std::vector<FieldOption>(SettingFields().size());
    // --states [LIST]: "" (given alone) for all five; --sprite; --css FILE;
    // --strict.
    std::optional<std::string> states;
    bool sprite = false;
    std::string css;
    bool strict = false;
    // --scale K: one picture at that scale under the name given; --scales
    // "1,2,3": one at each, the finer ones named by ScaledPath.
    std::optional<std::string> scale;
    std::optional<std::string> scales;
};

struct BatchArgs {
    std::string file;
    std::optional<std::string> jobs;
    bool strict = false;
};

// Each returns the exit code; errors of the kinds the exit codes name are
// thrown (UsageError, TaboraError) and turned into messages by main.
int RunRender(const RenderArgs& args);
int RunInspect(const std::string& file, bool json);
int RunStyles(bool json, const StyleFilter& filter);
// `sheet`: a numbered contact sheet of the styles that pass the filter.
struct SheetArgs {
    std::string output;
    StyleFilter filter;
    std::optional<std::string> columns;
};
int RunSheet(const SheetArgs& args);
int RunStyle(const std::string& number, const std::string& output,
             const std::optional<std::string>& scale);
int RunBatch(const BatchArgs& args);

// Prints "tabora-cli: " and the text to standard error.
void PrintError(const std::string& text);
// Prints "tabora-cli: warning: " and the text to standard error.
void PrintWarning(const std::string& text);
// "" when every character of the caption is drawn; else the warning that
// names the characters no installed font has (drawn as boxes).
std::string MissingCharactersWarning(const std::vector<char32_t>& missing);

// The command line's words for a file that did not open: an unreadable or
// damaged file throws TaboraError with the reason (exit 1 through main);
// one without settings gets what its reader says about that, then the
// refusal, and the failure status is returned.
int ReportNotOpened(const std::string& file, const OpenResult& result);

}  // namespace tabora::cli
