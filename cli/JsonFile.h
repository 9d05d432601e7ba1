#pragma once
#include <string>
#include <string_view>

#include <nlohmann/json_fwd.hpp>

namespace tabora::cli {

// A settings or batch file is a few kilobytes; a thousand buttons are about
// 200 KB. Parsed, a file may take 40 times its size in memory (a long array
// of empty objects), so this also keeps any file within a fraction of a
// second and well under 256 MB.
constexpr size_t kMaxJsonFileBytes = 2u << 20;
// Our files nest three levels deep; the bound keeps a hostile file of
// thousands of brackets from costing deep recursion anywhere. It counts the
// brackets open at once.
constexpr int kMaxJsonDepth = 32;

// Reads and parses a JSON file. A file that cannot be read, is too large or
// is not JSON throws TaboraError (exit 1) with a message naming the file.
nlohmann::json ReadJsonFile(const std::string& path);
// The parsing step alone: text that is not JSON, or nested too deeply, throws
// TaboraError naming `where`.
nlohmann::json ParseJsonText(std::string_view text, const std::string& where);

}  // namespace tabora::cli
