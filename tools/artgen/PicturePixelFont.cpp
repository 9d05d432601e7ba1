#include <cstring>

#include "tools/artgen/PictureText.h"

namespace tabora::art {

namespace {

// Capitals on a 5-pixel body, mostly 4 wide; T, M, W, Y, V and X need an odd
// width for their stems, I and L less.
struct Letter {
    char ch;
    const char* rows[kPixelFontHeight];
};

const Letter kLetters[] = {
    {'A', {".##.", "#..#", "####", "#..#", "#..#"}},
    {'B', {"###.", "#..#", "###.", "#..#", "###."}},
    {'C', {".###", "#...", "#...", "#...", ".###"}},
    {'D', {"###.", "#..#", "#..#", "#..#", "###."}},
    {'E', {"####", "#...", "###.", "#...", "####"}},
    {'F', {"####", "#...", "###.", "#...", "#..."}},
    {'G', {".###", "#...", "#.##", "#..#", ".###"}},
    {'H', {"#..#", "#..#", "####", "#..#", "#..#"}},
    {'I', {"#", "#", "#", "#", "#"}},
    {'J', {"...#", "...#", "...#", "#..#", ".##."}},
    {'K', {"#..#", "#.#.", "##..", "#.#.", "#..#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#...#", "##.##", "#.#.#", "#...#", "#...#"}},
    {'N', {"#..#", "##.#", "#.##", "#..#", "#..#"}},
    {'O', {".##.", "#..#", "#..#", "#..#", ".##."}},
    {'P', {"###.", "#..#", "###.", "#...", "#..."}},
    {'Q', {".##.", "#..#", "#..#", "#.#.", ".#.#"}},
    {'R', {"###.", "#..#", "###.", "#.#.", "#..#"}},
    {'S', {".###", "#...", ".##.", "...#", "###."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#..#", "#..#", "#..#", "#..#", ".##."}},
    {'V', {"#...#", "#...#", ".#.#.", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#.#.#", "##.##", "#...#"}},
    {'X', {"#...#", ".#.#.", "..#..", ".#.#.", "#...#"}},
    {'Y', {"#...#", ".#.#.", "..#..", "..#..", "..#.."}},
    {'Z', {"####", "..#.", ".#..", "#...", "####"}},
    {' ', {"..", "..", "..", "..", ".."}},
};

const Letter* Find(char ch) {
    for (const Letter& l : kLetters)
        if (l.ch == ch) return &l;
    return nullptr;
}

}  // namespace

int PixelTextWidth(std::string_view text, int tracking) {
    int width = 0;
    for (char ch : text) {
        const Letter* l = Find(ch);
        if (!l) continue;
        if (width > 0) width += tracking;
        width += int(std::strlen(l->rows[0]));
    }
    return width;
}

void DrawPixelText(Coverage& target, std::string_view text, int x, int y, int tracking) {
    bool first = true;
    for (char ch : text) {
        const Letter* l = Find(ch);
        if (!l) continue;
        if (!first) x += tracking;
        first = false;
        const int w = int(std::strlen(l->rows[0]));
        for (int row = 0; row < kPixelFontHeight; ++row)
            for (int col = 0; col < w; ++col)
                if (l->rows[row][col] == '#')
                    target.FillRect({x + col, y + row, x + col + 1, y + row + 1});
        x += w;
    }
}

const std::vector<ReadoutGlyph>& ReadoutGlyphs() {
    // Figures 5 wide on a 6-wide cell; the read-out adds one more column, so
    // figures stand two pixels apart, like the capitals of the captions.
    static const std::vector<ReadoutGlyph> glyphs = {
        {"zero", {".###..", "#...#.", "#...#.", "#...#.", ".###.."}},
        {"one", {".#.", "##.", ".#.", ".#.", ".#."}},
        {"two", {".###..", "#...#.", "..##..", ".#....", "#####."}},
        {"three", {"####..", "....#.", "..##..", "....#.", "####.."}},
        {"four", {"#...#.", "#...#.", "#####.", "....#.", "....#."}},
        {"five", {"#####.", "#.....", "####..", "....#.", "####.."}},
        {"six", {".###..", "#.....", "####..", "#...#.", ".###.."}},
        {"seven", {"#####.", "....#.", "...#..", "..#...", "..#..."}},
        {"eight", {".###..", "#...#.", ".###..", "#...#.", ".###.."}},
        {"nine", {".###..", "#...#.", ".####.", "....#.", ".###.."}},
        {"lparen", {".#.", "#..", "#..", "#..", ".#."}},
        {"rparen", {"#..", ".#.", ".#.", ".#.", "#.."}},
        {"decimal", {"..", "..", "..", "..", "#."}},
        {"percent", {"##..#.", "##.#..", "..#...", ".#.##.", "#..##."}},
        {"degree", {"###.", "#.#.", "###.", "....", "...."}},
        {"minus", {".....", ".....", "####.", ".....", "....."}},
        {"plus", {"..#...", "..#...", "#####.", "..#...", "..#..."}},
    };
    return glyphs;
}

int GlyphWidth(const ReadoutGlyph& glyph) { return int(std::strlen(glyph.rows[0])); }

}  // namespace tabora::art
