#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "io/ButtonSettings.h"
#include "io/SettingsFields.h"

namespace tabora {

class MacStream;

// The states a web button shows: at rest, under the pointer, held down,
// reached with the keyboard, and switched off. Their order is the order of a
// sprite's rows and of the state table in the data block.
enum class ButtonState { Normal, Hover, Active, Focus, Disabled };
constexpr size_t kStateCount = 5;
constexpr std::array<ButtonState, kStateCount> kAllStates = {
    ButtonState::Normal, ButtonState::Hover, ButtonState::Active, ButtonState::Focus,
    ButtonState::Disabled};

// "normal", "hover", "active", "focus", "disabled": the names the command
// line, batch files and file names use (CSS calls a pressed button active).
const char* StateName(ButtonState state);
// The window's words: "Normal", "Hover", "Pressed", "Focus", "Disabled".
const char* StateLabel(ButtonState state);
// The state of a name; "pressed" is taken for "active". Null for others.
std::optional<ButtonState> StateNamed(std::string_view name);

// The opacity of a state, in per cent.
constexpr int32_t kOpaque = 100;
// The focus ring: this many pixels wide, outside the body's outline.
constexpr int32_t kFocusRingWidth = 2;
// A clear blue that stands out on light and dark pages alike.
constexpr Color kDefaultFocusRing = MakeColor(0x1F, 0x6F, 0xEB);

// What a state changes of the normal settings: any subset of the fields
// (values as they are, not offsets), plus what only states have.
struct StateDelta {
    SettingsPatch patch;
    std::optional<Color> focusRing;  // a ring in this colour, or none
    int32_t opacity = kOpaque;       // 0..100

    friend bool operator==(const StateDelta& a, const StateDelta& b);
};

// The states of one button. A state without a delta of its own uses its
// default, made from the normal settings (so a brighter hover stays brighter
// when the normal brightness changes). Normal never has a delta.
class ButtonStates {
public:
    // The delta the state uses: its own, or the default.
    StateDelta Delta(ButtonState state, const ButtonSettings& normal) const;
    // The state's own delta, or null when it uses the default.
    const StateDelta* Custom(ButtonState state) const;
    // Gives the state a delta of its own (ignored for Normal).
    void SetCustom(ButtonState state, StateDelta delta);
    // Back to the default.
    void ClearCustom(ButtonState state);
    // Gives the state `delta`: its own when it differs from the default made
    // from `normal`, else back to the default (which then follows `normal`).
    void SetDelta(ButtonState state, StateDelta delta, const ButtonSettings& normal);
    // Whether every state uses its default: such a button needs no state
    // table in its file.
    bool AllDefault() const;

    friend bool operator==(const ButtonStates&, const ButtonStates&) = default;

private:
    std::array<std::optional<StateDelta>, kStateCount> custom_;
};

// The default delta of a state, made from the normal settings: hover a
// little brighter; pressed darker, without the drop shadow and the caption a
// pixel down and right; focus with a ring; disabled at half opacity.
StateDelta DefaultStateDelta(ButtonState state, const ButtonSettings& normal);

// The whole settings of a state: the normal settings with its delta.
ButtonSettings StateSettings(const ButtonSettings& normal, const StateDelta& delta);

// The delta that makes `normal` into `edited`, a state's settings after an
// edit: the fields `previous` set (with their edited values, so a state keeps
// what it pinned) and every other state field where the two differ; the ring
// and opacity of `previous`.
StateDelta EditedDelta(const ButtonSettings& normal, const ButtonSettings& edited,
                       const StateDelta& previous);

// Whether a field may differ between states: every design field. The export
// options (background removal, quality, shadow area) belong to the file.
bool IsStateField(const SettingField& field);

// The state table that follows the settings payload (version 0x0104): one
// entry per state with a delta of its own.
void WriteStateTable(MacStream& stream, const ButtonStates& states);
// Reads a state table. Entries of unknown states and fields of unknown keys
// are skipped, values clamped to their ranges. A table cut short, or with a
// value of an unknown kind, gives nothing: the button keeps default states.
std::optional<ButtonStates> ReadStateTable(MacStream& stream);

}  // namespace tabora
