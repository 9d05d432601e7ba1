#pragma once
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "io/SettingsFields.h"

namespace tabora {
class TaboraButton;
}

namespace tabora::cli {

// Parsers for option values; each throws UsageError naming `what` (an option
// such as "--hue" or a JSON key) and the accepted range.
int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max);
// "RRGGBB" in web order, '#' optional.
Color ParseWebColor(std::string_view text, std::string_view what);
std::string FormatWebColor(Color color);
// "X,Y", each within min..max.
Point ParseOffset(std::string_view text, std::string_view what, int32_t min, int32_t max);
// Text of at most 255 bytes, without a NUL (the settings end a text there,
// and the rest would be lost without a word).
std::string CheckText(std::string text, std::string_view what);
// Refuses a NUL inside a name or text from a file: the system would end a
// file name there ("evil\u0000.png" would create "evil"). Throws UsageError
// naming `what`.
void RefuseNul(std::string_view text, std::string_view what);

// The settings fields with a command-line option, in the order --help shows
// them.
std::vector<const SettingField*> FieldsInOptionOrder();
// A field's help line with the format registry's words filled in.
std::string OptionHelp(const SettingField& field);
// A field's value from the text given to its option, checked against the
// option's range (UsageError naming the option).
FieldValue ParseOptionValue(const SettingField& field, const std::string& text);

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
// at its default size unless the patch gives one. Checks the style (it must
// have a picture) and the size against the style's range (UsageError naming
// `sizeWhat`). Uses `scratch` to load styles.
ButtonSettings Resolve(const ButtonSettings& base, const SettingsPatch& patch, TaboraButton& scratch,
                       std::string_view sizeWhat);

// A field's value in the settings form.
nlohmann::ordered_json FieldToJson(const SettingField& field, const FieldValue& value);
// The `inspect --json` object.
nlohmann::ordered_json SettingsToJson(const ButtonSettings& settings, int payloadVersion,
                                      std::string_view format);

}  // namespace tabora::cli
