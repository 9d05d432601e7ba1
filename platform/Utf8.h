#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tabora {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at `pos` and moves `pos` past it. Text comes from
// files and the user, so it may be anything: a byte that does not start a
// well-formed sequence (stray continuation, overlong form, surrogate, beyond
// U+10FFFF, cut short) yields U+FFFD and consumes that one byte only.
// Requires pos < text.size().
inline char32_t NextCodePoint(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) return lead;
    int trailing = 0;
    char32_t cp = 0;
    char32_t smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1, cp = lead & 0x1F, smallest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2, cp = lead & 0x0F, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3, cp = lead & 0x07, smallest = 0x10000;
    } else {
        return kReplacementCharacter;
    }
    size_t next = pos;
    for (int i = 0; i < trailing; ++i, ++next) {
        if (next >= text.size()) return kReplacementCharacter;
        const auto byte = static_cast<unsigned char>(text[next]);
        if ((byte & 0xC0) != 0x80) return kReplacementCharacter;
        cp = (cp << 6) | (byte & 0x3F);
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacementCharacter;
    }
    pos = next;
    return cp;
}

inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// `text` with every malformed byte replaced by U+FFFD.
inline std::string SanitizedUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) AppendUtf8(out, NextCodePoint(text, pos));
    return out;
}

}  // namespace tabora
