// Captions in every script: our glyphs and positions against HarfBuzz's own
// command-line shaper on the same face and size, and the visible facts
// (joining, right-to-left order, fallback, boxes, emoji in colour).
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <vector>

#include "platform/CharacterClasses.h"
#include "platform/Fonts.h"
#include "platform/Utf8.h"

using namespace tabora;

namespace {

struct HbGlyph {
    uint32_t index = 0;
    uint32_t cluster = 0;  // code point index within the shaped text
    int64_t dx = 0, dy = 0, ax = 0;
};

std::vector<char32_t> CodePoints(std::string_view text) {
    std::vector<char32_t> cps;
    for (size_t pos = 0; pos < text.size();) cps.push_back(NextCodePoint(text, pos));
    return cps;
}

// hb-shape on `text` in the face at `path`, at `em` pixels in 26.6 units
// (the font size is em * 64 units to the em), text given as code points so
// that no locale takes part.
std::vector<HbGlyph> HbShape(const LayoutFace& face, int64_t em, std::string_view text,
                             const char* direction) {
    std::string unicodes;
    for (char32_t cp : CodePoints(text)) {
        char hex[16];
        std::snprintf(hex, sizeof hex, "%s%X", unicodes.empty() ? "" : ",", unsigned(cp));
        unicodes += hex;
    }
    const std::string command =
        "hb-shape --font-funcs=ot --no-glyph-names --output-format=json --font-size=" +
        std::to_string(em * 64) + " --face-index=" + std::to_string(face.index & 0xFFFF) +
        " --direction=" + direction + " -u " + unicodes + " '" + face.path + "' 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string out;
    char buffer[4096];
    while (pipe && fgets(buffer, sizeof buffer, pipe.get())) out += buffer;
    std::vector<HbGlyph> glyphs;
    const nlohmann::json parsed = nlohmann::json::parse(out, nullptr, false);
    EXPECT_TRUE(parsed.is_array()) << "hb-shape (libharfbuzz-bin) said: " << out;
    if (!parsed.is_array()) return glyphs;
    for (const auto& g : parsed) {
        glyphs.push_back({g["g"].get<uint32_t>(), g["cl"].get<uint32_t>(), g["dx"].get<int64_t>(),
                          g["dy"].get<int64_t>(), g["ax"].get<int64_t>()});
    }
    return glyphs;
}

// A stretch of the caption in drawing order, with the direction the
// bidirectional algorithm gives it.
struct Segment {
    std::string text;
    const char* direction;
};

// Our layout of `caption` must be the segments' shapings side by side, each
// in the face our layout drew it with, glyph for glyph and to the 1/64
// pixel.
void ExpectShapedLikeHarfBuzz(const std::string& family, int64_t em, const std::string& caption,
                              const std::vector<Segment>& segments) {
    SCOPED_TRACE(family + " " + std::to_string(em) + " px: " + caption);
    auto font = Font::Create({int32_t(-em), 400, false, family});
    const LineLayout layout = font->Layout(caption);
    ASSERT_TRUE(layout.shaped);
    size_t at = 0;
    int64_t pen = 0;
    for (const Segment& segment : segments) {
        ASSERT_LT(at, layout.glyphs.size()) << segment.text;
        const LayoutFace& face = layout.faces[layout.glyphs[at].face];
        const std::vector<HbGlyph> expected = HbShape(face, em, segment.text, segment.direction);
        ASSERT_FALSE(expected.empty()) << segment.text;
        // The occurrence of the segment that holds the first glyph's
        // character (a space may occur more than once).
        size_t start = caption.find(segment.text);
        while (start != std::string::npos &&
               !(layout.glyphs[at].cluster >= start &&
                 layout.glyphs[at].cluster < start + segment.text.size())) {
            start = caption.find(segment.text, start + 1);
        }
        ASSERT_NE(start, std::string::npos) << segment.text;
        for (const HbGlyph& want : expected) {
            ASSERT_LT(at, layout.glyphs.size());
            const PlacedGlyph& got = layout.glyphs[at++];
            EXPECT_EQ(got.index, want.index) << segment.text << " in " << face.family;
            EXPECT_EQ(got.x, pen + want.dx) << segment.text;
            EXPECT_EQ(got.y, want.dy) << segment.text;
            EXPECT_EQ(&layout.faces[got.face], &face) << "one face for " << segment.text;
            // Clusters name the same character: ours in bytes of the caption.
            std::string before;
            const auto cps = CodePoints(segment.text);
            for (uint32_t i = 0; i < want.cluster; ++i) AppendUtf8(before, cps[i]);
            EXPECT_EQ(got.cluster, start + before.size()) << segment.text;
            pen += want.ax;
        }
    }
    EXPECT_EQ(at, layout.glyphs.size());
}

std::unique_ptr<Font> DefaultFont(int32_t em = 16) {
    return Font::Create({-em, 400, false, "Arial"});
}

}  // namespace

TEST(Shaping, ArabicAndHebrewReadRightToLeftAsHarfBuzzShapesThem) {
    for (int64_t em : {16, 64}) {
        ExpectShapedLikeHarfBuzz("DejaVu Sans", em, "مرحبا بالعالم", {{"مرحبا بالعالم", "rtl"}});
        ExpectShapedLikeHarfBuzz("DejaVu Sans", em, "שלום עולם", {{"שלום עולם", "rtl"}});
        // The default font lacks both: drawn from the fallback face.
        ExpectShapedLikeHarfBuzz("Arial", em, "مرحبا", {{"مرحبا", "rtl"}});
        ExpectShapedLikeHarfBuzz("Arial", em, "שלום", {{"שלום", "rtl"}});
    }
}

TEST(Shaping, MixedDirectionKeepsEachRunInOrder) {
    // A left-to-right paragraph (its first strong letter is Latin) with an
    // Arabic word: the word reads right to left in its place.
    ExpectShapedLikeHarfBuzz("DejaVu Sans", 16, "Buy عربي now",
                             {{"Buy ", "ltr"}, {"عربي", "rtl"}, {" ", "ltr"}, {"now", "ltr"}});
    // A right-to-left paragraph: the Latin word and the number after it
    // form one left-to-right stretch on the left, the Hebrew word (with the
    // space that follows it) stands rightmost.
    ExpectShapedLikeHarfBuzz("DejaVu Sans", 16, "שלום Tabora 2024",
                             {{"Tabora 2024", "ltr"}, {"שלום ", "rtl"}});
}

TEST(Shaping, IndicThaiAndCjkAsHarfBuzzShapesThem) {
    for (int64_t em : {16, 64}) {
        ExpectShapedLikeHarfBuzz("Arial", em, "नमस्ते दुनिया", {{"नमस्ते दुनिया", "ltr"}});
        ExpectShapedLikeHarfBuzz("Arial", em, "বাংলা ভাষা", {{"বাংলা ভাষা", "ltr"}});
        ExpectShapedLikeHarfBuzz("Arial", em, "สวัสดีชาวโลก", {{"สวัสดีชาวโลก", "ltr"}});
        ExpectShapedLikeHarfBuzz("Arial", em, "你好世界", {{"你好世界", "ltr"}});
        ExpectShapedLikeHarfBuzz("Arial", em, "こんにちは", {{"こんにちは", "ltr"}});
    }
}

TEST(Shaping, ArabicJoinedIsNarrowerThanItsIsolatedLetters) {
    auto font = Font::Create({-32, 400, false, "DejaVu Sans"});
    const std::string word = "العربية";
    int32_t isolated = 0;
    std::string letter;
    for (char32_t cp : CodePoints(word)) {
        letter.clear();
        AppendUtf8(letter, cp);
        isolated += font->Extent(letter).cx;
    }
    EXPECT_LT(font->Extent(word).cx, isolated);
    EXPECT_GT(font->Extent(word).cx, isolated / 2);
}

TEST(Shaping, TheFirstHebrewLetterIsDrawnRightmost) {
    for (const char* family : {"DejaVu Sans", "Arial"}) {
        auto font = Font::Create({-24, 400, false, family});
        const LineLayout layout = font->Layout("שלום");
        ASSERT_EQ(layout.glyphs.size(), 4u) << family;
        // Drawing order is left to right: the last glyph drawn shows the
        // first character typed.
        EXPECT_EQ(layout.glyphs.back().cluster, 0u) << family;
        EXPECT_EQ(layout.glyphs.front().cluster, 6u) << family;  // ם, the fourth letter
        for (size_t i = 1; i < layout.glyphs.size(); ++i) {
            EXPECT_GT(layout.glyphs[i].x, layout.glyphs[i - 1].x) << family;
        }
    }
}

TEST(Shaping, CjkWithTheDefaultFontHasNoBoxes) {
    auto font = DefaultFont();
    for (const char* caption : {"你好世界", "こんにちは世界", "欢迎光临，购物车"}) {
        const LineLayout layout = font->Layout(caption);
        EXPECT_TRUE(layout.missing.empty()) << caption;
        ASSERT_FALSE(layout.glyphs.empty());
        for (const PlacedGlyph& glyph : layout.glyphs) {
            EXPECT_NE(glyph.index, 0u) << caption;
            EXPECT_NE(glyph.face, 0u) << caption << ": the default font has no CJK";
        }
        // Drawn at the caption's size: the ink is about an em tall.
        std::vector<uint8_t> ink(200 * 40);
        font->DrawCoverage(caption, {0, 10, 200, 30}, {ink.data(), 200, 40, 200}, false);
        int32_t top = 40, bottom = 0;
        for (int32_t y = 0; y < 40; ++y) {
            for (int32_t x = 0; x < 200; ++x) {
                if (ink[size_t(y) * 200 + x])
                    top = std::min(top, y), bottom = std::max(bottom, y + 1);
            }
        }
        EXPECT_GE(bottom - top, 10) << caption;
        EXPECT_LE(bottom - top, 20) << caption;
    }
}

TEST(Shaping, SimpleCaptionsKeepTheSimplePath) {
    auto font = DefaultFont();
    for (const char* caption : {"Download", "Zażółć gęślą jaźń", "Ωμέγα", "Привет, мир", "a\tb"}) {
        EXPECT_FALSE(font->Layout(caption).shaped) << caption;
    }
    // A combining accent stays simple where the face has it, as before.
    EXPECT_FALSE(Font::Create({-16, 400, false, "DejaVu Sans"})->Layout("Cafe\xCC\x81").shaped);
    for (const char* caption : {"שלום", "Hi \xE2\x80\x8F!", "नमस्ते", "中", "Go \xF0\x9F\x98\x80"}) {
        EXPECT_TRUE(font->Layout(caption).shaped) << caption;
    }
    // On the simple path the layout is the hinted advances one after another.
    const LineLayout simple = font->Layout("AVA");
    ASSERT_EQ(simple.glyphs.size(), 3u);
    EXPECT_EQ(simple.glyphs[2].x % 64, 0);
    EXPECT_EQ(font->Extent("AVA").cx, font->Extent("A").cx * 2 + font->Extent("V").cx);
}

TEST(Fallback, DeterministicAtTheSameSizeWeightAndSlant) {
    const LineLayout a = DefaultFont(20)->Layout("Shop 中文 عربي");
    const LineLayout b = DefaultFont(20)->Layout("Shop 中文 عربي");
    ASSERT_EQ(a.glyphs.size(), b.glyphs.size());
    for (size_t i = 0; i < a.glyphs.size(); ++i) {
        EXPECT_EQ(a.glyphs[i].index, b.glyphs[i].index);
        EXPECT_EQ(a.glyphs[i].x, b.glyphs[i].x);
        EXPECT_EQ(a.faces[a.glyphs[i].face].path, b.faces[b.glyphs[i].face].path);
    }
    // Bold asks the fallback for bold too: the same face file or a bolder
    // one, never narrower.
    auto bold = Font::Create({-20, 700, false, "Arial"});
    EXPECT_GE(bold->Extent("中文").cx, DefaultFont(20)->Extent("中文").cx);
}

TEST(Fallback, CharactersNoFaceHasAreTheChosenFacesBoxAndReported) {
    auto font = DefaultFont(24);
    // Plane 5 is unassigned: no font has U+50000; U+200D has no glyph but is
    // invisible by nature, so it is not reported.
    const std::string caption =
        "A\xF1\x90\x80\x80"
        "B\xF1\x90\x80\x80\xE2\x80\x8D";
    const LineLayout layout = font->Layout(caption);
    EXPECT_EQ(layout.missing, std::vector<char32_t>{0x50000});
    ASSERT_GE(layout.glyphs.size(), 4u);
    EXPECT_EQ(layout.glyphs[1].index, 0u);
    EXPECT_EQ(layout.glyphs[1].face, 0u);
    // The box is drawn: more ink than the letters alone.
    std::vector<uint8_t> with(200 * 40), without(200 * 40);
    font->DrawCoverage(caption, {0, 5, 200, 35}, {with.data(), 200, 40, 200}, false);
    font->DrawCoverage("AB", {0, 5, 200, 35}, {without.data(), 200, 40, 200}, false);
    EXPECT_GT(std::count(with.begin(), with.end(), 255),
              std::count(without.begin(), without.end(), 255) + 20);
    EXPECT_EQ(CodePointName(0x378), "U+0378");
    EXPECT_EQ(CodePointName(0x1F600), "U+1F600");
}

namespace {

struct Drawn {
    std::vector<uint8_t> coverage;
    std::vector<uint32_t> colour;
    size_t Inked() const {
        return size_t(std::count_if(coverage.begin(), coverage.end(), [](uint8_t c) { return c; }));
    }
    size_t Coloured() const {
        return size_t(std::count_if(colour.begin(), colour.end(), [](uint32_t p) {
            const uint32_t r = p >> 8 & 0xFF, g = p >> 16 & 0xFF, b = p >> 24;
            return (p & 0xFF) != 0 && (r != g || g != b);
        }));
    }
};

Drawn DrawBoth(Font& font, std::string_view caption, bool antialiased) {
    Drawn d{std::vector<uint8_t>(200 * 60), std::vector<uint32_t>(200 * 60)};
    const TextExtent e = font.Extent(caption);
    font.DrawCaption(caption, {0, (60 - e.cy) / 2, 200, 60}, {d.coverage.data(), 200, 60, 200},
                     {d.colour.data(), 200, 60, 200}, antialiased);
    return d;
}

}  // namespace

TEST(Emoji, DrawnInTheirOwnColoursAtTheCaptionSize) {
    auto font = DefaultFont(20);
    EXPECT_TRUE(font->HasColourGlyphs("Go \xF0\x9F\x9A\x80"));
    EXPECT_FALSE(font->HasColourGlyphs("Go"));
    for (bool antialiased : {false, true}) {
        const Drawn d = DrawBoth(*font, "Go \xF0\x9F\x9A\x80", antialiased);
        EXPECT_GT(d.Inked(), 20u);     // the letters, in the caption's coverage
        EXPECT_GT(d.Coloured(), 60u);  // the rocket, in colour
        // Scaled from its strike to about the em: no taller than the cell.
        int32_t top = 60, bottom = 0;
        for (int32_t i = 0; i < 200 * 60; ++i) {
            if (d.colour[size_t(i)] & 0xFF)
                top = std::min(top, i / 200), bottom = std::max(bottom, i / 200 + 1);
        }
        EXPECT_LE(bottom - top, font->Extent("").cy + 2);
        EXPECT_GE(bottom - top, 12);
        for (uint32_t p : d.colour) {
            const uint32_t a = p & 0xFF;
            if (!antialiased) {
                ASSERT_TRUE(a == 0 || a == 255);
            }
            // Premultiplied: no colour byte above the alpha.
            ASSERT_LE(p >> 8 & 0xFF, a);
            ASSERT_LE(p >> 24, a);
        }
    }
    // Without a colour view the emoji's alpha goes into the coverage.
    std::vector<uint8_t> only(200 * 60);
    font->DrawCoverage("\xF0\x9F\x9A\x80", {0, 10, 200, 60}, {only.data(), 200, 60, 200}, true);
    EXPECT_GT(std::count_if(only.begin(), only.end(), [](uint8_t c) { return c > 128; }), 60);
}

TEST(Emoji, AnEmojiFontForTheWholeCaptionKeepsItsLetters) {
    auto font = Font::Create({-20, 400, false, "Noto Color Emoji"});
    if (font->FamilyName() != "Noto Color Emoji") GTEST_SKIP() << "no colour emoji font installed";
    const Drawn d = DrawBoth(*font, "Sale \xF0\x9F\x8E\x89", false);
    EXPECT_GT(d.Inked(), 40u);  // "Sale" from a fallback face
    EXPECT_GT(d.Coloured(), 60u);
    const TextExtent e = font->Extent("Sale \xF0\x9F\x8E\x89");
    EXPECT_GT(e.cx, 40);
    EXPECT_LT(e.cy, 40);  // the strike's cell scaled to the caption's size
}

TEST(Shaping, AnyMixOfScriptsDrawsWithinItsExtent) {
    // Letters of many scripts, marks, joiners, selectors, bidirectional
    // controls, emoji and their modifiers, unassigned code points.
    const std::vector<char32_t> pool = {
        'A',     'g',     ' ',    '1',    '(',     ']',     0xE9,   0x301,   0x3A9,   0x416,
        0x5D0,   0x5BC,   0x627,  0x644,  0x64E,   0x661,   0x915,  0x94D,   0x937,   0x93F,
        0x995,   0x9CD,   0xE01,  0xE31,  0xE48,   0x4E2D,  0x3042, 0xAC00,  0x200D,  0x200C,
        0x200F,  0x202B,  0x202C, 0x2067, 0x2069,  0xFE0F,  0xFE0E, 0x1F389, 0x1F44D, 0x1F3FD,
        0x1F1EB, 0x1F1F7, 0x2764, 0x378,  0x50000, 0xE0065, 0x7F,   0xFFFD};
    std::mt19937 rng(14);
    for (int32_t em : {16, 64}) {
        auto font = DefaultFont(em);
        const int32_t w = 60 * em, h = 4 * em;
        std::vector<uint8_t> coverage(size_t(w) * h);
        std::vector<uint32_t> colour(size_t(w) * h);
        for (int round = 0; round < 60; ++round) {
            std::string caption;
            const size_t length = 1 + rng() % 24;
            for (size_t i = 0; i < length; ++i) AppendUtf8(caption, pool[rng() % pool.size()]);
            const TextExtent e = font->Extent(caption);
            ASSERT_GE(e.cx, 0);
            ASSERT_LT(e.cx, w / 2) << caption;
            std::fill(coverage.begin(), coverage.end(), 0);
            std::fill(colour.begin(), colour.end(), 0);
            const Rect rect{(w - e.cx) / 2, em, (w + e.cx) / 2, em + e.cy};
            font->DrawCaption(caption, rect, {coverage.data(), w, h, w}, {colour.data(), w, h, w},
                              false);
            // Ink may overhang the advances by a little, never more.
            for (int32_t y = 0; y < h; ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    if (!coverage[size_t(y) * w + x] && !colour[size_t(y) * w + x]) continue;
                    ASSERT_GE(x, rect.left - em) << caption;
                    ASSERT_LT(x, rect.right + em) << caption;
                }
            }
        }
    }
}

TEST(Shaping, WhichCharactersNeedTheShaper) {
    // The simple path keeps its pixels for these: never shaped by themselves.
    for (char32_t cp : {U'A', U'é', U'\u0301', U'Ω', U'Ж', U'Ա', U'中', U'あ', U'€', U'\u2764'}) {
        EXPECT_FALSE(NeedsShaping(cp)) << CodePointName(cp);
    }
    // Joining, right to left, clusters, bidirectional controls, sequences.
    for (char32_t cp : {U'\u0627', U'\u05D0', U'\u0915', U'\u0995', U'\u0E01', U'\u200F',
                        U'\u202E', U'\u2067', U'\u200D', U'\uFE0F', U'\U0001F3FD', U'\U0001F1EB'}) {
        EXPECT_TRUE(NeedsShaping(cp)) << CodePointName(cp);
    }
    EXPECT_TRUE(EmojiByDefault(0x1F600));
    EXPECT_FALSE(EmojiByDefault(0x2764));  // a text heart unless followed by U+FE0F
    EXPECT_TRUE(DefaultIgnorable(0x200D));
    EXPECT_FALSE(DefaultIgnorable(0x20));
    EXPECT_TRUE(Attaching(0x301));
    EXPECT_TRUE(Attaching(0x1F3FD));
    EXPECT_FALSE(Attaching(0x1F1EB));  // a flag's letters start a new character
}

TEST(Emoji, TheLargestCaptionStillShowsThem) {
    // 300 points, antialiased: an em of 1600 pixels in the 696 x 296 work area.
    auto font = Font::Create({-1600, 400, false, "Arial"});
    std::vector<uint8_t> coverage(696 * 296);
    std::vector<uint32_t> colour(696 * 296);
    const auto start = std::chrono::steady_clock::now();
    const TextExtent e = font->Extent("\xF0\x9F\x8E\x89");
    font->DrawCaption("\xF0\x9F\x8E\x89", {(696 - e.cx) / 2, (296 - e.cy) / 2, (696 + e.cx) / 2, 296},
                      {coverage.data(), 696, 296, 696}, {colour.data(), 696, 296, 696}, false);
    EXPECT_GT(std::count_if(colour.begin(), colour.end(), [](uint32_t p) { return p != 0; }), 10000);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}
