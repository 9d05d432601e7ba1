#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tabora {

// Where a font record's face lives on this system, as the system's font
// configuration resolves it (aliases such as metric-compatible substitutes
// included).
struct ResolvedFace {
    std::string path;   // empty when no font at all is installed
    int64_t index = 0;  // face (and named instance) within the file
    std::string family;
    bool syntheticBold = false;    // bold asked for, the family has none
    bool syntheticItalic = false;  // italic asked for, the family has none
};

// Face names take part in the lookup with at most this many bytes: the font
// record holds 32 bytes with the terminator.
constexpr size_t kFaceNameBytes = 31;

// The face name as the lookup sees it: up to the first NUL, at most
// kFaceNameBytes bytes, malformed UTF-8 replaced.
std::string LookupFaceName(std::string_view faceName);

// Thread-safe; results are cached. An empty or unknown name gives the
// system's default sans family. `weight` is 1-1000 (0 means 400).
ResolvedFace ResolveFace(std::string_view faceName, int32_t weight, bool italic);

// The face that draws `cp` when the face `faceName` resolves to lacks it:
// the first of the installed fonts, in the order fontconfig ranks them for
// that name, weight and slant, that has the character; with `emoji` the
// ranking for the configuration's emoji family (colour faces first).
// Nothing when no installed font has it. Thread-safe; results are cached,
// so the choice is the same for the life of the process.
std::optional<ResolvedFace> ResolveFallback(std::string_view faceName, int32_t weight, bool italic,
                                            char32_t cp, bool emoji);

// Lookups remembered beyond the process. Loading the system's font
// configuration costs more than everything else a one-button command does,
// so a short-lived program may install a store that answers lookups it has
// seen before while the installed fonts and their configuration are as they
// were. Called with the lookup lock held; nothing is installed by default.
class FaceLookupStore {
public:
    virtual ~FaceLookupStore() = default;
    virtual std::optional<ResolvedFace> Find(const std::string& key) = 0;
    virtual void Remember(const std::string& key, const ResolvedFace& face) = 0;
};
// The caller keeps ownership; nullptr removes it.
void SetFaceLookupStore(FaceLookupStore* store);

// Loads the system font configuration if nobody has yet. Thread-safe; the
// first call in a process costs a few milliseconds (it parses the
// configuration files), later ones nothing.
void EnsureFontConfiguration();

}  // namespace tabora
