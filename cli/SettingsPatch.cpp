#include "cli/SettingsPatch.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <utility>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::cli {

using nlohmann::json;

void SettingsPatch::Merge(const SettingsPatch& later) {
    auto take = [](auto& mine, const auto& theirs) {
        if (theirs) mine = theirs;
    };
    take(styleNumber, later.styleNumber);
    take(backgroundColor, later.backgroundColor);
    take(textColor, later.textColor);
    take(hueShift, later.hueShift);
    take(brightness, later.brightness);
    take(buttonSize, later.buttonSize);
    take(shadow, later.shadow);
    take(antialias, later.antialias);
    take(textShadow, later.textShadow);
    take(fontName, later.fontName);
    take(fontSize, later.fontSize);
    take(bold, later.bold);
    take(italic, later.italic);
    take(caption, later.caption);
    take(textOffset, later.textOffset);
    take(removeBackground, later.removeBackground);
    take(jpegQuality, later.jpegQuality);
    take(includeShadowArea, later.includeShadowArea);
}

namespace {

std::string Range(int64_t min, int64_t max) {
    return std::to_string(min) + ".." + std::to_string(max);
}

[[noreturn]] void OutOfRange(std::string_view what, std::string_view got, int64_t min, int64_t max) {
    throw UsageError(std::string(what) + " must be an integer in " + Range(min, max) + " (got \"" +
                     std::string(got) + "\")");
}

}  // namespace

int64_t ParseInteger(std::string_view text, std::string_view what, int64_t min, int64_t max) {
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < min || value > max) {
        OutOfRange(what, text, min, max);
    }
    return value;
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

Point ParseOffset(std::string_view text, std::string_view what) {
    size_t comma = text.find(',');
    auto trim = [](std::string_view s) {
        while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
        while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
        return s;
    };
    if (comma == std::string_view::npos) {
        throw UsageError(std::string(what) + " must be X,Y with each in " +
                         Range(-kMaxTextOffset, kMaxTextOffset) + " (got \"" + std::string(text) + "\")");
    }
    const std::string name(what);
    return {int32_t(ParseInteger(trim(text.substr(0, comma)), name + " X", -kMaxTextOffset, kMaxTextOffset)),
            int32_t(ParseInteger(trim(text.substr(comma + 1)), name + " Y", -kMaxTextOffset, kMaxTextOffset))};
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
    std::optional<Point> Offset(const char* key) const {
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
        p.x = int32_t(inner.Integer("x", -kMaxTextOffset, kMaxTextOffset).value_or(0));
        p.y = int32_t(inner.Integer("y", -kMaxTextOffset, kMaxTextOffset).value_or(0));
        return p;
    }

private:
    const json& object_;
    std::string where_;
};

constexpr const char* kSettingKeys[] = {
    "styleNumber", "backgroundColor", "textColor", "hueShift", "brightness", "buttonSize",
    "shadow", "antialias", "textShadow", "fontName", "fontSize", "bold", "italic", "caption",
    "textOffset", "removeBackground", "jpegQuality", "includeShadowArea"};

// The largest size any style can have: the widest body on the canvas.
constexpr int64_t kLargestSize = kNaturalButtonSize + 2 * int64_t(kWidestBody);

}  // namespace

SettingsPatch PatchFromJson(const json& object, const std::string& where,
                            std::initializer_list<std::string_view> extraKeys) {
    if (!object.is_object()) throw UsageError(where + ": settings must be a JSON object");
    for (auto it = object.begin(); it != object.end(); ++it) {
        const std::string& key = it.key();
        bool known = key == "payloadVersion" || key == "format" ||
                     std::find(extraKeys.begin(), extraKeys.end(), key) != extraKeys.end() ||
                     std::find(std::begin(kSettingKeys), std::end(kSettingKeys), key) != std::end(kSettingKeys);
        if (!known) throw UsageError(where + ": unknown key \"" + key + "\"");
    }
    JsonReader r(object, where);
    SettingsPatch p;
    if (auto v = r.Integer("styleNumber", 0, kLastStyle)) p.styleNumber = int16_t(*v);
    p.backgroundColor = r.WebColor("backgroundColor");
    p.textColor = r.WebColor("textColor");
    if (auto v = r.Integer("hueShift", 0, kMaxHueShift)) p.hueShift = int32_t(*v);
    if (auto v = r.Integer("brightness", -kMaxBrightness, kMaxBrightness)) p.brightness = int32_t(*v);
    if (auto v = r.Integer("buttonSize", kMinButtonSize, kLargestSize)) p.buttonSize = int32_t(*v);
    p.shadow = r.Bool("shadow");
    p.antialias = r.Bool("antialias");
    p.textShadow = r.Bool("textShadow");
    p.fontName = r.Text("fontName");
    // Negative sizes are a raster font's cell height, as saved files may hold.
    if (auto v = r.Integer("fontSize", -kMaxFontPoints, kMaxFontPoints)) p.fontSize = int16_t(*v);
    p.bold = r.Bool("bold");
    p.italic = r.Bool("italic");
    p.caption = r.Text("caption");
    p.textOffset = r.Offset("textOffset");
    p.removeBackground = r.Bool("removeBackground");
    if (auto v = r.Integer("jpegQuality", 0, kMaxQuality)) p.jpegQuality = int16_t(*v);
    p.includeShadowArea = r.Bool("includeShadowArea");
    return p;
}

namespace {

// The largest size of the style `scratch` holds: its widest body, or its
// default size when that is larger.
int32_t LargestSize(const TaboraButton& scratch) {
    return std::max(kNaturalButtonSize + 2 * int32_t(scratch.MaxExtraWidth()),
                    scratch.DefaultButtonSize());
}

[[noreturn]] void SizeOutOfRange(std::string_view what, int16_t styleNumber, int32_t largest,
                                 std::string_view got) {
    throw UsageError(std::string(what) + " must be an integer in " +
                     Range(kMinButtonSize, largest) + " for style " + std::to_string(styleNumber) +
                     " (got \"" + std::string(got) + "\")");
}

}  // namespace

int32_t ParseButtonSize(std::string_view text, std::string_view what, int16_t styleNumber,
                        TaboraButton& scratch) {
    scratch.SetStyleNumber(styleNumber);
    const int32_t largest = LargestSize(scratch);
    std::string_view digits = text;
    if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
    int64_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
        value < kMinButtonSize || value > largest) {
        SizeOutOfRange(what, styleNumber, largest, text);
    }
    return int32_t(value);
}

ButtonSettings Resolve(const ButtonSettings& base, const SettingsPatch& patch, TaboraButton& scratch,
                       std::string_view sizeWhat) {
    ButtonSettings s = base;
    if (patch.styleNumber) {
        const int16_t n = *patch.styleNumber;
        if (n != 0 && !GetArchive().HasStyleData(n)) {
            throw UsageError("style " + std::to_string(n) +
                             " has no picture; choose 0 (no style) or a style that \"styles\" lists with hasStyle");
        }
        s.styleNumber = n;
    }
    scratch.SetStyleNumber(s.styleNumber);
    const int32_t largest = LargestSize(scratch);
    if (patch.buttonSize) {
        if (*patch.buttonSize < kMinButtonSize || *patch.buttonSize > largest) {
            SizeOutOfRange(sizeWhat, s.styleNumber, largest, std::to_string(*patch.buttonSize));
        }
        s.buttonSize = *patch.buttonSize;
    } else if (patch.styleNumber) {
        s.buttonSize = scratch.DefaultButtonSize();
    }
    if (patch.backgroundColor) s.backgroundColor = *patch.backgroundColor;
    if (patch.textColor) s.textColor = *patch.textColor;
    if (patch.hueShift) s.hueShift = *patch.hueShift;
    if (patch.brightness) s.brightness = *patch.brightness;
    if (patch.shadow) s.shadow = *patch.shadow;
    if (patch.antialias) s.antialias = *patch.antialias;
    if (patch.textShadow) s.textShadow = *patch.textShadow;
    if (patch.fontName) s.fontName = *patch.fontName;
    if (patch.fontSize) s.fontSize = *patch.fontSize;
    if (patch.bold) s.fontStyle = *patch.bold ? (s.fontStyle | kFontBold) : (s.fontStyle & ~kFontBold);
    if (patch.italic) s.fontStyle = *patch.italic ? (s.fontStyle | kFontItalic) : (s.fontStyle & ~kFontItalic);
    if (patch.caption) s.caption = *patch.caption;
    if (patch.textOffset) s.textOffset = *patch.textOffset;
    if (patch.removeBackground) s.removeBackground = *patch.removeBackground;
    if (patch.jpegQuality) s.jpegQuality = *patch.jpegQuality;
    if (patch.includeShadowArea) s.includeShadowArea = *patch.includeShadowArea;
    return s;
}

void ApplySettings(TaboraButton& button, const ButtonSettings& s) {
    button.SetStyleNumber(s.styleNumber);
    button.SetButtonSize(s.buttonSize);
    button.SetHueShift(s.hueShift);
    button.SetBrightness(s.brightness);
    button.SetShadow(s.shadow);
    button.SetAntialias(s.antialias);
    button.SetTextShadow(s.textShadow);
    if (button.settings().fontName != s.fontName) button.SetFontName(s.fontName);
    button.SetFontSize(s.fontSize);
    button.SetFontStyle(s.fontStyle);
    if (button.settings().caption != s.caption) button.SetCaption(s.caption);
    button.SetTextOffset(s.textOffset);
    // The colour setters always recompose; skip them when nothing changes.
    if (button.settings().backgroundColor != s.backgroundColor) button.SetBackgroundColor(s.backgroundColor);
    if (button.settings().textColor != s.textColor) button.SetTextColor(s.textColor);
    button.SetRemoveBackground(s.removeBackground);
    button.SetIncludeShadowArea(s.includeShadowArea);
    button.SetJpegQuality(s.jpegQuality);
}

nlohmann::ordered_json SettingsToJson(const ButtonSettings& s, int payloadVersion,
                                      std::string_view format) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    j["payloadVersion"] = payloadVersion;
    j["format"] = std::string(format);
    j["styleNumber"] = s.styleNumber;
    j["backgroundColor"] = FormatWebColor(s.backgroundColor);
    j["textColor"] = FormatWebColor(s.textColor);
    j["hueShift"] = s.hueShift;
    j["brightness"] = s.brightness;
    j["buttonSize"] = s.buttonSize;
    j["shadow"] = s.shadow;
    j["antialias"] = s.antialias;
    j["textShadow"] = s.textShadow;
    j["fontName"] = s.fontName;
    j["fontSize"] = s.fontSize;
    j["bold"] = (s.fontStyle & kFontBold) != 0;
    j["italic"] = (s.fontStyle & kFontItalic) != 0;
    j["caption"] = s.caption;
    j["textOffset"] = {{"x", s.textOffset.x}, {"y", s.textOffset.y}};
    j["removeBackground"] = s.removeBackground;
    j["jpegQuality"] = s.jpegQuality;
    j["includeShadowArea"] = s.includeShadowArea;
    return j;
}

}  // namespace tabora::cli
