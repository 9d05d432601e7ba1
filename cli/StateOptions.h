#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

#include "io/ButtonStates.h"

namespace tabora::cli {

// "hover,active" (names of StateNamed, any order, each once): the states to
// write, always normal first and the rest in their own order. "" or "all"
// is all five. Throws UsageError naming `what`.
std::vector<ButtonState> ParseStateList(std::string_view text, std::string_view what);

// A batch's "states": true (all five), false (none), a list of names, or an
// object of names, each with null, {} (its default) or its delta in the
// settings form plus "focusRing" ("#RRGGBB" or false) and "opacity"
// (0..100), laid over its default.
struct StateRequest {
    std::vector<ButtonState> which;  // empty: no states
    struct Change {
        ButtonState state;
        nlohmann::json delta;  // checked, an object with at least one key
    };
    std::vector<Change> changes;
};
StateRequest StatesFromJson(const nlohmann::json& value, const std::string& where);

// The states of a button with these normal settings: each change laid over
// the state's default. Throws UsageError naming `where`.
ButtonStates ResolveStates(const StateRequest& request, const ButtonSettings& normal,
                           const std::string& where);

// The states with deltas of their own, in the form "states" takes:
// {"hover": {"brightness": 60}, "focus": {"focusRing": "#FF0000"}}.
nlohmann::ordered_json StatesToJson(const ButtonStates& states);

// Whether the text given for --text-color (or "textColor") asks for the
// caption colour that reads best.
bool IsAutoColour(std::string_view text);

}  // namespace tabora::cli
