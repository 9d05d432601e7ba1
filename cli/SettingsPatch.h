#pragma once
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

#include "render/ButtonSettings.h"

namespace tabora {
class TaboraButton;
}

namespace tabora::cli {

// Settings given on the command line or in a JSON file: every field is
// optional, and values have been checked against what the controls accept
// (all but the size, whose range depends on the style; see Resolve).
struct SettingsPatch {
    std::optional<int16_t> styleNumber;
    std::optional<Color> backgroundColor;
    std::optional<Color> textColor;
    std::optional<int32_t> hueShift;
    std::optional<int32_t> brightness;
    std::optional<int32_t> buttonSize;
    std::optional<bool> shadow;
    std::optional<bool> antialias;
    std::optional<bool> textShadow;
    std::optional<std::string> fontName;
    std::optional<int16_t> fontSize;
    std::optional<bool> bold;
    std::optional<bool> italic;
    std::optional<std::string> caption;
    std::optional<Point> textOffset;
    std::optional<bool> removeBackground;
    std::optional<int16_t> jpegQuality;
    std::optional<bool> includeShadowArea;

    // The fields `later` sets replace these.
    void Merge(const SettingsPatch& later);
};

// Ranges, as the controls of the desktop application have them.
constexpr int32_t kLastStyle = 930;
constexpr int32_t kMinFontPoints = 1;
constexpr int32_t kMaxQuality = 100;

// Parsers for option values; each throws UsageError naming `what` (an option
// such as "--hue" or a JSON key) and the accepted range.
int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max);
// "RRGGBB" in web order, '#' optional.
Color ParseWebColor(std::string_view text, std::string_view what);
std::string FormatWebColor(Color color);
// "X,Y".
Point ParseOffset(std::string_view text, std::string_view what);
// Text of at most 255 bytes, without a NUL (the settings end a text there,
// and the rest would be lost without a word).
std::string CheckText(std::string text, std::string_view what);
// Refuses a NUL inside a name or text from a file: the system would end a
// file name there ("evil\u0000.png" would create "evil"). Throws UsageError
// naming `what`.
void RefuseNul(std::string_view text, std::string_view what);

// The settings form of `inspect --json`, every key optional. Wrong types,
// out-of-range numbers and unknown keys throw UsageError naming the key;
// `where` prefixes the message (e.g. the file name).
// `extraKeys` are further keys the caller handles itself (they are skipped);
// "payloadVersion" and "format" of the inspect form are always accepted.
SettingsPatch PatchFromJson(const nlohmann::json& object, const std::string& where,
                            std::initializer_list<std::string_view> extraKeys = {});

// A button size typed for `styleNumber` (checked against that style's own
// range, which `scratch` looks up); any text that is not a size in the
// range, however long a number, throws UsageError naming `what` and the
// range.
int32_t ParseButtonSize(std::string_view text, std::string_view what, int16_t styleNumber,
                        TaboraButton& scratch);

// The finished settings: `base`, then the patch; a newly chosen style starts
// at its default size unless the patch gives one. Checks the size against the
// style's range (UsageError naming `sizeWhat`). Uses `scratch` to load styles.
ButtonSettings Resolve(const ButtonSettings& base, const SettingsPatch& patch, TaboraButton& scratch,
                       std::string_view sizeWhat);
// Brings a button to exactly these settings through its setters, so that a
// reused button rebuilds only what changed.
void ApplySettings(TaboraButton& button, const ButtonSettings& settings);

// The `inspect --json` object.
nlohmann::ordered_json SettingsToJson(const ButtonSettings& settings, int payloadVersion,
                              std::string_view format);

}  // namespace tabora::cli
