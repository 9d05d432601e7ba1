#include "cli/Scales.h"

#include <algorithm>

#include <nlohmann/json.hpp>

#include "cli/CliError.h"
#include "cli/SettingsPatch.h"
#include "render/ScaledPicture.h"

namespace tabora::cli {

namespace {

void CheckList(const std::vector<int>& scales, std::string_view what) {
    if (scales.empty()) throw UsageError(std::string(what) + ": name at least one scale of 1, 2 and 3");
    for (size_t i = 0; i < scales.size(); ++i)
        if (std::find(scales.begin(), scales.begin() + long(i), scales[i]) != scales.begin() + long(i))
            throw UsageError(std::string(what) + ": scale " + std::to_string(scales[i]) +
                             " is named twice");
}

}  // namespace

int ParseScale(std::string_view text, std::string_view what) {
    return int(ParseInteger(text, what, kMinArtScale, kMaxArtScale));
}

std::vector<int> ParseScaleList(std::string_view text, std::string_view what) {
    std::vector<int> scales;
    while (!text.empty()) {
        const size_t comma = text.find(',');
        scales.push_back(ParseScale(text.substr(0, comma), what));
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (text.empty()) throw UsageError(std::string(what) + ": a scale is missing after the last comma");
    }
    CheckList(scales, what);
    return scales;
}

std::vector<int> ScalesFromJson(const nlohmann::json& value, const std::string& what) {
    if (!value.is_array()) throw UsageError(what + " must be an array of scales, such as [1, 2]");
    std::vector<int> scales;
    for (const nlohmann::json& item : value) {
        if (!item.is_number_integer() || item.get<int64_t>() < kMinArtScale ||
            item.get<int64_t>() > kMaxArtScale)
            throw UsageError(what + ": each scale must be 1, 2 or 3 (got " + item.dump() + ")");
        scales.push_back(item.get<int>());
    }
    CheckList(scales, what);
    return scales;
}

}  // namespace tabora::cli
