#pragma once
// What the text layer needs to know of a character beyond its glyph.
#include <cstdint>

namespace tabora {

// Characters that need the shaper, whatever face draws them: scripts whose
// letters join, reorder or combine (everything but Latin, Greek, Cyrillic,
// CJK and the like), right-to-left and bidirectional controls, and the
// characters of emoji sequences.
bool NeedsShaping(char32_t cp);
// Shown as emoji unless asked otherwise: the pictographic blocks. Older
// symbols (U+2600...) are text unless followed by U+FE0F.
bool EmojiByDefault(char32_t cp);
// Invisible characters the shaper hides when a face lacks them.
bool DefaultIgnorable(char32_t cp);
// Characters that belong to the one before them and stay in its face:
// marks, joiners, selectors, emoji modifiers.
bool Attaching(char32_t cp);

}  // namespace tabora
