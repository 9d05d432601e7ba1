#include "platform/FontLookup.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Fonts.h"
#include "platform/Utf8.h"

namespace tabora {
namespace {

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};
struct ObjectSetDeleter {
    void operator()(FcObjectSet* s) const { FcObjectSetDestroy(s); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;
using ObjectSetPtr = std::unique_ptr<FcObjectSet, ObjectSetDeleter>;

// Distinct lookups remembered. Face names can be typed freely, so a long
// session must not grow the cache without end; a few hundred covers every
// installed family in both weights and slants many times over.
constexpr size_t kMaxCachedLookups = 512;

struct LookupCache {
    std::mutex mutex;
    std::unordered_map<std::string, ResolvedFace> faces;
    FaceLookupStore* store = nullptr;
};

// Never destroyed: a background warm-up may still be resolving when the
// process exits, and must not meet a destroyed map.
LookupCache& Cache() {
    static LookupCache* cache = new LookupCache;
    return *cache;
}

// The process-wide configuration, shared with anything else in the process
// that uses fontconfig (the GUI toolkit does), so it is loaded only once.
FcConfig* Config() {
    static FcConfig* config = [] {
        FcInit();
        return FcConfigReference(nullptr);
    }();
    return config;
}

std::string StringOf(FcPattern* pattern, const char* object, int n = 0) {
    FcChar8* value = nullptr;
    if (FcPatternGetString(pattern, object, n, &value) != FcResultMatch || !value) return {};
    return reinterpret_cast<const char*>(value);
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// The pattern fontconfig matches for a face name, weight and slant, with
// the system's substitutions applied.
PatternPtr RequestPattern(FcConfig* config, const std::string& name, int32_t weight, bool italic) {
    PatternPtr pattern(FcPatternCreate());
    if (!config || !pattern) return nullptr;
    if (!name.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(name.c_str()));
    }
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    return pattern;
}

// What a matched (render-prepared) font pattern names.
ResolvedFace Describe(FcPattern* match, int32_t weight, bool italic) {
    ResolvedFace result;
    result.path = StringOf(match, FC_FILE);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.index = index;
    result.family = StringOf(match, FC_FAMILY);
    // The system configuration may already have decided on synthesis (and
    // then reports the weight and slant it pretends); otherwise compare what
    // was found with what was asked. A variable font reports a weight range
    // instead of an integer; it makes its own bold.
    FcBool embolden = FcFalse;
    int foundWeight = 0;
    if (FcWeightFromOpenType(weight) >= FC_WEIGHT_DEMIBOLD) {
        result.syntheticBold =
            (FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden) == FcResultMatch && embolden) ||
            (FcPatternGetInteger(match, FC_WEIGHT, 0, &foundWeight) == FcResultMatch &&
             foundWeight < FC_WEIGHT_DEMIBOLD);
    }
    FcMatrix* matrix = nullptr;
    int foundSlant = FC_SLANT_ROMAN;
    if (italic) {
        result.syntheticItalic =
            (FcPatternGetMatrix(match, FC_MATRIX, 0, &matrix) == FcResultMatch && matrix &&
             matrix->xy != 0) ||
            (FcPatternGetInteger(match, FC_SLANT, 0, &foundSlant) == FcResultMatch &&
             foundSlant == FC_SLANT_ROMAN);
    }
    return result;
}

ResolvedFace Match(const std::string& name, int32_t weight, bool italic) {
    FcConfig* config = Config();
    PatternPtr pattern = RequestPattern(config, name, weight, italic);
    if (!pattern) return {};
    FcResult status = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &status));
    if (!match) return {};
    return Describe(match.get(), weight, italic);
}

// Fonts in the order fontconfig ranks them for one request, for fallback.
// The patterns belong to the configuration's own font list, which lives as
// long as the process (the configuration is never released), so they are
// kept without a reference of their own.
using SortedFonts = std::vector<FcPattern*>;

// Sorted font lists remembered; one per face name, weight and slant in use.
constexpr size_t kMaxSortedLists = 32;
// Characters whose fallback face is remembered, per process.
constexpr size_t kMaxCachedFallbacks = 8192;

struct FallbackCache {
    std::mutex mutex;
    std::unordered_map<std::string, SortedFonts> sorted;
    std::unordered_map<std::string, std::optional<ResolvedFace>> faces;
};

FallbackCache& Fallbacks() {
    static FallbackCache* cache = new FallbackCache;
    return *cache;
}

// The first font of `list` that has `cp`, prepared for `request` as a
// match for it would be, and described.
std::optional<ResolvedFace> FirstWith(FcConfig* config, const SortedFonts& list,
                                      FcPattern* request, char32_t cp, int32_t weight,
                                      bool italic) {
    for (FcPattern* font : list) {
        FcCharSet* charset = nullptr;
        if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || !charset ||
            !FcCharSetHasChar(charset, FcChar32(cp))) {
            continue;
        }
        PatternPtr prepared(FcFontRenderPrepare(config, request, font));
        if (!prepared) continue;
        ResolvedFace face = Describe(prepared.get(), weight, italic);
        if (!face.path.empty()) return face;
    }
    return std::nullopt;
}

}  // namespace

std::string LookupFaceName(std::string_view faceName) {
    faceName = faceName.substr(0, std::min(faceName.find('\0'), kFaceNameBytes));
    return SanitizedUtf8(faceName);
}

void EnsureFontConfiguration() { Config(); }

void SetFaceLookupStore(FaceLookupStore* store) {
    LookupCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    cache.store = store;
}

ResolvedFace ResolveFace(std::string_view faceName, int32_t weight, bool italic) {
    const std::string name = LookupFaceName(faceName);
    weight = weight <= 0 ? 400 : std::min(weight, 1000);
    std::string key = name;
    key += '\0';
    key += std::to_string(weight);
    key += italic ? 'i' : 'r';
    LookupCache& cache = Cache();
    std::lock_guard lock(cache.mutex);
    if (auto it = cache.faces.find(key); it != cache.faces.end()) return it->second;
    std::optional<ResolvedFace> stored = cache.store ? cache.store->Find(key) : std::nullopt;
    ResolvedFace face = stored ? *stored : Match(name, weight, italic);
    if (cache.store && !stored) cache.store->Remember(key, face);
    if (cache.faces.size() >= kMaxCachedLookups) cache.faces.clear();
    cache.faces.emplace(std::move(key), face);
    return face;
}

std::vector<FontFamily> EnumerateFontFamilies() {
    std::vector<FontFamily> families;
    FcConfig* config = Config();
    PatternPtr pattern(FcPatternCreate());
    ObjectSetPtr objects(FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_SCALABLE, nullptr));
    if (!config || !pattern || !objects) return families;
    FontSetPtr fonts(FcFontList(config, pattern.get(), objects.get()));
    if (!fonts) return families;
    for (int i = 0; i < fonts->nfont; ++i) {
        FcPattern* font = fonts->fonts[i];
        FcBool scalable = FcFalse;
        FcPatternGetBool(font, FC_SCALABLE, 0, &scalable);
        const uint32_t type = scalable ? kTrueTypeFontType : kRasterFontType;
        // A font carries its family name in several languages and often both
        // its typographic and its legacy family ("DejaVu Sans" and "DejaVu
        // Sans Condensed"); list the English ones, or the first when none is.
        const size_t before = families.size();
        for (int n = 0;; ++n) {
            std::string name = StringOf(font, FC_FAMILY, n);
            if (name.empty()) break;
            const std::string lang = StringOf(font, FC_FAMILYLANG, n);
            if (lang.empty() || lang.rfind("en", 0) == 0) families.push_back({name, type});
        }
        if (families.size() == before) {
            std::string first = StringOf(font, FC_FAMILY);
            if (!first.empty()) families.push_back({first, type});
        }
    }
    // Sorted without regard to letter case, as the font list shows them; a
    // family is scalable when any of its fonts is.
    std::sort(families.begin(), families.end(), [](const FontFamily& a, const FontFamily& b) {
        const std::string la = LowerAscii(a.name), lb = LowerAscii(b.name);
        return la != lb ? la < lb : a.type > b.type;
    });
    auto same = [](const FontFamily& a, const FontFamily& b) {
        return LowerAscii(a.name) == LowerAscii(b.name);
    };
    families.erase(std::unique(families.begin(), families.end(), same), families.end());
    return families;
}

std::optional<ResolvedFace> ResolveFallback(std::string_view faceName, int32_t weight, bool italic,
                                            char32_t cp, bool emoji) {
    weight = weight <= 0 ? 400 : std::min(weight, 1000);
    std::string listKey = emoji ? std::string("emoji") : LookupFaceName(faceName);
    listKey += '\0';
    listKey += std::to_string(weight);
    listKey += italic ? 'i' : 'r';
    const std::string key = listKey + '\0' + std::to_string(uint32_t(cp));
    FallbackCache& cache = Fallbacks();
    std::lock_guard lock(cache.mutex);
    if (auto it = cache.faces.find(key); it != cache.faces.end()) return it->second;
    FcConfig* config = Config();
    // Emoji ask for the configuration's emoji family, so that a colour face
    // comes before a text face that happens to have the character.
    PatternPtr request = RequestPattern(
        config, emoji ? std::string("emoji") : LookupFaceName(faceName), weight, italic);
    if (!request) return std::nullopt;
    auto list = cache.sorted.find(listKey);
    if (list == cache.sorted.end()) {
        if (cache.sorted.size() >= kMaxSortedLists) cache.sorted.clear();
        SortedFonts sorted;
        FcResult status = FcResultNoMatch;
        FontSetPtr fonts(FcFontSort(config, request.get(), FcTrue, nullptr, &status));
        for (int i = 0; fonts && i < fonts->nfont; ++i) sorted.push_back(fonts->fonts[i]);
        list = cache.sorted.emplace(listKey, std::move(sorted)).first;
    }
    std::optional<ResolvedFace> face =
        FirstWith(config, list->second, request.get(), cp, weight, italic);
    if (cache.faces.size() >= kMaxCachedFallbacks) cache.faces.clear();
    cache.faces.emplace(key, face);
    return face;
}

}  // namespace tabora
