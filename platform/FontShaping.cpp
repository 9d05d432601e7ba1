// Lines that need more than one face's glyphs side by side: the
// bidirectional algorithm (FriBiDi), runs by direction, script and face,
// fallback faces, and shaping (HarfBuzz).
#include <fribidi.h>
#include <hb-ft.h>

#include <algorithm>
#include <climits>
#include <mutex>

#include "platform/CharacterClasses.h"
#include "platform/FreeTypeFont.h"
#include "platform/Utf8.h"

namespace tabora {
namespace {

// Shared HarfBuzz faces remembered, by font file and index; a face holds
// the file mapped, so bounded.
constexpr size_t kMaxSharedFaces = 64;
// Fallback faces one font keeps open. A caption mixing more scripts than
// this is unusual; past it, characters are drawn as the chosen face's box
// rather than letting one font hold every installed face open.
constexpr size_t kMaxFallbackFaces = 16;
// Characters whose face one font remembers; text is arbitrary, so bounded.
constexpr size_t kMaxCachedFaceChoices = 4096;
// Bit set in the face-choice key for characters asked as emoji.
constexpr char32_t kEmojiKey = 0x80000000;

struct HbFaceDeleter {
    void operator()(hb_face_t* face) const { hb_face_destroy(face); }
};
using HbFacePtr = std::unique_ptr<hb_face_t, HbFaceDeleter>;

// HarfBuzz faces are immutable once made and safe to share between threads;
// the fonts made from them are per Font.
HbFacePtr SharedHbFace(const std::string& path, int64_t index) {
    static std::mutex mutex;
    static auto* faces = new std::unordered_map<std::string, HbFacePtr>;
    const std::string key = path + '\0' + std::to_string(index);
    std::lock_guard lock(mutex);
    auto it = faces->find(key);
    if (it == faces->end()) {
        if (faces->size() >= kMaxSharedFaces) faces->clear();
        hb_blob_t* blob = hb_blob_create_from_file_or_fail(path.c_str());
        // The low 16 bits are the face in a collection; above them a
        // variable font's named instance.
        HbFacePtr face(hb_face_create(blob ? blob : hb_blob_get_empty(), unsigned(index & 0xFFFF)));
        hb_blob_destroy(blob);
        it = faces->emplace(key, std::move(face)).first;
    }
    return HbFacePtr(hb_face_reference(it->second.get()));
}

struct Run {
    size_t start = 0, end = 0;
    FriBidiLevel level = 0;
    hb_script_t script = HB_SCRIPT_COMMON;
    uint32_t face = 0;
};

// The runs in the order they are drawn: from the highest level down to the
// lowest odd one, every stretch at that level or above is reversed.
void ReorderRuns(std::vector<Run>& runs) {
    int highest = 0, lowestOdd = INT_MAX;  // no odd level: nothing is reversed
    for (const Run& run : runs) {
        highest = std::max(highest, int(run.level));
        if (run.level & 1) lowestOdd = std::min(lowestOdd, int(run.level));
    }
    for (int level = highest; level >= lowestOdd; --level) {
        for (size_t i = 0; i < runs.size();) {
            if (runs[i].level < level) {
                ++i;
                continue;
            }
            size_t j = i;
            while (j < runs.size() && runs[j].level >= level) ++j;
            std::reverse(runs.begin() + ptrdiff_t(i), runs.begin() + ptrdiff_t(j));
            i = j;
        }
    }
}

}  // namespace

FreeTypeFont::~FreeTypeFont() = default;

bool FreeTypeFont::HasGlyph(char32_t cp) {
    if (!face_) return false;
    if (FT_Get_Char_Index(face_, cp) != 0) return true;
    return cp < 0x100 && face_->charmap && face_->charmap->encoding == FT_ENCODING_MS_SYMBOL &&
           FT_Get_Char_Index(face_, 0xF000 + cp) != 0;
}

bool FreeTypeFont::Simple(std::string_view text) {
    // Colour faces have nothing to draw on the simple path.
    if (colourFace_) return false;
    // Measuring, colour and drawing ask about the same caption in turn.
    if (text == simpleText_) return simple_;
    simple_ = true;
    for (size_t pos = 0; pos < text.size() && simple_;) {
        const char32_t cp = NextCodePoint(text, pos);
        if (IsControl(cp)) continue;
        simple_ = !(cp >= 0x80 && NeedsShaping(cp)) && GlyphFor(cp).index != 0;
    }
    simpleText_.assign(text);
    return simple_;
}

hb_font_t* FreeTypeFont::HbFont() {
    if (!hbFont_) {
        const HbFacePtr face = SharedHbFace(path_, faceIndex_);
        if (hb_face_get_glyph_count(face.get()) == 0 && face_) {
            // Not an OpenType file (a bitmap format FreeType reads): no
            // layout tables, but FreeType's character map and advances.
            hbFont_.reset(hb_ft_font_create_referenced(face_));
            hb_ft_font_set_load_flags(hbFont_.get(), FT_LOAD_DEFAULT);
            return hbFont_.get();
        }
        hbFont_.reset(hb_font_create(face.get()));
        // 26.6 pixels at this font's em, unhinted: positions are exact and
        // the same whichever mode draws them.
        const int scale = int(em_ * 64);
        hb_font_set_scale(hbFont_.get(), scale, scale);
        if (faceIndex_ >> 16) {
            hb_font_set_var_named_instance(hbFont_.get(), unsigned((faceIndex_ >> 16) - 1));
        }
    }
    return hbFont_.get();
}

int32_t FreeTypeFont::FaceFor(char32_t cp, bool emoji) {
    if (HasGlyph(cp)) return 0;
    const char32_t key = cp | (emoji ? kEmojiKey : 0);
    if (auto it = faceFor_.find(key); it != faceFor_.end()) return it->second;
    std::optional<ResolvedFace> found;
    if (emoji) found = ResolveFallback(record_.faceName, record_.weight, record_.italic, cp, true);
    if (!found)
        found = ResolveFallback(record_.faceName, record_.weight, record_.italic, cp, false);
    int32_t face = -1;
    if (found && found->path == path_ && found->index == faceIndex_) {
        face = 0;
    } else if (found) {
        for (size_t i = 0; i < fallbacks_.size() && face < 0; ++i) {
            if (fallbacks_[i]->path_ == found->path && fallbacks_[i]->faceIndex_ == found->index) {
                face = int32_t(i + 1);
            }
        }
        if (face < 0 && fallbacks_.size() < kMaxFallbackFaces) {
            FaceLease lease = LeaseFace(found->path, found->index);
            // The same size as this font, whatever the fallback's metrics.
            const FontRecord record{int32_t(-em_), record_.weight, record_.italic, found->family};
            auto fallback = std::make_unique<FreeTypeFont>(std::move(lease), *found, record);
            if (fallback->face_ && fallback->HasGlyph(cp)) {
                fallbacks_.push_back(std::move(fallback));
                face = int32_t(fallbacks_.size());
            }
        }
    }
    if (faceFor_.size() >= kMaxCachedFaceChoices) faceFor_.clear();
    faceFor_[key] = face;
    return face;
}

const FreeTypeFont::ShapedLine& FreeTypeFont::Shaped(std::string_view text) {
    if (!shapedValid_ || shapedText_ != text) {
        shaped_ = ShapedLine();
        ShapeInto(text, shaped_);
        shapedText_.assign(text);
        shapedValid_ = true;
    }
    return shaped_;
}

void FreeTypeFont::ShapeInto(std::string_view text, ShapedLine& line) {
    std::vector<FriBidiChar> cps;
    std::vector<uint32_t> offsets;
    for (size_t pos = 0; pos < text.size();) {
        const size_t at = pos;
        const char32_t cp = NextCodePoint(text, pos);
        if (IsControl(cp)) continue;
        cps.push_back(FriBidiChar(cp));
        offsets.push_back(uint32_t(at));
    }
    const size_t n = cps.size();
    if (n == 0 || !face_) return;

    // Levels by the bidirectional algorithm, the paragraph's direction from
    // its first strong character.
    std::vector<FriBidiCharType> types(n);
    std::vector<FriBidiBracketType> brackets(n);
    std::vector<FriBidiLevel> levels(n, 0);
    fribidi_get_bidi_types(cps.data(), FriBidiStrIndex(n), types.data());
    fribidi_get_bracket_types(cps.data(), FriBidiStrIndex(n), types.data(), brackets.data());
    FriBidiParType direction = FRIBIDI_PAR_ON;
    if (fribidi_get_par_embedding_levels_ex(types.data(), brackets.data(), FriBidiStrIndex(n),
                                            &direction, levels.data()) == 0) {
        std::fill(levels.begin(), levels.end(), FriBidiLevel(0));
    }

    // Scripts, with common and inherited characters taking their
    // neighbours' (the one before, at the start the first one after).
    hb_unicode_funcs_t* unicode = hb_unicode_funcs_get_default();
    std::vector<hb_script_t> scripts(n);
    hb_script_t last = HB_SCRIPT_INVALID, first = HB_SCRIPT_INVALID;
    for (size_t i = 0; i < n; ++i) {
        const hb_script_t s = hb_unicode_script(unicode, cps[i]);
        if (s != HB_SCRIPT_COMMON && s != HB_SCRIPT_INHERITED && s != HB_SCRIPT_UNKNOWN) {
            last = s;
            if (first == HB_SCRIPT_INVALID) first = s;
        }
        scripts[i] = last;
    }
    for (size_t i = 0; i < n && scripts[i] == HB_SCRIPT_INVALID; ++i) {
        scripts[i] = first == HB_SCRIPT_INVALID ? HB_SCRIPT_COMMON : first;
    }

    // Faces: the chosen one when it has the character, else the fallback;
    // marks, joiners and selectors stay with their base, and spaces and
    // punctuation with the fallback face before them when it has them.
    std::vector<uint32_t> faces(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const char32_t cp = cps[i];
        if (i > 0) {
            FreeTypeFont& before = FaceAt(faces[i - 1]);
            const bool attaching = Attaching(cp) && (DefaultIgnorable(cp) || before.HasGlyph(cp));
            // (Not after an emoji: a colour face's space is as wide as
            // its pictures.)
            const bool neutral = faces[i - 1] != 0 && !before.colourFace_ && !EmojiByDefault(cp) &&
                                 hb_unicode_script(unicode, cp) == HB_SCRIPT_COMMON &&
                                 before.HasGlyph(cp);
            if (attaching || neutral) {
                faces[i] = faces[i - 1];
                continue;
            }
        }
        const bool textStyle = i + 1 < n && cps[i + 1] == 0xFE0E;
        const bool emoji =
            !textStyle && (EmojiByDefault(cp) || (i + 1 < n && cps[i + 1] == 0xFE0F));
        const int32_t face = FaceFor(cp, emoji);
        if (face >= 0) {
            faces[i] = uint32_t(face);
        } else if (!DefaultIgnorable(cp) &&
                   std::find(line.missing.begin(), line.missing.end(), cp) == line.missing.end()) {
            line.missing.push_back(cp);
        }
    }

    std::vector<Run> runs;
    for (size_t i = 0; i < n; ++i) {
        if (runs.empty() || runs.back().level != levels[i] || runs.back().script != scripts[i] ||
            runs.back().face != faces[i]) {
            runs.push_back({i, i, levels[i], scripts[i], faces[i]});
        }
        runs.back().end = i + 1;
    }
    ReorderRuns(runs);

    if (!hbBuffer_) hbBuffer_.reset(hb_buffer_create());
    hb_buffer_t* buffer = hbBuffer_.get();
    int64_t pen = 0;
    for (const Run& run : runs) {
        FreeTypeFont& face = FaceAt(run.face);
        hb_buffer_clear_contents(buffer);
        // The whole line goes in as context, so that letters join across
        // the ends of a run.
        hb_buffer_add_codepoints(buffer, cps.data(), int(n), unsigned(run.start),
                                 int(run.end - run.start));
        hb_buffer_set_direction(buffer, (run.level & 1) ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer, run.script);
        hb_shape(face.HbFont(), buffer, nullptr, 0);
        unsigned count = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
        for (unsigned k = 0; k < count; ++k) {
            line.glyphs.push_back({info[k].codepoint, pen + pos[k].x_offset, pos[k].y_offset,
                                   offsets[info[k].cluster], run.face});
            // Synthetic bold widens each glyph as on the simple path.
            pen += pos[k].x_advance + (pos[k].x_advance != 0 ? face.boldStrength_ : 0);
            if (face.colourFace_) line.colour = true;
        }
    }
    line.width = pen;
}

LineLayout FreeTypeFont::Layout(std::string_view text) {
    LineLayout layout;
    layout.faces.push_back({path_, faceIndex_, family_});
    if (!face_) return layout;
    if (Simple(text)) {
        int64_t pen = 0;
        for (size_t pos = 0; pos < text.size();) {
            const size_t at = pos;
            const char32_t cp = NextCodePoint(text, pos);
            if (IsControl(cp)) continue;
            const Glyph glyph = GlyphFor(cp);
            layout.glyphs.push_back({glyph.index, pen * 64, 0, uint32_t(at), 0});
            pen += glyph.advance;
        }
        return layout;
    }
    const ShapedLine& line = Shaped(text);
    layout.shaped = true;
    layout.glyphs = line.glyphs;
    layout.missing = line.missing;
    layout.colour = line.colour;
    for (const auto& fallback : fallbacks_) {
        layout.faces.push_back({fallback->path_, fallback->faceIndex_, fallback->family_});
    }
    return layout;
}

bool FreeTypeFont::HasColourGlyphs(std::string_view text) {
    return face_ && !Simple(text) && Shaped(text).colour;
}

std::string CodePointName(char32_t cp) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t v = cp; v != 0 || digits.size() < 4; v >>= 4)
        digits.insert(digits.begin(), kHex[v & 0xF]);
    return "U+" + digits;
}

}  // namespace tabora
