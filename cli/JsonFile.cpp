#include "cli/JsonFile.h"

#include <unistd.h>

#include <algorithm>

#include <nlohmann/json.hpp>

#include "platform/Error.h"
#include "platform/File.h"

namespace tabora::cli {

nlohmann::json ReadJsonFile(const std::string& path) {
    // "-" is standard input. A pipe or a device has no length to ask for:
    // it is read to its end, one byte past the limit at most.
    const bool standardInput = path == "-";
    const std::string name = standardInput ? "standard input" : path;
    File file;
    if (standardInput) {
        const int fd = ::dup(0);
        if (fd < 0) throw TaboraError("Cannot read standard input");
        file.Adopt(fd, name);
    } else {
        file.Open(path, File::Mode::Read);
    }
    const uint64_t length = file.GetLength();
    if (length > kMaxJsonFileBytes) {
        throw TaboraError(name + ": too large for a settings file (" + std::to_string(length) +
                          " bytes)");
    }
    std::string text(kMaxJsonFileBytes + 1, '\0');
    text.resize(file.Read(text.data(), uint32_t(text.size())));
    if (text.size() > kMaxJsonFileBytes) {
        throw TaboraError(name + ": too large for a settings file (more than " +
                          std::to_string(kMaxJsonFileBytes) + " bytes)");
    }
    return ParseJsonText(text, name);
}

namespace {

// The most brackets open at once, outside strings. Counted before parsing:
// the library's parse callback, the other way to bound the depth, rescans
// the enclosing array after every object in it, so an array of small objects
// costs quadratic time (hours for a few megabytes of "{},").
int NestingDepth(std::string_view text) {
    int depth = 0, deepest = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return deepest;
}

}  // namespace

nlohmann::json ParseJsonText(std::string_view text, const std::string& where) {
    if (NestingDepth(text) > kMaxJsonDepth) {
        throw TaboraError(where + ": nested more than " + std::to_string(kMaxJsonDepth) + " levels deep");
    }
    try {
        return nlohmann::json::parse(text);
    } catch (const nlohmann::json::exception& e) {
        throw TaboraError(where + ": not valid JSON (" + e.what() + ")");
    }
}

}  // namespace tabora::cli
