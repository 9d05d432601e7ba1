#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "io/ButtonSettings.h"

namespace tabora {

enum class FieldKind {
    Integer,  // a whole number within a range
    Switch,   // on or off
    Text,     // UTF-8 of at most kMaxSettingText bytes
    Colour,   // a colour, "#RRGGBB" in the settings form
    Offset,   // x and y, each within a range
};

// The value of one field: the alternative its kind uses (Integer int32_t,
// Switch bool, Text std::string, Colour Color, Offset Point).
using FieldValue = std::variant<int32_t, bool, std::string, Color, Point>;

// How the command line spells a field.
enum class OptionForm {
    Value,   // --hue N
    Flag,    // --bold: switches it on
    Switch,  // --shadow and --no-shadow
};

// One field of ButtonSettings, everything said once: its key in the settings
// form (inspect --json, --settings, batch files), its kind and range, its
// command-line option with help, and where its value lives. Adding a field is
// a row here plus its use in the renderer (a setter, its line in
// TaboraButton::ApplySettings) and, if files are to keep it, a payload
// version.
struct SettingField {
    const char* key;
    FieldKind kind;
    int32_t min = 0;  // an integer's range; each coordinate of an offset
    int32_t max = 0;
    // Chosen in the export options dialogs, not part of the design: undo and
    // redo leave it as it is.
    bool exportOption = false;
    // Carried by the data block. A choice no file stores is not shown as
    // what a file holds (inspect), though the settings form accepts it.
    bool inFiles = true;

    const char* option = nullptr;    // "--hue"
    OptionForm form = OptionForm::Value;
    std::string typeName = {};  // what --help shows for the value
    // The help line; "{transparent formats}" stands for the formats that keep
    // transparency, "{quality formats}" for those with a quality and
    // "{smallest formats}" for those that make a smallest file, which the
    // command line fills in from the format registry.
    std::string help = {};
    const char* offOption = nullptr;  // the Switch form's "--no-..."
    const char* offHelp = nullptr;
    // The range the command line accepts, where it differs from the settings
    // form's (and what its help then shows).
    int32_t optionMin = 0;
    int32_t optionMax = 0;
    int optionPosition = 0;  // the option's place in --help, from 0

    FieldValue (*get)(const ButtonSettings& settings) = nullptr;
    void (*set)(ButtonSettings& settings, const FieldValue& value) = nullptr;
};

// Every field, in the order of the settings form.
std::span<const SettingField> SettingFields();
// The field of a settings-form key, or null.
const SettingField* FindField(std::string_view key);
// A field that must exist (the few with rules of their own: the style, the
// size).
const SettingField& FieldNamed(std::string_view key);
// "min..max", as ranges appear in help and messages.
std::string RangeText(int64_t min, int64_t max);

// Any subset of the fields with a value for each: what a settings file, the
// command line or a batch entry asks for, or what one state of a button
// changes. Values are taken as they are; checking them is the reader's work.
class SettingsPatch {
public:
    SettingsPatch();

    void Set(const SettingField& field, FieldValue value);
    // Leaves the field alone again.
    void Clear(const SettingField& field);
    // The field's value, or null when the patch leaves it alone.
    const FieldValue* Find(const SettingField& field) const;
    bool Has(const SettingField& field) const { return Find(field) != nullptr; }
    bool Empty() const;
    // The fields `later` sets replace these.
    void Merge(const SettingsPatch& later);
    // Writes the patched fields into `settings`, in table order.
    void ApplyTo(ButtonSettings& settings) const;

    friend bool operator==(const SettingsPatch&, const SettingsPatch&) = default;

private:
    std::vector<std::optional<FieldValue>> values_;  // by place in SettingFields()
};

// The design of `design` with the export options of `options`.
ButtonSettings WithExportOptionsOf(ButtonSettings design, const ButtonSettings& options);
// Equal in everything but the export options.
bool SameDesign(const ButtonSettings& a, const ButtonSettings& b);

}  // namespace tabora
