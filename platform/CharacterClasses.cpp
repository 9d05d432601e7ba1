#include "platform/CharacterClasses.h"

#include <fribidi.h>
#include <hb.h>

namespace tabora {
namespace {

// Scripts whose text needs no shaping: each character is one glyph of the
// face, placed one after another. Anything else (joining, reordering
// within a cluster, conjuncts) goes through the shaper.
bool SimpleScript(hb_script_t script) {
    switch (script) {
        case HB_SCRIPT_COMMON:
        case HB_SCRIPT_INHERITED:
        case HB_SCRIPT_LATIN:
        case HB_SCRIPT_GREEK:
        case HB_SCRIPT_CYRILLIC:
        case HB_SCRIPT_ARMENIAN:
        case HB_SCRIPT_GEORGIAN:
        case HB_SCRIPT_CHEROKEE:
        case HB_SCRIPT_HAN:
        case HB_SCRIPT_HIRAGANA:
        case HB_SCRIPT_KATAKANA:
        case HB_SCRIPT_BOPOMOFO:
            return true;
        default:
            return false;
    }
}

// Characters that only mean something to the shaper: joiners, variation
// selectors, emoji modifiers, regional indicators (flags), tags, keycaps.
bool SequenceCharacter(char32_t cp) {
    return cp == 0x200C || cp == 0x200D || cp == 0x20E3 || (cp >= 0xFE00 && cp <= 0xFE0F) ||
           (cp >= 0x1F1E6 && cp <= 0x1F1FF) || (cp >= 0x1F3FB && cp <= 0x1F3FF) ||
           (cp >= 0xE0000 && cp <= 0xE01EF);
}

}  // namespace

bool NeedsShaping(char32_t cp) {
    if (SequenceCharacter(cp)) return true;
    const FriBidiCharType type = fribidi_get_bidi_type(FriBidiChar(cp));
    if (FRIBIDI_IS_RTL(type) || type == FRIBIDI_TYPE_AN || FRIBIDI_IS_EXPLICIT(type) ||
        FRIBIDI_IS_ISOLATE(type)) {
        return true;
    }
    return !SimpleScript(hb_unicode_script(hb_unicode_funcs_get_default(), cp));
}

bool EmojiByDefault(char32_t cp) {
    return (cp >= 0x1F300 && cp <= 0x1F6FF) || (cp >= 0x1F900 && cp <= 0x1FAFF) ||
           (cp >= 0x1F1E6 && cp <= 0x1F1FF);
}

bool DefaultIgnorable(char32_t cp) {
    return cp == 0xAD || cp == 0x34F || cp == 0x61C || (cp >= 0x115F && cp <= 0x1160) ||
           (cp >= 0x17B4 && cp <= 0x17B5) || (cp >= 0x180B && cp <= 0x180F) ||
           (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x202A && cp <= 0x202E) ||
           (cp >= 0x2060 && cp <= 0x206F) || cp == 0x3164 || (cp >= 0xFE00 && cp <= 0xFE0F) ||
           cp == 0xFEFF || cp == 0xFFA0 || (cp >= 0x1BCA0 && cp <= 0x1BCA3) ||
           (cp >= 0x1D173 && cp <= 0x1D17A) || (cp >= 0xE0000 && cp <= 0xE0FFF);
}

bool Attaching(char32_t cp) {
    if (SequenceCharacter(cp) && !(cp >= 0x1F1E6 && cp <= 0x1F1FF)) return true;
    switch (hb_unicode_general_category(hb_unicode_funcs_get_default(), cp)) {
        case HB_UNICODE_GENERAL_CATEGORY_NON_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_SPACING_MARK:
        case HB_UNICODE_GENERAL_CATEGORY_ENCLOSING_MARK:
            return true;
        default:
            return false;
    }
}

}  // namespace tabora
