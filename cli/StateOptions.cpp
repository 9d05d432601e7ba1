#include "cli/StateOptions.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/SettingsPatch.h"

namespace tabora::cli {

namespace {

using nlohmann::json;

constexpr const char* kNames = "normal, hover, active (or pressed), focus and disabled";

ButtonState Named(std::string_view name, std::string_view what) {
    const std::optional<ButtonState> state = StateNamed(name);
    if (!state) {
        throw UsageError(std::string(what) + ": unknown state \"" + std::string(name) +
                         "\"; the states are " + kNames);
    }
    return *state;
}

// Normal first, then the others in their own order, each once.
std::vector<ButtonState> InOrder(std::vector<ButtonState> states) {
    states.push_back(ButtonState::Normal);
    std::vector<ButtonState> ordered;
    for (ButtonState s : kAllStates) {
        if (std::find(states.begin(), states.end(), s) != states.end()) ordered.push_back(s);
    }
    return ordered;
}

}  // namespace

std::vector<ButtonState> ParseStateList(std::string_view text, std::string_view what) {
    if (text.empty() || text == "all") return {kAllStates.begin(), kAllStates.end()};
    std::vector<ButtonState> states;
    while (true) {
        const size_t comma = text.find(',');
        const ButtonState state = Named(text.substr(0, comma), what);
        if (std::find(states.begin(), states.end(), state) != states.end()) {
            throw UsageError(std::string(what) + ": the state \"" + StateName(state) +
                             "\" is named twice");
        }
        states.push_back(state);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return InOrder(std::move(states));
}

StateRequest StatesFromJson(const json& value, const std::string& where) {
    StateRequest request;
    const std::string what = where + ": \"states\"";
    if (value.is_boolean()) {
        if (value.get<bool>()) request.which = {kAllStates.begin(), kAllStates.end()};
        return request;
    }
    std::vector<ButtonState> named;
    auto add = [&](const std::string& name) {
        const ButtonState state = Named(name, what);
        if (std::find(named.begin(), named.end(), state) != named.end()) {
            throw UsageError(what + ": the state \"" + StateName(state) + "\" is named twice");
        }
        named.push_back(state);
        return state;
    };
    if (value.is_array()) {
        for (const json& item : value) {
            if (!item.is_string()) throw UsageError(what + " must list state names");
            add(item.get<std::string>());
        }
    } else if (value.is_object()) {
        for (auto it = value.begin(); it != value.end(); ++it) {
            const ButtonState state = add(it.key());
            const json& delta = it.value();
            if (delta.is_null() || (delta.is_object() && delta.empty())) continue;
            if (!delta.is_object()) {
                throw UsageError(what + ": \"" + it.key() + "\" must be null or an object of settings");
            }
            if (state == ButtonState::Normal) {
                throw UsageError(what + ": \"normal\" is the button's own settings; give them outside \"states\"");
            }
            // Checked now, so nothing is written when a delta is wrong.
            const std::string at = what + ": \"" + it.key() + "\"";
            PatchFromJson(delta, at, {"focusRing", "opacity"});
            request.changes.push_back({state, delta});
        }
    } else {
        throw UsageError(what + " must be true, false, a list of state names or an object of them");
    }
    request.which = InOrder(std::move(named));
    return request;
}

ButtonStates ResolveStates(const StateRequest& request, const ButtonSettings& normal,
                           const std::string& where) {
    ButtonStates states;
    for (const StateRequest::Change& change : request.changes) {
        const std::string at = where + ": \"states\": \"" + StateName(change.state) + "\"";
        StateDelta delta = DefaultStateDelta(change.state, normal);
        const SettingsPatch patch = PatchFromJson(change.delta, at, {"focusRing", "opacity"});
        for (const SettingField& field : SettingFields()) {
            if (patch.Has(field) && !IsStateField(field)) {
                throw UsageError(at + ": \"" + field.key +
                                 "\" belongs to the file, not to a state");
            }
        }
        delta.patch.Merge(patch);
        if (auto ring = change.delta.find("focusRing"); ring != change.delta.end()) {
            if (ring->is_boolean() && !ring->get<bool>()) {
                delta.focusRing.reset();
            } else if (ring->is_string()) {
                delta.focusRing = ParseWebColor(ring->get<std::string>(), at + ": \"focusRing\"");
            } else {
                throw UsageError(at + ": \"focusRing\" must be a colour \"#RRGGBB\" or false");
            }
        }
        if (auto opacity = change.delta.find("opacity"); opacity != change.delta.end()) {
            if (!opacity->is_number_integer() || opacity->get<int64_t>() < 0 ||
                opacity->get<int64_t>() > kOpaque) {
                throw UsageError(at + ": \"opacity\" must be an integer in 0..100 (got " +
                                 opacity->dump() + ")");
            }
            delta.opacity = int32_t(opacity->get<int64_t>());
        }
        // A delta that comes out as the default is no change of the button's.
        if (!(delta == DefaultStateDelta(change.state, normal))) {
            states.SetCustom(change.state, std::move(delta));
        }
    }
    return states;
}

nlohmann::ordered_json StatesToJson(const ButtonStates& states) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (ButtonState state : kAllStates) {
        const StateDelta* delta = states.Custom(state);
        if (!delta) continue;
        nlohmann::ordered_json d = nlohmann::ordered_json::object();
        for (const SettingField& field : SettingFields()) {
            if (const FieldValue* value = delta->patch.Find(field)) d[field.key] = FieldToJson(field, *value);
        }
        if (delta->focusRing) {
            d["focusRing"] = FormatWebColor(*delta->focusRing);
        } else {
            d["focusRing"] = false;
        }
        d["opacity"] = delta->opacity;
        j[StateName(state)] = std::move(d);
    }
    return j;
}

bool IsAutoColour(std::string_view text) { return text == "auto"; }

}  // namespace tabora::cli
