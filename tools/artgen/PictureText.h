#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "tools/artgen/PictureCanvas.h"

namespace tabora::art {

// Text drawn through the program's own font code with a font that the setup
// script installs, so the pictures come out the same on every machine that
// ran it.
struct TextStyle {
    const char* face = "Liberation Sans";
    int pixels = 12;  // em height
    bool bold = false;
};

// Layout is decided at 1x, in CSS pixels; drawing at a finer scale sets the
// same text at `scale` times the size in the places the 1x layout chose.
int TextWidth(const TextStyle& style, std::string_view text);
// The width the text takes when drawn at `scale`, in device pixels.
int TextWidth(const TextStyle& style, std::string_view text, int scale);
// Ascent + descent: the distance between two lines set solid.
int LineHeight(const TextStyle& style);
// Adds (by maximum) the antialiased coverage of one line whose cell has its
// top-left corner at (x, y), drawn at the target's scale.
void DrawText(Coverage& target, const TextStyle& style, std::string_view text, int x, int y);
// The same line placed so that the middle of its ink lands on (cx, cy),
// rounded to whole device pixels; what digits in a disc or a badge need.
void DrawTextCentred(Coverage& target, const TextStyle& style, std::string_view text, float cx,
                     float cy);
// Breaks at spaces into lines no wider than `width` (a word longer than that
// gets a line of its own).
std::vector<std::string> WrapText(const TextStyle& style, std::string_view text, int width);

// The program's own 5-pixel capitals, figures and signs, for the captions
// under the sliders and the numeric read-outs: at that size only hand-set
// pixels stay crisp.
constexpr int kPixelFontHeight = 5;
// Letters set with `tracking` blank columns between them; a space is 2 wide.
int PixelTextWidth(std::string_view text, int tracking);
void DrawPixelText(Coverage& target, std::string_view text, int x, int y, int tracking);

// One read-out glyph: its resource name and its rows, '#' = ink. Every row
// is as wide as the glyph; the last column stays blank as spacing.
struct ReadoutGlyph {
    const char* name;
    const char* rows[kPixelFontHeight];
};
// The 17 glyphs in read-out order: digits 0-9, "(", ")", ".", "%", "°", "-", "+".
const std::vector<ReadoutGlyph>& ReadoutGlyphs();
int GlyphWidth(const ReadoutGlyph& glyph);

}  // namespace tabora::art
