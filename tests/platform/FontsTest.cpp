#include <gtest/gtest.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <climits>
#include <thread>
#include <vector>

#include "platform/FontLookup.h"
#include "platform/Fonts.h"
#include "platform/Utf8.h"
#include "tests/support/TimeBudget.h"

using namespace tabora;

namespace {

constexpr char kCaption[] = "Click Me!";

struct Coverage {
    int32_t width, height;
    std::vector<uint8_t> bytes;
    Coverage(int32_t w, int32_t h) : width(w), height(h), bytes(size_t(w) * h) {}
    CoverageView View() { return {bytes.data(), width, height, width}; }
    uint8_t At(int32_t x, int32_t y) const { return bytes[size_t(y) * width + x]; }
    size_t Inked() const { return bytes.size() - std::count(bytes.begin(), bytes.end(), 0); }
    // Ink bounding box; empty when nothing is drawn.
    Rect InkBox() const {
        Rect box{width, height, 0, 0};
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                if (At(x, y))
                    box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                           std::max(box.bottom, y + 1)};
        return box;
    }
};

Coverage Draw(Font& font, std::string_view text, Rect rect, int32_t w, int32_t h,
              bool antialiased) {
    Coverage c(w, h);
    font.DrawCoverage(text, rect, c.View(), antialiased);
    return c;
}

std::unique_ptr<Font> Arial(int32_t height = -16, int32_t weight = 400, bool italic = false) {
    return Font::Create({height, weight, italic, "Arial"});
}

}  // namespace

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(-96, 12, 72), -16);
    EXPECT_EQ(MulDiv(-96, 12, 72) * 4, -64);
    EXPECT_EQ(MulDiv(1, 1, 2), 1);
    EXPECT_EQ(MulDiv(-1, 1, 2), -1);
    EXPECT_EQ(MulDiv(1, -1, 2), -1);
    EXPECT_EQ(MulDiv(1, 1, -2), -1);
    EXPECT_EQ(MulDiv(-1, -1, 2), 1);
    EXPECT_EQ(MulDiv(-3, 1, -2), 2);
    EXPECT_EQ(MulDiv(5, 1, 4), 1);  // 1.25
    EXPECT_EQ(MulDiv(7, 1, 4), 2);  // 1.75
    EXPECT_EQ(MulDiv(-7, 1, 4), -2);
    EXPECT_EQ(MulDiv(2, 1, 3), 1);  // 0.67
    EXPECT_EQ(MulDiv(1, 1, 3), 0);
    EXPECT_EQ(MulDiv(-96, 32767, 72), -43689);  // -43689.33
}

TEST(MulDiv, WideIntermediateZeroDivisorAndOverflow) {
    EXPECT_EQ(MulDiv(100000, 100000, 100000), 100000);
    EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(MulDiv(INT32_MIN, 2, 2), INT32_MIN);
    EXPECT_EQ(MulDiv(INT32_MIN, -1, -1), INT32_MIN);
    EXPECT_EQ(MulDiv(5, 7, 0), -1);
    EXPECT_EQ(MulDiv(0, 0, 0), -1);
    EXPECT_EQ(MulDiv(INT32_MAX, 2, 1), -1);
    EXPECT_EQ(MulDiv(INT32_MIN, -1, 1), -1);
}

TEST(Utf8, MalformedBytesBecomeOneReplacementEach) {
    auto decode = [](std::string_view s) {
        std::u32string out;
        for (size_t pos = 0; pos < s.size();) out += NextCodePoint(s, pos);
        return out;
    };
    EXPECT_EQ(decode("Gr\xC3\xB6\xC3\x9F"
                     "e \xE2\x82\xAC"),
              U"Größe €");
    EXPECT_EQ(decode("\xF0\x9F\x98\x80"), U"\U0001F600");
    EXPECT_EQ(decode("\xFF"
                     "a"),
              U"\uFFFDa");
    EXPECT_EQ(decode("\xE2\x82"), U"\uFFFD\uFFFD");                      // cut short
    EXPECT_EQ(decode("\xC0\xAF"), U"\uFFFD\uFFFD");                      // overlong
    EXPECT_EQ(decode("\xED\xA0\x80"), U"\uFFFD\uFFFD\uFFFD");            // surrogate
    EXPECT_EQ(decode("\xF4\x90\x80\x80"), U"\uFFFD\uFFFD\uFFFD\uFFFD");  // > U+10FFFF
    EXPECT_EQ(decode("\xC3"
                     "A"),
              U"\uFFFDA");
}

// The family fontconfig itself gives for a name on this machine: the answer
// the lookup must agree with, whatever else is installed here.
std::string FontconfigFamily(const char* name) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::string family;
    FcChar8* value = nullptr;
    if (match && FcPatternGetString(match, FC_FAMILY, 0, &value) == FcResultMatch) {
        family = reinterpret_cast<const char*>(value);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    return family;
}

TEST(FontLookup, ArialResolvesToItsMetricCompatibleFamily) {
    // Liberation Sans where the setup's fonts are all there is.
    const std::string expected = FontconfigFamily("Arial");
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Arial()->FamilyName(), expected);
    EXPECT_EQ(Font::Create({-16, 700, true, "arial"})->FamilyName(), expected);
    EXPECT_FALSE(ResolveFace("Arial", 700, true).syntheticBold);
    EXPECT_FALSE(ResolveFace("Arial", 700, true).syntheticItalic);
}

TEST(FontLookup, UnknownOrEmptyFaceFallsBackToDefaultSans) {
    const std::string sans = FontconfigFamily("sans-serif");
    ASSERT_FALSE(sans.empty());
    for (const char* name : {"No Such Face 4711", "", "\xFF\xFE\xFD"}) {
        auto font = Font::Create({-16, 400, false, name});
        EXPECT_EQ(font->FamilyName(), sans) << name;
        EXPECT_GT(font->Extent(kCaption).cx, 0);
    }
}

TEST(FontLookup, OnlyTheFirst31BytesOfTheNameCount) {
    // Blanks do not matter to the lookup, so the cut-off name still names a
    // family; with the tail it would not.
    std::string name = "Liberation Mono" + std::string(16, ' ');
    ASSERT_EQ(name.size(), kFaceNameBytes);
    EXPECT_EQ(Font::Create({-16, 400, false, name + "XYZ"})->FamilyName(), "Liberation Mono");
    EXPECT_EQ(
        Font::Create({-16, 400, false, std::string("Liberation Mono\0XYZ", 19)})->FamilyName(),
        "Liberation Mono");
    EXPECT_EQ(LookupFaceName(std::string(40, 'a')).size(), kFaceNameBytes);
}

TEST(FontSize, HeightSelectsEmOrCell) {
    const TextExtent em16 = Arial(-16)->Extent(kCaption);
    EXPECT_EQ(em16.cy, 19);                        // Liberation Sans at 16 px: ascent 15, descent 4
    EXPECT_EQ(Arial(0)->Extent(kCaption), em16);   // 12 points at 96 ppi
    EXPECT_EQ(Arial(19)->Extent(kCaption), em16);  // cell height 19 is the 16 px em
    const TextExtent em64 = Arial(-64)->Extent(kCaption);
    EXPECT_NEAR(em64.cx, em16.cx * 4, em16.cx / 4);
    for (int32_t cell : {2, 10, 20, 37, 100}) {
        const int32_t cy = Arial(cell)->Extent("").cy;
        EXPECT_LE(cy, cell) << cell;
        EXPECT_GE(cy, cell - 2) << cell;
    }
}

TEST(FontSize, AbsurdHeightsAreHandled) {
    for (int32_t height : {INT32_MIN, -INT32_MAX, -400000, -1, 1, INT32_MAX}) {
        auto font = Arial(height);
        const TextExtent e = font->Extent(kCaption);
        EXPECT_GT(e.cy, 0) << height;
        EXPECT_GE(e.cx, 0) << height;
        Draw(*font, kCaption, {0, 0, 174, 74}, 174, 74, false);
    }
}

TEST(FontStyle, BoldIsWiderAndSynthesisedWhenMissing) {
    EXPECT_GT(Arial(-16, 700)->Extent(kCaption).cx, Arial(-16, 400)->Extent(kCaption).cx);
    // A family without bold or italic faces gets them made up.
    const std::string text = "Hm";
    std::unique_ptr<Font> regular;
    std::string plainFamily;
    for (const FontFamily& family : EnumerateFontFamilies()) {
        const ResolvedFace face = ResolveFace(family.name, 700, true);
        if (face.family != family.name || !face.syntheticBold || !face.syntheticItalic) continue;
        regular = Font::Create({-32, 400, false, family.name});
        if (Draw(*regular, text, {0, 0, 200, 60}, 200, 60, true).Inked() > 50) {
            plainFamily = family.name;
            break;
        }
    }
    if (plainFamily.empty()) GTEST_SKIP() << "every installed family has bold and italic";
    auto bold = Font::Create({-32, 700, false, plainFamily});
    auto italic = Font::Create({-32, 400, true, plainFamily});
    EXPECT_GT(bold->Extent(text).cx, regular->Extent(text).cx);
    const Coverage r = Draw(*regular, text, {0, 0, 200, 60}, 200, 60, true);
    const Coverage b = Draw(*bold, text, {0, 0, 200, 60}, 200, 60, true);
    const Coverage i = Draw(*italic, text, {0, 0, 200, 60}, 200, 60, true);
    EXPECT_GT(b.Inked(), r.Inked());
    EXPECT_EQ(italic->Extent(text), regular->Extent(text));
    EXPECT_NE(i.bytes, r.bytes);
}

TEST(TextDrawing, PlainIsMonochromeAntialiasedIsSmooth) {
    auto font = Arial(-64);
    const Coverage plain = Draw(*font, kCaption, {0, 0, 696, 296}, 696, 296, false);
    const Coverage smooth = Draw(*font, kCaption, {0, 0, 696, 296}, 696, 296, true);
    EXPECT_GT(plain.Inked(), 1000u);
    EXPECT_TRUE(std::all_of(plain.bytes.begin(), plain.bytes.end(),
                            [](uint8_t v) { return v == 0 || v == 255; }));
    const auto partial = std::count_if(smooth.bytes.begin(), smooth.bytes.end(),
                                       [](uint8_t v) { return v != 0 && v != 255; });
    EXPECT_GT(partial, 200);
    // Same advances in both modes: the ink spans about the same columns.
    EXPECT_NEAR(plain.InkBox().left, smooth.InkBox().left, 2);
    EXPECT_NEAR(plain.InkBox().right, smooth.InkBox().right, 2);
}

TEST(TextDrawing, CentredWithTruncationAndTopAligned) {
    auto font = Arial();
    const TextExtent e = font->Extent(kCaption);
    for (bool antialiased : {false, true}) {
        // A rectangle exactly as wide as the text starts the pen at its left.
        for (int32_t spare : {0, 1, 5, 6, -5, -6, -e.cx - 9}) {
            const Rect wide{10, 3, 10 + e.cx + spare, 3 + e.cy};
            // (spare) / 2 truncates toward zero: -5 gives -2, not -3.
            const int32_t start = 10 + spare / 2;
            const Coverage got = Draw(*font, kCaption, wide, 174, 74, antialiased);
            const Coverage want =
                Draw(*font, kCaption, {start, 3, start + e.cx, 3 + e.cy}, 174, 74, antialiased);
            EXPECT_EQ(got.bytes, want.bytes) << spare;
        }
        // Top-aligned: the rectangle's height plays no part, its top does.
        const Coverage tight = Draw(*font, kCaption, {0, 5, 174, 5 + e.cy}, 174, 74, antialiased);
        const Coverage tall = Draw(*font, kCaption, {0, 5, 174, 74}, 174, 74, antialiased);
        const Coverage lower = Draw(*font, kCaption, {0, 12, 174, 80}, 174, 74, antialiased);
        EXPECT_EQ(tight.bytes, tall.bytes);
        const Rect box = tight.InkBox();
        EXPECT_EQ(lower.InkBox(), box.Offset(0, 7));
        EXPECT_GE(box.top, 5);
        EXPECT_LE(box.bottom, 5 + e.cy);
    }
    // "x" sits on the baseline, which is ascent (15) below the top.
    const Coverage x = Draw(*font, "x", {0, 5, 174, 74}, 174, 74, false);
    EXPECT_EQ(x.InkBox().bottom, 5 + 15);
}

TEST(TextDrawing, HugeFontsAndFarOffsetsStayInsideTheViewAndAreQuick) {
    // The view is the middle of a larger buffer; nothing outside may change.
    constexpr int32_t kW = 696, kH = 296, kPad = 40, kStride = kW + 2 * kPad;
    const auto start = std::chrono::steady_clock::now();
    for (int32_t height : {-64, -16, MulDiv(-kPixelsPerInch, 32767, 72) * 4, -400000, 30000}) {
        auto font = Arial(height, 700, true);
        const TextExtent e = font->Extent(kCaption);
        const int64_t cx = e.cx, cy = e.cy;
        const std::vector<Rect> rects = {
            {0, (kH - e.cy) / 2, kW, kH},
            {int32_t(-cx / 2), 0, int32_t(cx / 2), int32_t(cy)},           // left edge
            {int32_t(kW - cx / 2), 0, int32_t(kW + cx / 2), int32_t(cy)},  // right edge
            {0, int32_t(-cy / 2), kW, kH},                                 // top edge
            {0, int32_t(kH - cy / 2), kW, kH + 10},                        // bottom edge
            {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
            {INT32_MAX - 5, INT32_MAX - 5, INT32_MAX, INT32_MAX},
            {INT32_MIN, 0, INT32_MIN + 10, 10},
        };
        for (const Rect& rect : rects) {
            for (bool antialiased : {false, true}) {
                std::vector<uint8_t> buffer(size_t(kStride) * (kH + 2 * kPad), 0);
                CoverageView view{buffer.data() + kPad * kStride + kPad, kW, kH, kStride};
                font->DrawCoverage(std::string(kCaption) + "\xC3\x96W", rect, view, antialiased);
                for (int32_t y = 0; y < kH + 2 * kPad; ++y)
                    for (int32_t x = 0; x < kStride; ++x) {
                        const bool inside =
                            x >= kPad && x < kPad + kW && y >= kPad && y < kPad + kH;
                        if (!inside) {
                            ASSERT_EQ(buffer[size_t(y) * kStride + x], 0) << x << "," << y;
                        }
                    }
            }
        }
        // Text straddling the left edge shows its cut part.
        Coverage left(kW, kH);
        font->DrawCoverage(kCaption, rects[1], left.View(), true);
        if (height == -64) {
            EXPECT_GT(left.Inked(), 100u);
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (test::TimeBudgetsHeld()) {
        EXPECT_LT(seconds, 2.0);
    }
}

TEST(TextDrawing, DrawLineIsBlackOnWhiteBottomUp) {
    auto font = Arial(-16, 700);
    constexpr int32_t kW = 174, kH = 74, kRowBytes = 528;          // padded rows, as in a DIB
    std::vector<uint8_t> bits(size_t(kRowBytes) * (kH + 1), 255);  // one guard row above
    const Rect rect{0, 20, kW, 40};
    font->DrawLine(kCaption, rect, {bits.data(), kW, kH, kRowBytes});
    const Coverage want = Draw(*font, kCaption, rect, kW, kH, false);
    ASSERT_GT(want.Inked(), 100u);
    for (int32_t y = 0; y < kH; ++y)
        for (int32_t x = 0; x < kW; ++x) {
            const uint8_t* p = &bits[size_t(kH - 1 - y) * kRowBytes + size_t(x) * 3];
            ASSERT_EQ(255 - p[0], want.At(x, y)) << x << "," << y;
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[0], p[2]);
        }
    for (size_t i = kW * 3; i < kRowBytes; ++i) EXPECT_EQ(bits[i], 255);  // row padding
    for (size_t i = size_t(kRowBytes) * kH; i < bits.size(); ++i) EXPECT_EQ(bits[i], 255);
}

TEST(TextDrawing, NonAsciiDrawsAndBadBytesDoNotCrash) {
    auto font = Arial(-32);
    const std::string text =
        "Gr\xC3\xB6\xC3\x9F"
        "e \xE2\x82\xAC";  // "Größe €"
    const std::string replacement = "\xEF\xBF\xBD";
    for (const char* character : {"\xC3\xB6", "\xC3\x9F", "\xE2\x82\xAC", "\xC3\x89"}) {
        const Coverage got = Draw(*font, character, {0, 0, 60, 50}, 60, 50, true);
        const Coverage unknown = Draw(*font, replacement, {0, 0, 60, 50}, 60, 50, true);
        EXPECT_GT(got.Inked(), 20u) << character;
        EXPECT_NE(got.bytes, unknown.bytes) << character;
    }
    EXPECT_GT(font->Extent(text).cx, font->Extent("Gre ").cx);
    // Each malformed byte stands for one replacement character.
    EXPECT_EQ(font->Extent("\xFF").cx, font->Extent(replacement).cx);
    EXPECT_EQ(font->Extent("a\xE2\x82z").cx,
              font->Extent("a" + replacement + replacement + "z").cx);
    std::string noise(255, '\0');
    for (size_t i = 0; i < noise.size(); ++i) noise[i] = char((i * 151 + 7) & 0xFF);
    EXPECT_GT(font->Extent(noise).cx, 0);
    Draw(*font, noise, {0, 0, 174, 74}, 174, 74, false);
    Draw(*font, noise, {0, 0, 696, 296}, 696, 296, true);
}

TEST(TextDrawing, EmptyTextAndEmptyViewsDrawNothing) {
    auto font = Arial();
    EXPECT_EQ(font->Extent("").cx, 0);
    EXPECT_EQ(Draw(*font, "", {0, 0, 174, 74}, 174, 74, false).Inked(), 0u);
    uint8_t byte = 0;
    font->DrawCoverage(kCaption, {0, 0, 174, 74}, {nullptr, 174, 74, 174}, false);
    font->DrawCoverage(kCaption, {0, 0, 174, 74}, {&byte, 0, 1, 1}, false);
    font->DrawCoverage(kCaption, {0, 0, 1, 1}, {&byte, 1, 1, 0}, false);  // stride too small
    font->DrawLine(kCaption, {0, 0, 1, 1}, {&byte, 1, 1, 1});             // rows too short
    EXPECT_EQ(byte, 0);
}

TEST(TextDrawing, FontsWorkOnManyThreadsAtOnce) {
    auto reference = [](int i) {
        auto font = Font::Create({-16 * (1 + i % 2), i % 3 ? 400 : 700, i % 2 == 1,
                                  i % 4 ? "Arial" : "Liberation Serif"});
        return Draw(*font, kCaption, {0, 0, 174, 74}, 174, 74, i % 2 == 0).bytes;
    };
    std::vector<std::vector<uint8_t>> want;
    for (int i = 0; i < 8; ++i) want.push_back(reference(i));
    std::vector<int> mismatches(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < 20; ++round)
                for (int i = 0; i < 8; ++i)
                    if (reference((i + t) % 8) != want[size_t((i + t) % 8)])
                        ++mismatches[size_t(t)];
        });
    }
    for (auto& thread : threads) thread.join();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(FontFamilies, SortedUniqueWithLiberationSansScalable) {
    const std::vector<FontFamily> families = EnumerateFontFamilies();
    auto lower = [](std::string s) {
        for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    bool found = false;
    for (size_t i = 0; i < families.size(); ++i) {
        if (families[i].name == "Liberation Sans") {
            found = true;
            EXPECT_EQ(families[i].type, kTrueTypeFontType);
        }
        EXPECT_TRUE(families[i].type == kTrueTypeFontType || families[i].type == kRasterFontType);
        if (i > 0) {
            EXPECT_LT(lower(families[i - 1].name), lower(families[i].name));
        }
    }
    EXPECT_TRUE(found);
}

// A glyph is rasterised once and its coverage reused wherever the pen puts
// it; near an edge it is rasterised again as far as the view reaches. Either
// way the result must be what a font that has drawn nothing yet produces.
TEST(TextDrawing, RememberedGlyphsDrawLikeFreshOnesAnywhere) {
    constexpr char kText[] = "Wgjy!";  // no letter twice: a fresh font draws each anew
    constexpr int32_t kW = 60, kH = 24;
    for (int32_t weight : {400, 700}) {
        for (bool italic : {false, true}) {
            auto warm = Arial(-16, weight, italic);
            const TextExtent e = warm->Extent(kText);
            for (bool antialiased : {false, true}) {
                Draw(*warm, kText, {0, 0, kW, kH}, kW, kH, antialiased);  // remembers them all
                for (int32_t x = -e.cx - 2; x <= kW + 2; x += 3) {
                    for (int32_t y = -e.cy - 1; y <= kH + 1; y += 4) {
                        const Rect at{x, y, x + e.cx, y + e.cy};
                        auto fresh = Arial(-16, weight, italic);
                        ASSERT_EQ(Draw(*warm, kText, at, kW, kH, antialiased).bytes,
                                  Draw(*fresh, kText, at, kW, kH, antialiased).bytes)
                            << weight << italic << antialiased << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}
