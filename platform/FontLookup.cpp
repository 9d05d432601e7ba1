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

ResolvedFace Match(const std::string& name, int32_t weight, bool italic) {
    ResolvedFace result;
    FcConfig* config = Config();
    PatternPtr pattern(FcPatternCreate());
    if (!config || !pattern) return result;
    if (!name.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(name.c_str()));
    }
    const int wantedWeight = FcWeightFromOpenType(weight);
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, wantedWeight);
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult status = FcResultNoMatch;
    PatternPtr match(FcFontMatch(config, pattern.get(), &status));
    if (!match) return result;
    result.path = StringOf(match.get(), FC_FILE);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) {
        result.index = index;
    }
    result.family = StringOf(match.get(), FC_FAMILY);
    // The system configuration may already have decided on synthesis (and
    // then reports the weight and slant it pretends); otherwise compare what
    // was found with what was asked. A variable font reports a weight range
    // instead of an integer; it makes its own bold.
    FcBool embolden = FcFalse;
    int foundWeight = 0;
    if (wantedWeight >= FC_WEIGHT_DEMIBOLD) {
        result.syntheticBold =
            (FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden) == FcResultMatch &&
             embolden) ||
            (FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &foundWeight) == FcResultMatch &&
             foundWeight < FC_WEIGHT_DEMIBOLD);
    }
    FcMatrix* matrix = nullptr;
    int foundSlant = FC_SLANT_ROMAN;
    if (italic) {
        result.syntheticItalic =
            (FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch && matrix &&
             matrix->xy != 0) ||
            (FcPatternGetInteger(match.get(), FC_SLANT, 0, &foundSlant) == FcResultMatch &&
             foundSlant == FC_SLANT_ROMAN);
    }
    return result;
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

}  // namespace tabora
