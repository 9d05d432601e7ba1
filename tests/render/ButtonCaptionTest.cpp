#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

using B = TaboraButton;

AlphaMask CaptionMask(bool antialias, Point offset, const std::string& text = "Hello") {
    TaboraButton b(GetArchive());
    b.SetCaption(text);
    b.SetAntialias(antialias);
    b.SetTextOffset(offset);
    b.Render();
    return b.textMask();
}

bool Empty(const AlphaMask& m) { return m.Bounds().IsEmpty(); }

}  // namespace

TEST(ButtonCaption, FontRecordFromSizeStyleAndName) {
    TaboraButton b(GetArchive());
    FontRecord r = b.CaptionFontRecord();
    EXPECT_EQ(r.height, -16);  // 12 points at 96 pixels per inch
    EXPECT_EQ(r.weight, 400);
    EXPECT_FALSE(r.italic);
    EXPECT_EQ(r.faceName, "Arial");
    b.SetAntialias(true);
    EXPECT_EQ(b.CaptionFontRecord().height, -64);

    b.SetFontStyle(kFontBold | kFontItalic);
    r = b.CaptionFontRecord();
    EXPECT_EQ(r.weight, 700);
    EXPECT_TRUE(r.italic);
    b.SetFontStyle(0);  // regular as stored data gives it
    EXPECT_EQ(b.CaptionFontRecord().weight, 400);

    // A raster font's negative size becomes a positive cell height.
    b.SetAntialias(false);
    b.SetFontSize(-13);
    EXPECT_EQ(b.CaptionFontRecord().height, 17);

    // Only 31 bytes of the name reach the record, never half a character.
    b.SetFontName(std::string(30, 'a') + "é");
    EXPECT_EQ(b.CaptionFontRecord().faceName, std::string(30, 'a'));
    EXPECT_EQ(b.settings().fontName.size(), 32u);
}

TEST(ButtonCaption, PlainIsCrispAndAntialiasedIsSmoothInTheSamePlace) {
    AlphaMask plain = CaptionMask(false, {});
    AlphaMask smooth = CaptionMask(true, {});
    ASSERT_FALSE(Empty(plain));
    ASSERT_FALSE(Empty(smooth));
    std::set<int> plainValues(plain.Bytes(), plain.Bytes() + 174 * 74);
    EXPECT_EQ(plainValues, (std::set<int>{0, 255}));
    std::set<int> smoothValues(smooth.Bytes(), smooth.Bytes() + 174 * 74);
    EXPECT_GT(smoothValues.size(), 10u);

    // Both centred on the canvas; glyph shapes differ, the place does not.
    const Rect p = plain.Bounds(), s = smooth.Bounds();
    EXPECT_NEAR(p.left, s.left, 2);
    EXPECT_NEAR(p.right, s.right, 2);
    EXPECT_NEAR(p.top, s.top, 2);
    EXPECT_NEAR(p.bottom, s.bottom, 2);
    EXPECT_NEAR((p.left + p.right) / 2, 87, 2);
    EXPECT_NEAR((p.top + p.bottom) / 2, 37, 3);
}

TEST(ButtonCaption, OffsetMovesWholeCanvasPixelsInBothModes) {
    for (bool antialias : {false, true}) {
        const AlphaMask centred = CaptionMask(antialias, {});
        const AlphaMask moved = CaptionMask(antialias, {3, -2});
        ASSERT_FALSE(Empty(centred));
        // 12 and 8 work pixels when antialiased: whole 4 x 4 blocks, so the
        // reduced picture is the same one, three right and two up.
        for (int32_t y = 0; y < 72; ++y)
            for (int32_t x = 3; x < 174; ++x)
                ASSERT_EQ(moved.At(x, y), centred.At(x - 3, y + 2))
                    << antialias << " " << x << "," << y;
        EXPECT_EQ(moved.Bounds(), centred.Bounds().Offset(3, -2)) << antialias;
    }
}

TEST(ButtonCaption, ShadowFollowsOneRightTwoDownAtMost60Percent) {
    TaboraButton b(GetArchive());
    b.SetCaption("Hello");
    b.SetFontSize(36);
    b.SetFontStyle(kFontBold);
    b.Render();
    const Rect text = b.textMask().Bounds(), shadow = b.textShadowMask().Bounds();
    // The 3 x 3 box spreads one pixel each way around the moved caption.
    EXPECT_EQ(shadow, (Rect{text.left, text.top + 1, text.right + 2, text.bottom + 3}));
    const uint8_t* m = b.textShadowMask().Bytes();
    EXPECT_EQ(*std::max_element(m, m + 174 * 74), 153);
}

TEST(ButtonCaption, FarOffsetsAndHugeSizesAreCutAtTheCanvas) {
    for (bool antialias : {false, true}) {
        EXPECT_TRUE(Empty(CaptionMask(antialias, {1000, 0})));
        EXPECT_TRUE(Empty(CaptionMask(antialias, {0, -1000})));
        TaboraButton b(GetArchive());
        b.SetCaption(std::string(255, 'W'));
        b.SetFontSize(300);
        b.SetAntialias(antialias);
        b.PrepareExport();
        EXPECT_FALSE(Empty(b.textMask()));
        EXPECT_EQ(b.exportRect().Intersect(Rect{0, 0, 174, 74}), b.exportRect());
        EXPECT_EQ(b.exportRect().top, 0);  // a glyph taller than the canvas
        EXPECT_EQ(b.exportRect().bottom, 74);
    }
}

TEST(ButtonCaption, EmojiKeepTheirColoursAndCastTheShadow) {
    for (bool antialias : {false, true}) {
        TaboraButton b(GetArchive());
        b.SetCaption("\xF0\x9F\x8E\x89");  // a party popper alone
        b.SetAntialias(antialias);
        b.SetTextShadow(true);
        b.SetTextColor(MakeColor(0, 0, 0));
        b.Render();
        ASSERT_TRUE(b.hasColourText()) << antialias;
        const Rect colour = b.textColour().Bounds();
        EXPECT_FALSE(colour.IsEmpty());
        EXPECT_EQ(b.textBounds(), colour);  // nothing drawn through the text colour
        // The shadow comes from the emoji's alpha, one right and two down.
        const Rect shadow = b.textShadowMask().Bounds();
        EXPECT_EQ(shadow, (Rect{colour.left, colour.top + 1, colour.right + 2, colour.bottom + 3}));
        // The canvas shows colours, not the black text colour.
        std::set<uint32_t> colours;
        for (int32_t y = colour.top; y < colour.bottom; ++y) {
            for (int32_t x = colour.left; x < colour.right; ++x)
                colours.insert(b.canvas().At(x, y));
        }
        EXPECT_GT(colours.size(), 10u) << antialias;
        // Straight alpha in the layer, as every image.
        for (int32_t y = colour.top; y < colour.bottom; ++y) {
            for (int32_t x = colour.left; x < colour.right; ++x) {
                const uint32_t p = b.textColour().At(x, y);
                if (!antialias) {
                    ASSERT_TRUE((p & 0xFF) == 0 || (p & 0xFF) == 255);
                }
            }
        }
    }
    // A caption without colour glyphs leaves the layer out of the picture.
    TaboraButton plain(GetArchive());
    plain.SetCaption("Hello");
    plain.Render();
    EXPECT_FALSE(plain.hasColourText());
}

TEST(ButtonCaption, ReportsCharactersNoFontHas) {
    TaboraButton b(GetArchive());
    EXPECT_TRUE(b.MissingCaptionCharacters().empty());
    b.SetCaption("Shop \xE4\xB8\xAD \xF1\x90\x80\x80\xF1\x90\x80\x81");  // 中, two unassigned
    EXPECT_EQ(b.MissingCaptionCharacters(), (std::vector<char32_t>{0x50000, 0x50001}));
    b.SetCaption("Shop \xE4\xB8\xAD");
    EXPECT_TRUE(b.MissingCaptionCharacters().empty());
}
