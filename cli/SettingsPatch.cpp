#include "cli/SettingsPatch.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "imaging/Formats.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::cli {

using nlohmann::json;

namespace {

// The whole of `text` as a decimal integer in min..max ('+' allowed), or
// nothing.
std::optional<int64_t> IntegerIn(std::string_view text, int64_t min, int64_t max) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < min ||
        value > max) {
        return std::nullopt;
    }
    return value;
}

[[noreturn]] void OutOfRange(std::string_view what, std::string_view got, int64_t min, int64_t max) {
    throw UsageError(std::string(what) + " must be an integer in " + RangeText(min, max) + " (got \"" +
                     std::string(got) + "\")");
}

}  // namespace

int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max) {
    const std::optional<int64_t> value = IntegerIn(text, min, max);
    if (!value) OutOfRange(what, text, min, max);
    return *value;
}

Color ParseWebColor(std::string_view text, std::string_view what) {
    std::string_view hex = text;
    if (!hex.empty() && hex.front() == '#') hex.remove_prefix(1);
    uint32_t value = 0;
    bool ok = hex.size() == 6;
    for (char c : hex) {
        int digit = c >= '0' && c <= '9' ? c - '0'
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                         : -1;
        if (digit < 0) ok = false;
        value = (value << 4) | uint32_t(digit & 0xF);
    }
    if (!ok) {
        throw UsageError(std::string(what) + " must be a colour RRGGBB, '#' optional (got \"" +
                         std::string(text) + "\")");
    }
    return MakeColor(uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value));
}

std::string FormatWebColor(Color color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", RedOf(color), GreenOf(color), BlueOf(color));
    return text;
}

Point ParseOffset(std::string_view text, std::string_view what, int32_t min, int32_t max) {
    size_t comma = text.find(',');
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    };
    if (comma == std::string_view::npos) {
        throw UsageError(std::string(what) + " must be X,Y with each in " + RangeText(min, max) +
                         " (got \"" + std::string(text) + "\")");
    }
    const std::string name(what);
    return {int32_t(ParseInteger(trim(text.substr(0, comma)), name + " X", min, max)),
            int32_t(ParseInteger(trim(text.substr(comma + 1)), name + " Y", min, max))};
}

void RefuseNul(std::string_view text, std::string_view what) {
    if (text.find('\0') != std::string_view::npos) {
        throw UsageError(std::string(what) + " must not contain a NUL character (\\u0000)");
    }
}

std::string CheckText(std::string text, std::string_view what) {
    RefuseNul(text, what);
    if (text.size() > kMaxSettingText) {
        throw UsageError(std::string(what) + " may hold at most " + std::to_string(kMaxSettingText) +
                         " bytes (got " + std::to_string(text.size()) + ")");
    }
    return text;
}

namespace {

// Reads one key of a settings object with the message prefix `where`.
class JsonReader {
public:
    JsonReader(const json& object, std::string where) : object_(object), where_(std::move(where)) {}

    const json* Find(const char* key) const {
        auto it = object_.find(key);
        return it == object_.end() ? nullptr : &*it;
    }
    std::string What(std::string_view key) const { return where_ + ": \"" + std::string(key) + "\""; }

    std::optional<int64_t> Integer(const char* key, int64_t min, int64_t max) const {
        const json* v = Find(key);
        if (!v) return std::nullopt;
        if (v->is_number_unsigned()) {
            uint64_t u = v->get<uint64_t>();
            if (u <= uint64_t(max) && int64_t(u) >= min) return int64_t(u);
        } else if (v->is_number_integer()) {
            int64_t i = v->get<int64_t>();
            if (i >= min && i <= max) return i;
        }
        OutOfRange(What(key), v->dump(), min, max);
    }
    std::optional<bool> Bool(const char* key) const {
        const json* v = Find(key);
        if (!v) return std::nullopt;
        if (!v->is_boolean()) throw UsageError(What(key) + " must be true or false (got " + v->dump() + ")");
        return v->get<bool>();
    }
    std::optional<std::string> Text(const char* key) const {
        const json* v = Find(key);
        if (!v) return std::nullopt;
        if (!v->is_string()) throw UsageError(What(key) + " must be a string (got " + v->dump() + ")");
        return CheckText(v->get<std::string>(), What(key));
    }
    std::optional<Color> WebColor(const char* key) const {
        const json* v = Find(key);
        if (!v) return std::nullopt;
        if (!v->is_string()) throw UsageError(What(key) + " must be a colour \"#RRGGBB\" (got " + v->dump() + ")");
        return ParseWebColor(v->get<std::string>(), What(key));
    }
    std::optional<Point> Offset(const char* key, int32_t min, int32_t max) const {
        const json* v = Find(key);
        if (!v) return std::nullopt;
        if (!v->is_object()) throw UsageError(What(key) + " must be an object {\"x\": X, \"y\": Y}");
        for (auto it = v->begin(); it != v->end(); ++it) {
            if (it.key() != "x" && it.key() != "y") {
                throw UsageError(What(key) + " has an unknown key \"" + it.key() + "\"");
            }
        }
        JsonReader inner(*v, What(key));
        Point p;
        p.x = int32_t(inner.Integer("x", min, max).value_or(0));
        p.y = int32_t(inner.Integer("y", min, max).value_or(0));
        return p;
    }

private:
    const json& object_;
    std::string where_;
};

}  // namespace

SettingsPatch PatchFromJson(const json& object, const std::string& where,
                            std::initializer_list<std::string_view> extraKeys) {
    if (!object.is_object()) throw UsageError(where + ": settings must be a JSON object");
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        bool known = key == "payloadVersion" || key == "format" || FindField(key) ||
                     std::find(extraKeys.begin(), extraKeys.end(), key) != extraKeys.end();
        if (!known) throw UsageError(where + ": unknown key \"" + key + "\"");
    }
    JsonReader r(object, where);
    SettingsPatch p;
    for (const SettingField& field : SettingFields()) {
        switch (field.kind) {
        case FieldKind::Integer:
            if (auto v = r.Integer(field.key, field.min, field.max)) p.Set(field, int32_t(*v));
            break;
        case FieldKind::Switch:
            if (auto v = r.Bool(field.key)) p.Set(field, *v);
            break;
        case FieldKind::Text:
            if (auto v = r.Text(field.key)) p.Set(field, std::move(*v));
            break;
        case FieldKind::Colour:
            if (auto v = r.WebColor(field.key)) p.Set(field, *v);
            break;
        case FieldKind::Offset:
            if (auto v = r.Offset(field.key, field.min, field.max)) p.Set(field, *v);
            break;
        }
    }
    return p;
}

std::vector<const SettingField*> FieldsInOptionOrder() {
    std::vector<const SettingField*> fields;
    for (const SettingField& field : SettingFields()) {
        if (field.option) fields.push_back(&field);
    }
    std::sort(fields.begin(), fields.end(), [](const SettingField* a, const SettingField* b) {
        return a->optionPosition < b->optionPosition;
    });
    return fields;
}

std::string OptionHelp(const SettingField& field) {
    // Each placeholder stands for the formats whose row offers the option.
    struct Placeholder {
        const char* text;
        bool FormatEntry::*offers;
    };
    static const Placeholder kPlaceholders[] = {
        {"{transparent formats}", &FormatEntry::keepsTransparency},
        {"{quality formats}", &FormatEntry::hasQuality},
        {"{smallest formats}", &FormatEntry::offersSmallest},
    };
    std::string help = field.help;
    for (const Placeholder& placeholder : kPlaceholders) {
        const std::string_view text = placeholder.text;
        const size_t at = help.find(text);
        if (at == std::string::npos) continue;
        std::vector<std::string> labels;
        for (const FormatEntry& format : Formats()) {
            if (format.*placeholder.offers) labels.push_back(format.label);
        }
        help.replace(at, text.size(), ListInWords(labels, "and"));
    }
    return help;
}

FieldValue ParseOptionValue(const SettingField& field, const std::string& text) {
    switch (field.kind) {
    case FieldKind::Integer:
        return int32_t(ParseInteger(text, field.option, field.optionMin, field.optionMax));
    case FieldKind::Colour:
        return ParseWebColor(text, field.option);
    case FieldKind::Text:
        return CheckText(text, field.option);
    case FieldKind::Offset:
        return ParseOffset(text, field.option, field.optionMin, field.optionMax);
    case FieldKind::Switch:
        break;
    }
    return text == "true";  // switches are flags, never given a value
}

namespace {

[[noreturn]] void SizeOutOfRange(std::string_view what, int16_t styleNumber, int32_t largest,
                                 std::string_view got) {
    throw UsageError(std::string(what) + " must be an integer in " +
                     RangeText(kMinButtonSize, largest) + " for style " +
                     std::to_string(styleNumber) + " (got \"" + std::string(got) + "\")");
}

}  // namespace

int32_t ParseButtonSize(std::string_view text, std::string_view what, int16_t styleNumber,
                        TaboraButton& scratch) {
    scratch.SetStyleNumber(styleNumber);
    const int32_t largest = scratch.MaxButtonSize();
    const std::optional<int64_t> value = IntegerIn(text, kMinButtonSize, largest);
    if (!value) SizeOutOfRange(what, styleNumber, largest, text);
    return int32_t(*value);
}

ButtonSettings Resolve(const ButtonSettings& base, const SettingsPatch& patch, TaboraButton& scratch,
                       std::string_view sizeWhat) {
    const SettingField& styleField = FieldNamed("styleNumber");
    const SettingField& sizeField = FieldNamed("buttonSize");
    ButtonSettings s = base;
    patch.ApplyTo(s);
    if (patch.Has(styleField) && s.styleNumber != 0 && !GetArchive().HasStyleData(s.styleNumber)) {
        throw UsageError("style " + std::to_string(s.styleNumber) +
                         " has no picture; choose 0 (no style) or a style that \"styles\" lists with hasStyle");
    }
    scratch.SetStyleNumber(s.styleNumber);
    const int32_t largest = scratch.MaxButtonSize();
    if (patch.Has(sizeField)) {
        if (s.buttonSize < kMinButtonSize || s.buttonSize > largest) {
            SizeOutOfRange(sizeWhat, s.styleNumber, largest, std::to_string(s.buttonSize));
        }
    } else if (patch.Has(styleField)) {
        s.buttonSize = scratch.DefaultButtonSize();
    }
    return s;
}

nlohmann::ordered_json FieldToJson(const SettingField& field, const FieldValue& value) {
    switch (field.kind) {
    case FieldKind::Integer: return std::get<int32_t>(value);
    case FieldKind::Switch: return std::get<bool>(value);
    case FieldKind::Text: return std::get<std::string>(value);
    case FieldKind::Colour: return FormatWebColor(std::get<Color>(value));
    case FieldKind::Offset: {
        const Point p = std::get<Point>(value);
        return {{"x", p.x}, {"y", p.y}};
    }
    }
    return nullptr;
}

nlohmann::ordered_json SettingsToJson(const ButtonSettings& s, int payloadVersion,
                                      std::string_view format) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    j["payloadVersion"] = payloadVersion;
    j["format"] = std::string(format);
    for (const SettingField& field : SettingFields()) {
        if (field.inFiles) j[field.key] = FieldToJson(field, field.get(s));
    }
    return j;
}

}  // namespace tabora::cli
