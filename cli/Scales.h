#pragma once
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace tabora::cli {

// The scales a button can be written at: device pixels per CSS pixel.
// Each throws UsageError naming `what` (an option or a JSON key).
// One scale, 1..3.
int ParseScale(std::string_view text, std::string_view what);
// "1,2,3": scales in any order, each once, at least one.
std::vector<int> ParseScaleList(std::string_view text, std::string_view what);
// [1, 2]: the same as a JSON array of numbers.
std::vector<int> ScalesFromJson(const nlohmann::json& value, const std::string& what);

}  // namespace tabora::cli
