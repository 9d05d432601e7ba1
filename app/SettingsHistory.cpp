#include "app/SettingsHistory.h"

namespace tabora {

void SettingsHistory::Record(const DesignSnapshot& before, Source source) {
    redo_.clear();
    if (source != Source::Other && source == mergeSource_ && !undo_.empty()) return;
    undo_.push_back(before);
    if (undo_.size() > kMaxSteps) undo_.erase(undo_.begin());
    mergeSource_ = source;
}

std::optional<DesignSnapshot> SettingsHistory::Undo(const DesignSnapshot& current) {
    if (undo_.empty()) return std::nullopt;
    DesignSnapshot target = undo_.back();
    undo_.pop_back();
    redo_.push_back(current);
    mergeSource_ = Source::Other;
    return target;
}

std::optional<DesignSnapshot> SettingsHistory::Redo(const DesignSnapshot& current) {
    if (redo_.empty()) return std::nullopt;
    DesignSnapshot target = redo_.back();
    redo_.pop_back();
    undo_.push_back(current);
    mergeSource_ = Source::Other;
    return target;
}

void SettingsHistory::Clear() {
    undo_.clear();
    redo_.clear();
    mergeSource_ = Source::Other;
}

}  // namespace tabora
