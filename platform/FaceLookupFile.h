#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/FontLookup.h"

namespace tabora {

// Font lookups kept in a small file between runs of a short-lived program.
// The file carries a stamp of everything that decides a lookup (the font
// configuration files, the font caches and folders, the library version and
// the environment variables that move them), and each answer carries the
// size and time of its font file; when anything differs, the answer is not
// used and the system is asked again. Failures to read or write the file
// only cost that time: the store is a cache, never a source of truth.
class FaceLookupFile : public FaceLookupStore {
public:
    explicit FaceLookupFile(std::string path) : path_(std::move(path)) {}

    std::optional<ResolvedFace> Find(const std::string& key) override;
    void Remember(const std::string& key, const ResolvedFace& face) override;

    // $XDG_CACHE_HOME/tabora/face-lookups, or ~/.cache/tabora/face-lookups;
    // "" when neither folder can be named.
    static std::string DefaultPath();
    // The stamp of the current font setup.
    static uint64_t CurrentStamp();

private:
    struct Entry {
        ResolvedFace face;
        int64_t fileTime = 0;
        int64_t fileSize = 0;
    };
    void Load();
    void Save() const;

    std::string path_;
    bool loaded_ = false;
    uint64_t stamp_ = 0;
    std::map<std::string, Entry> entries_;
};

}  // namespace tabora
