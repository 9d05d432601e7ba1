#include "cli/JsonFile.h"

#include <nlohmann/json.hpp>

#include "platform/Error.h"
#include "platform/File.h"

namespace tabora::cli {

nlohmann::json ReadJsonFile(const std::string& path) {
    File file(path, File::Mode::Read);
    const uint64_t length = file.GetLength();
    if (length > kMaxJsonFileBytes) {
        throw TaboraError(path + ": too large for a settings file (" + std::to_string(length) + " bytes)");
    }
    std::string text(size_t(length), '\0');
    text.resize(file.Read(text.data(), uint32_t(length)));
    return ParseJsonText(text, path);
}

nlohmann::json ParseJsonText(std::string_view text, const std::string& where) {
    bool tooDeep = false;
    nlohmann::json::parser_callback_t limitDepth = [&](int depth, nlohmann::json::parse_event_t,
                                                       nlohmann::json&) {
        if (depth > kMaxJsonDepth) tooDeep = true;
        return !tooDeep;
    };
    try {
        nlohmann::json value = nlohmann::json::parse(text, limitDepth);
        if (tooDeep) {
            throw TaboraError(where + ": nested more than " + std::to_string(kMaxJsonDepth) + " levels deep");
        }
        return value;
    } catch (const nlohmann::json::exception& e) {
        throw TaboraError(where + ": not valid JSON (" + e.what() + ")");
    }
}

}  // namespace tabora::cli
