#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/TestStyles.h"

using namespace tabora;

namespace {

using B = TaboraButton;
constexpr uint32_t kWhite = 0xFFFFFFFFu;  // opaque white pixel
constexpr uint32_t kRed = 0x0000FFFFu;    // opaque pure red: survives the HSV round trip

// A style whose pixel (x, y) tells where it came from: red = x, green = y.
std::unique_ptr<ButtonStyle> GradientStyle(int32_t w, int32_t h, int16_t stretchColumn,
                                           int16_t defaultStretch = 0) {
    auto style = std::make_unique<ButtonStyle>();
    style->image.Allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) style->image.At(x, y) = MakePixel(255, uint8_t(x), uint8_t(y), 7);
    style->stretchColumn = stretchColumn;
    style->defaultStretch = defaultStretch;
    return style;
}

std::unique_ptr<ButtonStyle> RedStyle(int32_t w, int32_t h) {
    auto style = std::make_unique<ButtonStyle>();
    style->image.Allocate(w, h);
    std::fill_n(style->image.Pixels(), size_t(w) * size_t(h), kRed);
    return style;
}

// Which source column each body column shows (red channel of the gradient).
std::vector<int> BodyColumns(const TaboraButton& b) {
    std::vector<int> columns;
    for (int32_t x = 0; x < b.bodyRect().right; ++x) columns.push_back(PixelRed(b.bodyImage().At(x, 0)));
    return columns;
}

std::vector<int> Range(int from, int to) {
    std::vector<int> v;
    for (int i = from; i < to; ++i) v.push_back(i);
    return v;
}

}  // namespace

TEST(ButtonRender, FreshButtonIsBackgroundWithFrameCornersAndA10x10Export) {
    TaboraButton b(GetArchive());
    b.PrepareExport();
    ArgbImage expected(174, 74);
    expected.Fill(0xFFFFFF);
    ArgbImage frame;
    if (frame.LoadFromResources("waoverlayi", "waoverlaym") == ArgbImage::Load::Loaded) {
        ASSERT_EQ(frame.Width(), 192);
        ASSERT_EQ(frame.Height(), 92);
        frame.CompositeOver(expected, Rect{9, 9, 183, 83}, Rect{0, 0, 174, 74});
        // The corner pieces are really there, and the middle is untouched.
        EXPECT_NE(b.canvas().At(0, 0), kWhite);
    }
    EXPECT_TRUE(std::equal(expected.Pixels(), expected.Pixels() + 174 * 74, b.canvas().Pixels()));
    EXPECT_EQ(b.canvas().At(87, 37), kWhite);
    EXPECT_EQ(b.exportRect(), (Rect{82, 32, 92, 42}));
    EXPECT_EQ(b.validLayers(), B::kCanvasLayer);  // no style, no caption: nothing else built
}

TEST(ButtonRender, SizeShrinksKeepsOrWidensTheBody) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, *GradientStyle(40, 10, 10, 10)));
    b.Render();
    EXPECT_EQ(b.bodyRect(), (Rect{0, 0, 40, 10}));
    EXPECT_EQ(BodyColumns(b), Range(0, 40));
    EXPECT_EQ(b.bodyImage().At(40, 0), 0u);
    EXPECT_EQ(b.bodyImage().At(0, 10), 0u);

    // 201: half a pixel of widening truncates to none.
    b.SetButtonSize(201);
    b.Render();
    EXPECT_EQ(BodyColumns(b), Range(0, 40));

    // 210: column 10 occurs 6 times, the rest keep their pixels.
    b.SetButtonSize(210);
    b.Render();
    std::vector<int> widened = Range(0, 10);
    widened.insert(widened.end(), 6, 10);
    for (int x = 11; x < 40; ++x) widened.push_back(x);
    EXPECT_EQ(BodyColumns(b), widened);
    EXPECT_EQ(b.bodyRect(), (Rect{0, 0, 45, 10}));

    // 50: the linear factor sqrt(50 x 50) x 0.01 = 0.5.
    b.SetButtonSize(50);
    b.Render();
    EXPECT_EQ(b.bodyRect(), (Rect{0, 0, 20, 5}));
    // An area average of an opaque gradient stays opaque and ordered.
    EXPECT_EQ(PixelAlpha(b.bodyImage().At(19, 4)), 255);
    EXPECT_LT(PixelRed(b.bodyImage().At(3, 0)), PixelRed(b.bodyImage().At(4, 0)));
    EXPECT_EQ(b.bodyImage().At(20, 0), 0u);

    // A fixed style above 200 (its own starting size) is left as it is.
    b.SetStyleNumber(styles.Put(2, *GradientStyle(40, 10, -1, 10)));
    ASSERT_TRUE(b.SetButtonSize(220));
    b.Render();
    EXPECT_EQ(b.bodyRect(), (Rect{0, 0, 40, 10}));
    EXPECT_EQ(BodyColumns(b), Range(0, 40));
}

TEST(ButtonRender, OddWidthBodyIsCentredWithTruncation) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, *RedStyle(101, 20)));
    b.SetShadow(false);
    b.Render();
    const int32_t y = (74 - 20) / 2;
    EXPECT_EQ(b.canvas().At(35, y), kWhite);
    EXPECT_EQ(b.canvas().At(36, y), kRed);
    EXPECT_EQ(b.canvas().At(136, y + 19), kRed);
    EXPECT_EQ(b.canvas().At(137, y), kWhite);
    EXPECT_EQ(b.canvas().At(36, y - 1), kWhite);
    EXPECT_EQ(b.canvas().At(36, y + 20), kWhite);
}

TEST(ButtonRender, ShadowAreaWithoutShadowIsExportedButNotDrawn) {
    test::TestStyles styles;
    // A 60 x 20 body sits at (57, 27); its shadow falls one right, two down,
    // softened by two pixels.
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, *RedStyle(60, 20)));
    b.SetShadow(false);
    b.PrepareExport();
    EXPECT_EQ(b.exportRect(), (Rect{56, 26, 118, 48}));

    b.SetIncludeShadowArea(true);
    b.PrepareExport();
    EXPECT_EQ(b.exportRect(), (Rect{55, 26, 121, 52}));
    for (int32_t y = 47; y < 52; ++y)
        for (int32_t x = 55; x < 121; ++x) ASSERT_EQ(b.canvas().At(x, y), kWhite) << x << "," << y;

    // Drawn, the shadow is at most 40 % black.
    b.SetShadow(true);
    b.PrepareExport();
    EXPECT_EQ(b.exportRect(), (Rect{55, 26, 121, 52}));
    const uint8_t* m = b.shadowMask().Bytes();
    EXPECT_EQ(*std::max_element(m, m + 174 * 74), 102);
    // Just below the body 4 of the 5 rows are covered: 5100 x 40 / 2500 = 81.
    EXPECT_EQ(b.shadowMask().At(90, 47), 81);
    EXPECT_EQ(b.canvas().At(90, 47), MakePixel(255, 174, 174, 174));
}

TEST(ButtonRender, AChangeRebuildsOnlyTheLayersThatDependOnIt) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, *RedStyle(60, 20)));
    b.SetCaption("Hello");
    b.Render();
    auto counts = [&] {
        std::vector<uint32_t> c;
        for (uint8_t bit = 1; bit <= B::kTextShadowLayer; bit <<= 1) c.push_back(b.BuildCount(bit));
        return c;
    };
    EXPECT_EQ(counts(), (std::vector<uint32_t>{1, 1, 1, 1, 1, 1}));

    // Colours and check boxes only recompose the canvas.
    const AlphaMask text = b.textMask();
    b.SetBackgroundColor(0x000000);
    b.SetTextColor(MakeColor(0, 0, 255));
    b.SetShadow(false);
    b.SetTextShadow(false);
    b.Render();
    EXPECT_EQ(counts(), (std::vector<uint32_t>{2, 1, 1, 1, 1, 1}));
    EXPECT_EQ(b.canvas().At(87, 5), 0x000000FFu);
    const uint8_t* m = b.textMask().Bytes();
    EXPECT_TRUE(std::equal(m, m + 174 * 74, text.Bytes()));
    const size_t solid = size_t(std::find(m, m + 174 * 74, 255) - m);
    ASSERT_LT(solid, size_t(174 * 74));
    EXPECT_EQ(b.canvas().Pixels()[solid], MakePixel(255, 0, 0, 255));

    b.SetHueShift(1364);  // red turns green
    b.Render();
    EXPECT_EQ(counts(), (std::vector<uint32_t>{3, 1, 1, 2, 1, 1}));
    EXPECT_EQ(b.canvas().At(60, 28), MakePixel(255, 0, 255, 0));

    // Without shadow or shadow area the shadow mask is not rebuilt at all.
    b.SetButtonSize(150);
    b.Render();
    EXPECT_EQ(counts(), (std::vector<uint32_t>{4, 2, 1, 3, 1, 1}));
}

TEST(ButtonRender, ComposeLayersGivesTheButtonWithoutBackground) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, *RedStyle(60, 20)));
    ArgbImage clear;  // any size: made canvas-sized and clear first
    b.ComposeLayers(clear);
    ASSERT_EQ(clear.Width(), 174);
    EXPECT_EQ(clear.At(0, 0), 0u);
    EXPECT_EQ(clear.At(87, 37), kRed);
    // The shadow's black with its own coverage below the body.
    EXPECT_EQ(clear.At(90, 47), MakePixel(81, 0, 0, 0));
}

TEST(ButtonRender, OddStylesAndSizesStayInsideTheCanvas) {
    test::TestStyles styles;
    struct Case {
        int32_t w, h;
        int16_t column, defaultStretch;
    };
    for (Case c : {Case{300, 120, 5, 32767}, Case{174, 74, 0, 100}, Case{1, 1, 0, -100},
                   Case{0, 0, 0, 0}, Case{166, 74, 165, 0}}) {
        TaboraButton b(styles);
        b.SetStyleNumber(styles.Put(1, *GradientStyle(c.w, c.h, c.column, c.defaultStretch)));
        b.SetButtonSize(b.DefaultButtonSize());
        b.SetCaption("Wide");
        b.PrepareExport();
        const Rect canvas{0, 0, 174, 74};
        EXPECT_EQ(b.exportRect().Intersect(canvas), b.exportRect()) << c.w;
        EXPECT_EQ(b.bodyRect().Intersect(canvas), b.bodyRect()) << c.w;
        b.SetButtonSize(20);
        b.PrepareExport();
        EXPECT_EQ(b.bodyRect().Intersect(canvas), b.bodyRect()) << c.w;
    }
}

// The canvas after any sequence of changes, each rendered as the preview
// does, is the canvas a new button renders from the same settings at once:
// nothing kept between renders (layers, the caption-less canvas, drawn
// glyphs) may go stale. Checked after every change, since a stale layer may
// be rebuilt by the very next one; and a button brought to the same settings
// by ApplySettings, as opening a file and the batches do, agrees too.
TEST(ButtonRender, IncrementalRendersMatchAFreshButton) {
    std::vector<int16_t> styles;
    for (int16_t n = 1; n <= Archive::kEntryCount && styles.size() < 3; n += 97) {
        if (GetArchive().HasStyleData(n)) styles.push_back(n);
    }
    ASSERT_FALSE(styles.empty());
    using Change = std::function<void(TaboraButton&)>;
    std::mt19937 rng(44);
    auto pick = [&](int n) { return int32_t(rng() % uint32_t(n)); };
    std::vector<Change> applied;
    TaboraButton live(GetArchive());
    TaboraButton applying(GetArchive());
    for (int step = 0; step < 300; ++step) {
        Change change;
        switch (pick(14)) {
            case 0: { const int16_t s = styles[size_t(pick(int(styles.size())))];
                      change = [s](TaboraButton& b) { b.SetStyleNumber(s); }; break; }
            case 1: { const std::string c = pick(5) ? "Item " + std::to_string(pick(40)) : "";
                      change = [c](TaboraButton& b) { b.SetCaption(c); }; break; }
            case 2: { const Color c = Color(rng()) & 0xFFFFFF;
                      change = [c](TaboraButton& b) { b.SetTextColor(c); }; break; }
            case 3: { const Color c = Color(rng()) & 0xFFFFFF;
                      change = [c](TaboraButton& b) { b.SetBackgroundColor(c); }; break; }
            case 4: { const bool on = pick(2);
                      change = [on](TaboraButton& b) { b.SetShadow(on); }; break; }
            case 5: { const bool on = pick(2);
                      change = [on](TaboraButton& b) { b.SetTextShadow(on); }; break; }
            case 6: { const int32_t h = pick(4097);
                      change = [h](TaboraButton& b) { b.SetHueShift(h); }; break; }
            case 7: { const int32_t v = pick(411) - 205;
                      change = [v](TaboraButton& b) { b.SetBrightness(v); }; break; }
            case 8: { const int32_t s = 20 + pick(300);
                      change = [s](TaboraButton& b) { b.SetButtonSize(s); }; break; }
            case 9: { const bool on = pick(2);
                      change = [on](TaboraButton& b) { b.SetAntialias(on); }; break; }
            case 10: { const Point p{pick(21) - 10, pick(11) - 5};
                       change = [p](TaboraButton& b) { b.SetTextOffset(p); }; break; }
            case 11: { const auto points = int16_t(8 + pick(20));
                       change = [points](TaboraButton& b) { b.SetFontSize(points); }; break; }
            case 12: { const uint32_t style = kFontBold * uint32_t(pick(2)) | kFontItalic * uint32_t(pick(2));
                       change = [style](TaboraButton& b) { b.SetFontStyle(style); }; break; }
            default: { const bool on = pick(2);
                       change = [on](TaboraButton& b) { b.SetIncludeShadowArea(on); }; break; }
        }
        change(live);
        applied.push_back(change);
        live.PrepareExport();
        TaboraButton fresh(GetArchive());
        for (const Change& c : applied) c(fresh);
        fresh.PrepareExport();
        ASSERT_TRUE(std::equal(live.canvas().Pixels(), live.canvas().Pixels() + 174 * 74,
                               fresh.canvas().Pixels()))
            << "step " << step;
        ASSERT_EQ(live.exportRect(), fresh.exportRect()) << "step " << step;
        applying.ApplySettings(live.settings());
        applying.PrepareExport();
        ASSERT_TRUE(std::equal(live.canvas().Pixels(), live.canvas().Pixels() + 174 * 74,
                               applying.canvas().Pixels()))
            << "step " << step;
    }
}
