#include <gtest/gtest.h>

#include <climits>
#include <functional>

#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/TestStyles.h"

using namespace tabora;

namespace {

using B = TaboraButton;

std::unique_ptr<ButtonStyle> SolidStyle(int32_t w, int32_t h, int16_t stretchColumn,
                                        int16_t defaultStretch = 0) {
    auto style = std::make_unique<ButtonStyle>();
    style->image.Allocate(w, h);
    style->image.Fill(MakeColor(200, 40, 40));
    style->stretchColumn = stretchColumn;
    style->defaultStretch = defaultStretch;
    return style;
}

// The catalogue, with a plain body of the tests' own under one number.
constexpr int16_t kSolid = 900;
const test::TestStyles& Styles() {
    static const test::TestStyles styles = [] {
        test::TestStyles s(&GetArchive());
        s.Put(kSolid, *SolidStyle(60, 20, 5));
        return s;
    }();
    return styles;
}

// A button whose layers are all current (every layer needs a style and a
// caption).
void RenderAll(TaboraButton& b) {
    if (!b.style()) b.SetStyleNumber(kSolid);
    b.SetCaption("Ok");
    b.Render();
    ASSERT_EQ(b.validLayers(), B::kAllLayers);
}

struct SetterCase {
    const char* name;
    std::function<bool(TaboraButton&)> same;    // stores the value already there
    std::function<bool(TaboraButton&)> change;  // stores another value
    uint8_t cleared;
};

}  // namespace

TEST(ButtonSettings, SettersCompareAndClearOnlyTheirLayers) {
    const uint8_t caption = B::kCanvasLayer | B::kTextLayer | B::kTextShadowLayer;
    const SetterCase cases[] = {
        {"size", [](B& b) { return b.SetButtonSize(200); },
         [](B& b) { return b.SetButtonSize(150); },
         B::kCanvasLayer | B::kBodyLayer | B::kShadowLayer | B::kTintedLayer},
        {"hue", [](B& b) { return b.SetHueShift(0); }, [](B& b) { return b.SetHueShift(9); },
         B::kCanvasLayer | B::kTintedLayer},
        {"brightness", [](B& b) { return b.SetBrightness(0); },
         [](B& b) { return b.SetBrightness(-9); }, B::kCanvasLayer | B::kTintedLayer},
        {"font size", [](B& b) { return b.SetFontSize(12); },
         [](B& b) { return b.SetFontSize(14); }, caption},
        {"font style", [](B& b) { return b.SetFontStyle(0x40); },
         [](B& b) { return b.SetFontStyle(0x21); }, caption},
        {"shadow", [](B& b) { return b.SetShadow(true); },
         [](B& b) { return b.SetShadow(false); }, B::kCanvasLayer},
        {"antialias", [](B& b) { return b.SetAntialias(false); },
         [](B& b) { return b.SetAntialias(true); }, caption},
        {"text shadow", [](B& b) { return b.SetTextShadow(true); },
         [](B& b) { return b.SetTextShadow(false); }, B::kCanvasLayer},
        {"shadow area on", [](B& b) { return b.SetIncludeShadowArea(false); },
         [](B& b) { return b.SetIncludeShadowArea(true); }, B::kCanvasLayer | B::kShadowLayer},
    };
    for (const SetterCase& c : cases) {
        TaboraButton b(Styles());
        RenderAll(b);
        EXPECT_FALSE(c.same(b)) << c.name;
        EXPECT_EQ(b.validLayers(), B::kAllLayers) << c.name;
        EXPECT_TRUE(c.change(b)) << c.name;
        EXPECT_EQ(b.validLayers(), B::kAllLayers & ~c.cleared) << c.name;
    }

    // Switching the shadow area off clears nothing.
    TaboraButton b(Styles());
    b.SetIncludeShadowArea(true);
    RenderAll(b);
    EXPECT_TRUE(b.SetIncludeShadowArea(false));
    EXPECT_EQ(b.validLayers(), B::kAllLayers);
}

TEST(ButtonSettings, DirectUpdatesClearEvenWithTheSameValue) {
    TaboraButton b(Styles());
    RenderAll(b);
    b.SetTextColor(b.settings().textColor);
    EXPECT_EQ(b.validLayers(), B::kAllLayers & ~B::kCanvasLayer);
    b.Render();
    b.SetBackgroundColor(b.settings().backgroundColor);
    EXPECT_EQ(b.validLayers(), B::kAllLayers & ~B::kCanvasLayer);

    const uint8_t caption = B::kCanvasLayer | B::kTextLayer | B::kTextShadowLayer;
    b.Render();
    b.SetCaption("Ok");
    EXPECT_EQ(b.validLayers(), B::kAllLayers & ~caption);
    b.Render();
    b.SetFontName("Arial");
    EXPECT_EQ(b.validLayers(), B::kAllLayers & ~caption);
    b.Render();
    b.SetTextOffset({0, 0});
    EXPECT_EQ(b.validLayers(), B::kAllLayers & ~caption);

    // Export options touch no layer.
    b.Render();
    b.SetRemoveBackground(true);
    b.SetJpegQuality(50);
    EXPECT_EQ(b.validLayers(), B::kAllLayers);
}

TEST(ButtonSettings, SettersKeepValuesTheControlsCouldProduce) {
    TaboraButton b(Styles());
    b.SetHueShift(INT_MIN);
    EXPECT_EQ(b.settings().hueShift, 0);
    b.SetHueShift(INT_MAX);
    EXPECT_EQ(b.settings().hueShift, 4096);
    b.SetBrightness(INT_MIN);
    EXPECT_EQ(b.settings().brightness, -205);
    b.SetFontSize(INT16_MIN);
    EXPECT_EQ(b.settings().fontSize, -300);
    b.SetTextOffset({INT_MIN, INT_MAX});
    EXPECT_EQ(b.settings().textOffset, (Point{-1000, 1000}));
    b.SetJpegQuality(-1);
    EXPECT_EQ(b.settings().jpegQuality, 0);
    b.SetButtonSize(INT_MIN);
    EXPECT_EQ(b.settings().buttonSize, 19);  // what an old file's 20 reads as
    b.SetButtonSize(INT_MAX);
    EXPECT_EQ(b.settings().buttonSize, 200);  // no style: nothing to widen
    b.SetCaption(std::string(300, 'W'));
    EXPECT_EQ(b.settings().caption.size(), 255u);
}

TEST(ButtonSettings, StyleSelectionReloadsOnlyOnANewNumber) {
    TaboraButton b(Styles());
    EXPECT_FALSE(b.SetStyleNumber(0));
    // Numbers outside the catalogue are no style.
    EXPECT_FALSE(b.SetStyleNumber(931));
    EXPECT_FALSE(b.SetStyleNumber(-5));
    EXPECT_EQ(b.settings().styleNumber, 0);

    int16_t n = 0;
    for (int16_t i = 1; i <= Archive::kEntryCount && n == 0; ++i) {
        if (GetArchive().Load(i)) n = i;
    }
    if (n == 0) GTEST_SKIP() << "no style data linked";
    RenderAll(b);
    EXPECT_TRUE(b.SetStyleNumber(n));
    EXPECT_EQ(b.validLayers(), 0);
    const ButtonStyle* loaded = b.style();
    ASSERT_NE(loaded, nullptr);
    b.Render();
    EXPECT_FALSE(b.SetStyleNumber(n));
    EXPECT_EQ(b.style(), loaded);
    EXPECT_EQ(b.validLayers(), B::kAllLayers);
    EXPECT_TRUE(b.SetStyleNumber(0));
    EXPECT_EQ(b.style(), nullptr);
    EXPECT_EQ(b.validLayers(), 0);
}

TEST(ButtonSettings, WideningLimitsFollowTheStyle) {
    test::TestStyles styles;
    TaboraButton b(styles);
    EXPECT_EQ(b.MaxExtraWidth(), 0);
    EXPECT_EQ(b.DefaultButtonSize(), 200);
    b.SetStyleNumber(styles.Put(1, *SolidStyle(100, 30, 40, 12)));
    EXPECT_EQ(b.MaxExtraWidth(), 66);
    EXPECT_EQ(b.DefaultButtonSize(), 224);
    EXPECT_TRUE(b.SetButtonSize(332));
    EXPECT_FALSE(b.SetButtonSize(333));  // past the slider's end
    EXPECT_EQ(b.settings().buttonSize, 332);

    b.SetStyleNumber(styles.Put(2, *SolidStyle(100, 30, -1, 12)));
    EXPECT_EQ(b.MaxExtraWidth(), 0);
    // A fixed style still gets its own starting size, which is also its
    // largest: the widened size of the style before comes down to it, as
    // opening these settings would give.
    EXPECT_EQ(b.MaxButtonSize(), 224);
    EXPECT_EQ(b.settings().buttonSize, 224);
    EXPECT_FALSE(b.SetButtonSize(b.DefaultButtonSize()));

    // A stretch column outside the image, or an image wider than a widened
    // body may be, cannot be widened.
    b.SetStyleNumber(styles.Put(3, *SolidStyle(100, 30, 100)));
    EXPECT_EQ(b.MaxExtraWidth(), 0);
    b.SetStyleNumber(styles.Put(4, *SolidStyle(170, 30, 3)));
    EXPECT_EQ(b.MaxExtraWidth(), 0);
}
