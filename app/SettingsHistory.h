#pragma once
#include <cstddef>
#include <optional>
#include <vector>

#include "io/ButtonSettings.h"
#include "io/ButtonStates.h"
#include "io/SettingsFields.h"

namespace tabora {

// The design as undo keeps it: the normal settings and the states.
struct DesignSnapshot {
    ButtonSettings settings;
    ButtonStates states;
    friend bool operator==(const DesignSnapshot&, const DesignSnapshot&) = default;
};

// Undo and redo of the button's settings and states as whole snapshots: a snapshot is a
// few hundred bytes, so keeping them is simpler and safer than inverting each
// change. Consecutive changes from one slider or from typing the caption
// merge into one step, so dragging a slider is undone in one go. The export
// options belong to the save dialogs, not to the design: the window restores
// a snapshot WithExportOptionsOf the current settings (io/SettingsFields.h).
class SettingsHistory {
public:
    enum class Source { Other, SizeSlider, HueSlider, BrightnessSlider, Caption, StateOpacity };
    // Enough for a long session; the oldest steps fall away beyond it.
    static constexpr size_t kMaxSteps = 200;

    // Records `before` as the state to return to, unless it merges into the
    // step just recorded. Clears the redo side.
    void Record(const DesignSnapshot& before, Source source);
    // Ends merging: the next change starts a step of its own (a slider let go,
    // another control touched, a file saved).
    void BreakMerge() { mergeSource_ = Source::Other; }

    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    // The state to restore; `current` goes to the other side.
    std::optional<DesignSnapshot> Undo(const DesignSnapshot& current);
    std::optional<DesignSnapshot> Redo(const DesignSnapshot& current);
    void Clear();

private:
    std::vector<DesignSnapshot> undo_;
    std::vector<DesignSnapshot> redo_;
    Source mergeSource_ = Source::Other;
};


}  // namespace tabora
