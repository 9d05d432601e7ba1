#include <gtest/gtest.h>

#include "io/MacStream.h"
#include "platform/Resources.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"

using namespace tabora;

// The embedded art against the catalogue: every style loads, has the size
// of its recipe, carries the catalogue's stretch values, and can be widened
// without a seam.
TEST(StyleResources, EveryStyleLoadsAndMatchesItsEntry) {
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        const CatalogueItem& item = items[size_t(n - 1)];
        if (item.IsHeading()) continue;
        SCOPED_TRACE(n);
        auto style = archive.Load(n);
        ASSERT_NE(style, nullptr);
        EXPECT_EQ(style->image.Width(), item.recipe.width);
        EXPECT_EQ(style->image.Height(), item.recipe.height);
        EXPECT_EQ(style->defaultStretch, item.entry.defaultStretch);
        EXPECT_EQ(style->stretchColumn, item.entry.stretchColumn);
        const int32_t c = style->stretchColumn;
        if (c < 0) continue;
        for (int32_t y = 0; y < style->image.Height(); ++y) {
            EXPECT_EQ(style->image.At(c - 1, y), style->image.At(c, y)) << "row " << y;
            EXPECT_EQ(style->image.At(c + 1, y), style->image.At(c, y)) << "row " << y;
        }
    }
}

TEST(StyleResources, EdgesCarryTheirOwnColourNotBlack) {
    // A partly covered pixel of a flat style has the fill colour itself:
    // straight alpha, no dark fringe on a light page.
    const Archive& archive = GetArchive();
    auto items = CatalogueItems();
    int checked = 0;
    for (size_t i = 0; i < items.size(); ++i) {
        const StyleRecipe& r = items[i].recipe;
        if (items[i].IsHeading() || r.material != StyleMaterial::Flat ||
            r.shape != StyleShape::Pill || r.icon != StyleIcon::None)
            continue;
        auto style = archive.Load(int32_t(i + 1));
        ASSERT_NE(style, nullptr);
        const uint32_t middle = style->image.At(style->image.Width() / 2, r.height / 2);
        for (int32_t y = 0; y < r.height; ++y) {
            for (int32_t x = 0; x < r.width; ++x) {
                const uint32_t p = style->image.At(x, y);
                if (PixelAlpha(p) == 0 || PixelAlpha(p) == 255) continue;
                EXPECT_NEAR(PixelRed(p), PixelRed(middle), 1);
                EXPECT_NEAR(PixelGreen(p), PixelGreen(middle), 1);
                EXPECT_NEAR(PixelBlue(p), PixelBlue(middle), 1);
            }
        }
        ++checked;
    }
    EXPECT_GT(checked, 0);
}

TEST(StyleResources, StraightEdgesAreCrisp) {
    // A flat rounded rectangle's straight edges fall on whole pixels: the
    // middle column is solid from the first row to the last.
    auto style = GetArchive().Load(1);
    ASSERT_NE(style, nullptr);
    const int32_t x = style->image.Width() / 2;
    EXPECT_EQ(PixelAlpha(style->image.At(x, 0)), 255);
    EXPECT_EQ(PixelAlpha(style->image.At(x, style->image.Height() - 1)), 255);
}

TEST(StyleResources, TwentySixStripTiles) {
    for (int i = 0; i < Archive::kTileCount; ++i) {
        ResourceBytes tile = Resources().FindRaw(Archive::kTileResourceBase + i);
        ASSERT_GE(tile.size(), 4u) << "tile " << i;
        // JPEG start-of-image marker.
        EXPECT_EQ(tile[0], 0xFF);
        EXPECT_EQ(tile[1], 0xD8);
    }
    EXPECT_TRUE(Resources().FindRaw(Archive::kTileResourceBase + Archive::kTileCount).empty());
}
