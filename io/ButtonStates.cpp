#include "io/ButtonStates.h"

#include <algorithm>

#include "io/ButtonData.h"
#include "io/MacStream.h"

namespace tabora {

namespace {

// How far the default hover lightens and the default press darkens the body,
// in brightness steps: clearly seen on every material, without washing out a
// light colourway or blacking out a dark one.
constexpr int32_t kHoverLift = 50;
constexpr int32_t kPressDip = 40;
// A pressed caption moves one pixel down and right, as if pushed in.
constexpr Point kPressNudge{1, 1};
constexpr int32_t kDisabledOpacity = 50;

// A table entry's flags.
constexpr uint16_t kEntryHasRing = 1;
// At most one entry per state other than normal; a longer table is not ours.
constexpr int16_t kMaxEntries = int16_t(kStateCount - 1);

struct StateNames {
    const char* name;
    const char* label;
};
constexpr StateNames kNames[kStateCount] = {{"normal", "Normal"},
                                            {"hover", "Hover"},
                                            {"active", "Pressed"},
                                            {"focus", "Focus"},
                                            {"disabled", "Disabled"}};

size_t Index(ButtonState state) { return size_t(state); }

void WriteValue(MacStream& stream, FieldKind kind, const FieldValue& value) {
    switch (kind) {
    case FieldKind::Integer: stream.WriteLong(uint32_t(std::get<int32_t>(value))); break;
    case FieldKind::Switch: stream.WriteShort(std::get<bool>(value) ? 1 : 0); break;
    case FieldKind::Text:
        stream.WritePString(std::string(CutUtf8(std::get<std::string>(value), kMaxSettingText)));
        break;
    case FieldKind::Colour: stream.WriteRGBColor(std::get<Color>(value)); break;
    case FieldKind::Offset: stream.WritePoint(std::get<Point>(value)); break;
    }
}

// A value of `kind` as stored into `value`; false for a kind this program
// does not know, whose size it cannot tell.
bool ReadValue(MacStream& stream, int16_t kind, FieldValue& value) {
    switch (FieldKind(kind)) {
    case FieldKind::Integer: value = stream.ReadLong(); return true;
    case FieldKind::Switch: value = stream.ReadShort() != 0; return true;
    case FieldKind::Text: value = SettingText(stream.ReadPString()); return true;
    case FieldKind::Colour: value = stream.ReadRGBColor(); return true;
    case FieldKind::Offset: value = stream.ReadPoint(); return true;
    }
    return false;
}

// The value kept to what the field's control could hold.
FieldValue Clamped(const SettingField& field, FieldValue value) {
    if (field.kind == FieldKind::Integer) {
        return std::clamp(std::get<int32_t>(value), field.min, field.max);
    }
    if (field.kind == FieldKind::Offset) {
        const Point p = std::get<Point>(value);
        return Point{std::clamp(p.x, field.min, field.max), std::clamp(p.y, field.min, field.max)};
    }
    return value;
}

}  // namespace

const char* StateName(ButtonState state) { return kNames[Index(state)].name; }
const char* StateLabel(ButtonState state) { return kNames[Index(state)].label; }

std::optional<ButtonState> StateNamed(std::string_view name) {
    if (name == "pressed") return ButtonState::Active;
    for (ButtonState state : kAllStates) {
        if (name == StateName(state)) return state;
    }
    return std::nullopt;
}

bool operator==(const StateDelta& a, const StateDelta& b) {
    return a.patch == b.patch && a.focusRing == b.focusRing && a.opacity == b.opacity;
}

StateDelta DefaultStateDelta(ButtonState state, const ButtonSettings& normal) {
    StateDelta delta;
    const SettingField& brightness = FieldNamed("brightness");
    switch (state) {
    case ButtonState::Normal: break;
    case ButtonState::Hover:
        delta.patch.Set(brightness, std::min(normal.brightness + kHoverLift, kMaxBrightness));
        break;
    case ButtonState::Active:
        delta.patch.Set(brightness, std::max(normal.brightness - kPressDip, -kMaxBrightness));
        delta.patch.Set(FieldNamed("shadow"), false);
        delta.patch.Set(FieldNamed("textOffset"),
                        Point{std::min(normal.textOffset.x + kPressNudge.x, kMaxTextOffset),
                              std::min(normal.textOffset.y + kPressNudge.y, kMaxTextOffset)});
        break;
    case ButtonState::Focus: delta.focusRing = kDefaultFocusRing; break;
    case ButtonState::Disabled: delta.opacity = kDisabledOpacity; break;
    }
    return delta;
}

ButtonSettings StateSettings(const ButtonSettings& normal, const StateDelta& delta) {
    ButtonSettings settings = normal;
    delta.patch.ApplyTo(settings);
    return settings;
}

bool IsStateField(const SettingField& field) { return !field.exportOption && field.inFiles; }

StateDelta EditedDelta(const ButtonSettings& normal, const ButtonSettings& edited,
                       const StateDelta& previous) {
    StateDelta delta;
    delta.focusRing = previous.focusRing;
    delta.opacity = previous.opacity;
    for (const SettingField& field : SettingFields()) {
        if (!IsStateField(field)) continue;
        FieldValue value = field.get(edited);
        if (previous.patch.Has(field) || value != field.get(normal)) {
            delta.patch.Set(field, std::move(value));
        }
    }
    return delta;
}

StateDelta ButtonStates::Delta(ButtonState state, const ButtonSettings& normal) const {
    if (const StateDelta* custom = Custom(state)) return *custom;
    return DefaultStateDelta(state, normal);
}

const StateDelta* ButtonStates::Custom(ButtonState state) const {
    const std::optional<StateDelta>& delta = custom_[Index(state)];
    return delta ? &*delta : nullptr;
}

void ButtonStates::SetCustom(ButtonState state, StateDelta delta) {
    if (state == ButtonState::Normal) return;
    delta.opacity = std::clamp(delta.opacity, 0, kOpaque);
    custom_[Index(state)] = std::move(delta);
}

void ButtonStates::ClearCustom(ButtonState state) { custom_[Index(state)].reset(); }

void ButtonStates::SetDelta(ButtonState state, StateDelta delta, const ButtonSettings& normal) {
    if (delta == DefaultStateDelta(state, normal)) {
        ClearCustom(state);
    } else {
        SetCustom(state, std::move(delta));
    }
}

bool ButtonStates::AllDefault() const {
    return std::none_of(custom_.begin(), custom_.end(), [](const auto& d) { return d.has_value(); });
}

void WriteStateTable(MacStream& stream, const ButtonStates& states) {
    int16_t entries = 0;
    for (ButtonState state : kAllStates) entries += states.Custom(state) ? 1 : 0;
    stream.WriteShort(entries);
    for (ButtonState state : kAllStates) {
        const StateDelta* delta = states.Custom(state);
        if (!delta) continue;
        stream.WriteShort(int32_t(state));
        stream.WriteShort(delta->focusRing ? kEntryHasRing : 0);
        stream.WriteRGBColor(delta->focusRing.value_or(kDefaultFocusRing));
        stream.WriteShort(delta->opacity);
        int16_t fields = 0;
        for (const SettingField& field : SettingFields()) fields += delta->patch.Has(field) ? 1 : 0;
        stream.WriteShort(fields);
        for (const SettingField& field : SettingFields()) {
            const FieldValue* value = delta->patch.Find(field);
            if (!value) continue;
            // Keyed by name and kind, so a reader that lacks a field can step
            // over its value.
            stream.WritePString(field.key);
            stream.WriteShort(int32_t(field.kind));
            WriteValue(stream, field.kind, *value);
        }
    }
}

std::optional<ButtonStates> ReadStateTable(MacStream& stream) {
    if (stream.Truncated()) return std::nullopt;
    ButtonStates states;
    const int16_t entries = stream.ReadShort();
    if (entries < 0 || entries > kMaxEntries) return std::nullopt;
    for (int16_t e = 0; e < entries; ++e) {
        const int16_t id = stream.ReadShort();
        const uint16_t flags = stream.ReadUShort();
        const Color ring = stream.ReadRGBColor();
        const int16_t opacity = stream.ReadShort();
        const int16_t fields = stream.ReadShort();
        if (fields < 0) return std::nullopt;
        StateDelta delta;
        if (flags & kEntryHasRing) delta.focusRing = ring;
        delta.opacity = std::clamp<int32_t>(opacity, 0, kOpaque);
        for (int16_t f = 0; f < fields; ++f) {
            const std::string key = stream.ReadPString();
            const int16_t kind = stream.ReadShort();
            FieldValue value;
            if (!ReadValue(stream, kind, value) || stream.Truncated()) return std::nullopt;
            const SettingField* field = FindField(key);
            if (field && int16_t(field->kind) == kind && IsStateField(*field)) {
                delta.patch.Set(*field, Clamped(*field, std::move(value)));
            }
        }
        if (stream.Truncated()) return std::nullopt;
        if (id > int16_t(ButtonState::Normal) && id < int16_t(kStateCount)) {
            states.SetCustom(ButtonState(id), std::move(delta));
        }
    }
    return states;
}

}  // namespace tabora
