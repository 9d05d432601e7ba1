// A style may say where on its body the caption belongs (the tail of an
// arrow, the label beside a glyph): the caption is centred there, at every
// size, while a style that says nothing, or names its own middle, centres
// the caption exactly as before.
#include <gtest/gtest.h>

#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"
#include "tests/support/TestStyles.h"

using namespace tabora;

namespace {

constexpr int32_t kW = 100, kH = 30, kColumn = 60;

ButtonStyle Solid(Rect area) {
    ButtonStyle style;
    style.image.Allocate(kW, kH);
    for (int32_t y = 0; y < kH; ++y)
        for (int32_t x = 0; x < kW; ++x) style.image.At(x, y) = MakePixel(255, 40, 90, 200);
    style.stretchColumn = kColumn;
    style.captionArea = area;
    return style;
}

// The caption's mask for a style with `area` at `size`.
AlphaMask Mask(Rect area, int32_t size, bool antialias) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, Solid(area)));
    b.SetButtonSize(size);
    b.SetFontName("DejaVu Sans");
    b.SetAntialias(antialias);
    b.SetCaption("Mg");
    b.Render();
    return b.textMask();
}

int32_t Left(const AlphaMask& m) { return m.Bounds().left; }

}  // namespace

TEST(CaptionArea, NoAreaOrAMiddleAreaCentresAsBefore) {
    for (bool antialias : {false, true})
        for (int32_t size : {60, 133, 200, 201, 260, 1000}) {
            SCOPED_TRACE(testing::Message() << size << (antialias ? " antialiased" : ""));
            const AlphaMask none = Mask({}, size, antialias);
            ASSERT_FALSE(none.Bounds().IsEmpty());
            // Symmetric about the middle, and the whole picture.
            for (Rect area : {Rect{10, 4, 90, 26}, Rect{0, 0, kW, kH}, Rect{33, 0, 67, 30}}) {
                const AlphaMask same = Mask(area, size, antialias);
                EXPECT_TRUE(std::equal(none.Bytes(), none.Bytes() + size_t(kCanvasWidth) * kCanvasHeight,
                                       same.Bytes()));
            }
        }
}

TEST(CaptionArea, AnOffCentreAreaMovesTheCaptionToItsMiddle) {
    // The area starts 40 pixels in: its middle lies 20 right of the body's.
    const Rect area{40, 0, kW, kH};
    for (bool antialias : {false, true}) {
        SCOPED_TRACE(antialias);
        const int32_t natural = Left(Mask({}, 200, antialias));
        EXPECT_EQ(Left(Mask(area, 200, antialias)) - natural, 20);
        // Widened by 50 about a column inside the area: the area widens with
        // the body, its middle stays 20 right of the body's.
        EXPECT_EQ(Left(Mask(area, 300, antialias)) - Left(Mask({}, 300, antialias)), 20);
        // Shrunk to size 100 (by 0.707): 28 and 70 of a 70-pixel body.
        EXPECT_EQ(Left(Mask(area, 100, antialias)) - Left(Mask({}, 100, antialias)), 14);
        // Upwards and to the left as well.
        const Rect highLeft{0, 0, 50, 10};
        test::TestStyles styles;
        TaboraButton b(styles);
        b.SetStyleNumber(styles.Put(1, Solid(highLeft)));
        b.SetFontName("DejaVu Sans");
        b.SetAntialias(antialias);
        b.SetCaption("Mg");
        b.Render();
        const Rect moved = b.textMask().Bounds(), centred = Mask({}, 200, antialias).Bounds();
        EXPECT_EQ(moved.left - centred.left, -25);
        EXPECT_EQ(moved.top - centred.top, -10);
    }
}

TEST(CaptionArea, ASizeChangeRebuildsTheCaptionOnlyWhenItMoves) {
    test::TestStyles styles;
    TaboraButton b(styles);
    b.SetStyleNumber(styles.Put(1, Solid({40, 0, kW, kH})));
    b.SetFontName("DejaVu Sans");
    b.SetCaption("Mg");
    b.Render();
    const uint32_t built = b.BuildCount(TaboraButton::kTextLayer);
    const int32_t at200 = b.textMask().Bounds().left;
    // Widening keeps the area's middle where it was against the body's.
    b.SetButtonSize(300);
    b.Render();
    EXPECT_EQ(b.BuildCount(TaboraButton::kTextLayer), built);
    // Shrinking moves it.
    b.SetButtonSize(100);
    b.Render();
    EXPECT_EQ(b.BuildCount(TaboraButton::kTextLayer), built + 1);
    EXPECT_EQ(b.textMask().Bounds().left, at200 - 6);
    // And back.
    b.SetButtonSize(200);
    b.Render();
    EXPECT_EQ(b.textMask().Bounds().left, at200);
}

TEST(CaptionArea, TheCatalogueGivesEachLoadedStyleItsArea) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    int arrows = 0, wells = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i].IsHeading()) continue;
        const StyleRecipe& r = items[i].recipe;
        const bool arrow = r.shape == StyleShape::ArrowRight;
        const bool well = r.icon != StyleIcon::None && r.shape != StyleShape::Circle;
        if (!arrow && !well && i > 40) continue;
        SCOPED_TRACE(i + 1);
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->captionArea, items[i].caption.area);
        const int32_t middle2 = style->captionArea.left + style->captionArea.right;
        if (arrow) {
            // Clear of the point: left of the picture's middle by half of it.
            EXPECT_EQ(middle2, r.width - r.height / 2);
            ++arrows;
        } else if (well) {
            // Right of the glyph well.
            EXPECT_EQ(middle2, r.width + r.height);
            ++wells;
        } else {
            EXPECT_EQ(middle2, r.width);  // today's plain buttons: the middle
        }
    }
    EXPECT_GT(arrows, 0);
    EXPECT_GT(wells, 0);
}
