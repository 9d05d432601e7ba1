#include "io/SettingsFields.h"

#include <cstdlib>
#include <type_traits>

namespace tabora {

namespace {

// The command line reads any size up to this and checks it against the
// style's range once the style is known, so the message can name that range.
constexpr int32_t kSizeOptionLimit = 1'000'000;
// The font size list starts at 1 point; stored files may hold a raster
// font's negative cell height, which only the settings form accepts.
constexpr int32_t kMinFontPointsOption = 1;

// Where a field's value lives: a member, held in the variant as `Stored`.
template <auto Member, typename Stored>
FieldValue Get(const ButtonSettings& s) {
    return Stored(s.*Member);
}
template <auto Member, typename Stored>
void Put(ButtonSettings& s, const FieldValue& value) {
    using Field = std::remove_cvref_t<decltype(s.*Member)>;
    s.*Member = static_cast<Field>(std::get<Stored>(value));
}

// Bold and italic are bits of the font style.
template <uint32_t Bit>
FieldValue GetStyleBit(const ButtonSettings& s) {
    return (s.fontStyle & Bit) != 0;
}
template <uint32_t Bit>
void PutStyleBit(ButtonSettings& s, const FieldValue& value) {
    s.fontStyle = std::get<bool>(value) ? (s.fontStyle | Bit) : (s.fontStyle & ~Bit);
}

std::vector<SettingField> MakeFields() {
    using S = ButtonSettings;
    using K = FieldKind;
    using F = OptionForm;
    const std::string text = std::to_string(kMaxSettingText);
    return {
        {.key = "styleNumber", .kind = K::Integer, .min = 0, .max = kLastStyleNumber,
         .option = "--style", .typeName = "N",
         .help = "Style number, " + RangeText(0, kLastStyleNumber) + " (0: no style)",
         .optionMin = 0, .optionMax = kLastStyleNumber, .optionPosition = 0,
         .get = Get<&S::styleNumber, int32_t>, .set = Put<&S::styleNumber, int32_t>},
        {.key = "backgroundColor", .kind = K::Colour, .option = "--background",
         .typeName = "RRGGBB", .help = "Background colour, web order, '#' optional",
         .optionPosition = 7,
         .get = Get<&S::backgroundColor, Color>, .set = Put<&S::backgroundColor, Color>},
        {.key = "textColor", .kind = K::Colour, .option = "--text-color", .typeName = "RRGGBB",
         .help = "Caption colour, web order, '#' optional; auto: black or white, whichever reads better",
         .optionPosition = 6,
         .get = Get<&S::textColor, Color>, .set = Put<&S::textColor, Color>},
        {.key = "hueShift", .kind = K::Integer, .min = 0, .max = kMaxHueShift,
         .option = "--hue", .typeName = RangeText(0, kMaxHueShift),
         .help = "Hue shift of the body, " + RangeText(0, kMaxHueShift),
         .optionMin = 0, .optionMax = kMaxHueShift, .optionPosition = 8,
         .get = Get<&S::hueShift, int32_t>, .set = Put<&S::hueShift, int32_t>},
        {.key = "brightness", .kind = K::Integer, .min = -kMaxBrightness, .max = kMaxBrightness,
         .option = "--brightness", .typeName = RangeText(-kMaxBrightness, kMaxBrightness),
         .help = "Brightness of the body, " + RangeText(-kMaxBrightness, kMaxBrightness),
         .optionMin = -kMaxBrightness, .optionMax = kMaxBrightness, .optionPosition = 9,
         .get = Get<&S::brightness, int32_t>, .set = Put<&S::brightness, int32_t>},
        {.key = "buttonSize", .kind = K::Integer, .min = kMinButtonSize,
         .max = kLargestButtonSize, .option = "--size", .typeName = "N",
         .help = "Button size, " + std::to_string(kMinButtonSize) +
                 " up to the style's largest (default: the style's default size)",
         .optionMin = 0, .optionMax = kSizeOptionLimit, .optionPosition = 10,
         .get = Get<&S::buttonSize, int32_t>, .set = Put<&S::buttonSize, int32_t>},
        {.key = "shadow", .kind = K::Switch, .option = "--shadow", .form = F::Switch,
         .help = "Draw the drop shadow", .offOption = "--no-shadow", .offHelp = "No drop shadow",
         .optionPosition = 11, .get = Get<&S::shadow, bool>, .set = Put<&S::shadow, bool>},
        {.key = "antialias", .kind = K::Switch, .option = "--antialias", .form = F::Switch,
         .help = "Smooth caption edges", .offOption = "--no-antialias",
         .offHelp = "Crisp caption edges", .optionPosition = 13,
         .get = Get<&S::antialias, bool>, .set = Put<&S::antialias, bool>},
        {.key = "textShadow", .kind = K::Switch, .option = "--text-shadow", .form = F::Switch,
         .help = "Draw the caption's shadow", .offOption = "--no-text-shadow",
         .offHelp = "No caption shadow", .optionPosition = 12,
         .get = Get<&S::textShadow, bool>, .set = Put<&S::textShadow, bool>},
        {.key = "fontName", .kind = K::Text, .option = "--font", .typeName = "NAME",
         .help = "Font family name", .optionPosition = 2,
         .get = Get<&S::fontName, std::string>, .set = Put<&S::fontName, std::string>},
        {.key = "fontSize", .kind = K::Integer, .min = -kMaxFontPoints, .max = kMaxFontPoints,
         .option = "--font-size", .typeName = "PT",
         .help = "Font size in points, " + RangeText(kMinFontPointsOption, kMaxFontPoints),
         .optionMin = kMinFontPointsOption, .optionMax = kMaxFontPoints, .optionPosition = 3,
         .get = Get<&S::fontSize, int32_t>, .set = Put<&S::fontSize, int32_t>},
        {.key = "bold", .kind = K::Switch, .option = "--bold", .form = F::Flag,
         .help = "Bold caption", .optionPosition = 4,
         .get = GetStyleBit<kFontBold>, .set = PutStyleBit<kFontBold>},
        {.key = "italic", .kind = K::Switch, .option = "--italic", .form = F::Flag,
         .help = "Italic caption", .optionPosition = 5,
         .get = GetStyleBit<kFontItalic>, .set = PutStyleBit<kFontItalic>},
        {.key = "caption", .kind = K::Text, .option = "--caption", .typeName = "TEXT",
         .help = "Caption text, at most " + text + " bytes of UTF-8", .optionPosition = 1,
         .get = Get<&S::caption, std::string>, .set = Put<&S::caption, std::string>},
        {.key = "textOffset", .kind = K::Offset, .min = -kMaxTextOffset, .max = kMaxTextOffset,
         .option = "--offset", .typeName = "X,Y",
         .help = "Move the caption by X,Y pixels, each " +
                 RangeText(-kMaxTextOffset, kMaxTextOffset),
         .optionMin = -kMaxTextOffset, .optionMax = kMaxTextOffset, .optionPosition = 14,
         .get = Get<&S::textOffset, Point>, .set = Put<&S::textOffset, Point>},
        {.key = "removeBackground", .kind = K::Switch, .exportOption = true,
         .option = "--remove-background", .form = F::Flag,
         .help = "Transparent background ({transparent formats})", .optionPosition = 15,
         .get = Get<&S::removeBackground, bool>, .set = Put<&S::removeBackground, bool>},
        {.key = "jpegQuality", .kind = K::Integer, .min = 0, .max = kMaxJpegQuality,
         .exportOption = true, .option = "--quality", .typeName = RangeText(0, kMaxJpegQuality),
         .help = "{quality formats} quality, " + RangeText(0, kMaxJpegQuality) +
                 " (WebP: with --lossy)",
         .optionMin = 0, .optionMax = kMaxJpegQuality, .optionPosition = 17,
         .get = Get<&S::jpegQuality, int32_t>, .set = Put<&S::jpegQuality, int32_t>},
        {.key = "includeShadowArea", .kind = K::Switch, .exportOption = true,
         .option = "--include-shadow-area", .form = F::Flag,
         .help = "Keep room for the shadow even without one", .optionPosition = 16,
         .get = Get<&S::includeShadowArea, bool>, .set = Put<&S::includeShadowArea, bool>},
        {.key = "optimize", .kind = K::Switch, .exportOption = true, .inFiles = false,
         .option = "--optimize", .form = F::Flag,
         .help = "Smallest file, same pixels ({smallest formats}; slower)", .optionPosition = 18, .get = Get<&S::optimize, bool>, .set = Put<&S::optimize, bool>},
        {.key = "lossy", .kind = K::Switch, .exportOption = true, .inFiles = false,
         .option = "--lossy", .form = F::Flag,
         .help = "Lossy WebP at the quality, alpha kept whole (default lossless)",
         .optionPosition = 19, .get = Get<&S::lossy, bool>, .set = Put<&S::lossy, bool>},
    };
}

const std::vector<SettingField>& Fields() {
    static const std::vector<SettingField> fields = MakeFields();
    return fields;
}

size_t IndexOf(const SettingField& field) { return size_t(&field - Fields().data()); }

}  // namespace

std::span<const SettingField> SettingFields() { return Fields(); }

const SettingField* FindField(std::string_view key) {
    for (const SettingField& field : Fields()) {
        if (key == field.key) return &field;
    }
    return nullptr;
}

const SettingField& FieldNamed(std::string_view key) {
    const SettingField* field = FindField(key);
    if (!field) std::abort();  // a key written in the program itself
    return *field;
}

std::string RangeText(int64_t min, int64_t max) {
    return std::to_string(min) + ".." + std::to_string(max);
}

SettingsPatch::SettingsPatch() : values_(Fields().size()) {}

void SettingsPatch::Set(const SettingField& field, FieldValue value) {
    values_[IndexOf(field)] = std::move(value);
}

void SettingsPatch::Clear(const SettingField& field) { values_[IndexOf(field)].reset(); }

const FieldValue* SettingsPatch::Find(const SettingField& field) const {
    const std::optional<FieldValue>& value = values_[IndexOf(field)];
    return value ? &*value : nullptr;
}

bool SettingsPatch::Empty() const {
    for (const std::optional<FieldValue>& value : values_) {
        if (value) return false;
    }
    return true;
}

void SettingsPatch::Merge(const SettingsPatch& later) {
    for (size_t i = 0; i < values_.size(); ++i) {
        if (later.values_[i]) values_[i] = later.values_[i];
    }
}

void SettingsPatch::ApplyTo(ButtonSettings& settings) const {
    for (size_t i = 0; i < values_.size(); ++i) {
        if (values_[i]) Fields()[i].set(settings, *values_[i]);
    }
}

ButtonSettings WithExportOptionsOf(ButtonSettings design, const ButtonSettings& options) {
    for (const SettingField& field : Fields()) {
        if (field.exportOption) field.set(design, field.get(options));
    }
    return design;
}

bool SameDesign(const ButtonSettings& a, const ButtonSettings& b) {
    return WithExportOptionsOf(a, b) == b;
}

}  // namespace tabora
