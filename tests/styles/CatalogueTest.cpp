#include <gtest/gtest.h>

#include <set>

#include "platform/Resources.h"
#include "styles/Archive.h"
#include "styles/Catalogue.h"

using namespace tabora;

namespace {

Rect RectOf(const ArchiveEntry& e) { return {e.left, e.top, e.right, e.bottom}; }

}  // namespace

TEST(Catalogue, HasEveryEntryAndEnoughStyles) {
    // The plan must fill the fixed table exactly; a longer or shorter plan
    // would silently lose or invent entries.
    EXPECT_EQ(CataloguePlan().size(), size_t(Archive::kEntryCount));
    ASSERT_EQ(CatalogueItems().size(), size_t(Archive::kEntryCount));
    int styles = 0;
    for (const CatalogueItem& item : CatalogueItems()) {
        if (item.IsHeading()) {
            EXPECT_FALSE(item.heading.empty()) << "an entry without data must be a heading";
        } else {
            ++styles;
        }
    }
    EXPECT_GE(styles, 900);
}

TEST(Catalogue, FirstTwoEntriesKeepTheirPlaces) {
    const Archive& archive = GetArchive();
    const ArchiveEntry* first = archive.Entry(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->top, 8);
    EXPECT_EQ(first->left, 4);
    EXPECT_EQ(first->bottom, 38);
    EXPECT_EQ(first->right, 148);
    EXPECT_EQ(first->resourceNumber, 128);
    EXPECT_EQ(first->defaultStretch, 16);
    EXPECT_EQ(first->stretchColumn, 77);

    const ArchiveEntry* second = archive.Entry(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->top, 6);
    EXPECT_EQ(second->left, 158);
    EXPECT_EQ(second->bottom, 37);
    EXPECT_EQ(second->right, 189);
    EXPECT_EQ(second->resourceNumber, 129);
    EXPECT_EQ(second->defaultStretch, 0);
    EXPECT_EQ(second->stretchColumn, -1);
}

TEST(Catalogue, RectanglesLieInTheVisibleStripWithoutOverlap) {
    auto table = CatalogueTable();
    for (size_t i = 0; i < table.size(); ++i) {
        const Rect r = RectOf(table[i]);
        SCOPED_TRACE(i + 1);
        EXPECT_FALSE(r.IsEmpty());
        EXPECT_GE(r.left, 0);
        EXPECT_LE(r.right, Archive::kStripWidth);
        EXPECT_GE(r.top, 0);
        // The view never scrolls past this row, so nothing may lie below.
        EXPECT_LE(r.bottom, Archive::kVisibleStripHeight);
    }
    for (size_t i = 0; i < table.size(); ++i)
        for (size_t j = i + 1; j < table.size(); ++j)
            EXPECT_TRUE(RectOf(table[i]).Intersect(RectOf(table[j])).IsEmpty())
                << "entries " << i + 1 << " and " << j + 1 << " overlap";
}

TEST(Catalogue, EveryPictureCentreHitsItsOwnEntry) {
    const Archive& archive = GetArchive();
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) {
        const ArchiveEntry* e = archive.Entry(n);
        const int32_t x = (e->left + e->right) / 2, y = (e->top + e->bottom) / 2;
        EXPECT_EQ(archive.HitTest(x, y), n);
    }
}

TEST(Catalogue, StretchValuesFitTheirPictures) {
    std::set<int16_t> resources;
    for (const CatalogueItem& item : CatalogueItems()) {
        if (item.IsHeading()) continue;
        const StyleRecipe& r = item.recipe;
        SCOPED_TRACE(item.entry.resourceNumber);
        EXPECT_TRUE(resources.insert(item.entry.resourceNumber).second) << "resource used twice";
        EXPECT_GE(r.width, 1);
        EXPECT_LE(r.width, Archive::kMaxStyleWidth);
        EXPECT_GE(r.height, 1);
        EXPECT_LE(r.height, Archive::kMaxStyleHeight);
        EXPECT_GE(item.entry.stretchColumn, -1);
        EXPECT_LT(item.entry.stretchColumn, r.width);
        EXPECT_GE(item.entry.defaultStretch, 0);
        EXPECT_LE(item.entry.defaultStretch, Archive::kMaxStyleWidth - r.width);
        if (item.entry.stretchColumn < 0) {
            EXPECT_EQ(item.entry.defaultStretch, 0);
        }
    }
}

TEST(Catalogue, RoundAndTexturedStylesCannotBeWidened) {
    // Circles and the textures that change along every row keep their
    // width; every other style (the wood's calm middle, an icon button's
    // label) widens.
    for (const CatalogueItem& item : CatalogueItems()) {
        if (item.IsHeading()) continue;
        const StyleRecipe& r = item.recipe;
        SCOPED_TRACE(item.entry.resourceNumber);
        const bool fixed = r.shape == StyleShape::Circle ||
                           (r.material == StyleMaterial::Texture &&
                            StyleTexture(r.variant) != StyleTexture::Wood &&
                            StyleTexture(r.variant) != StyleTexture::Pinstripe);
        if (fixed) {
            EXPECT_EQ(item.entry.stretchColumn, -1);
        } else {
            EXPECT_GT(item.entry.stretchColumn, 0);
        }
        // An icon button widens its label, right of the glyph well.
        if (r.icon != StyleIcon::None && !fixed) {
            EXPECT_GT(item.entry.stretchColumn, r.margin + r.height - 2 * r.margin);
        }
    }
}

TEST(Catalogue, LayoutKeepsPinnedPlacesAndPutsHeadingsAcrossTheStrip) {
    StyleRecipe wide;
    wide.width = 88;
    wide.height = 28;
    StyleRecipe tall = wide;
    tall.width = 132;  // wider than a half strip: shown as a thumbnail
    tall.height = 48;
    const CataloguePlanItem plan[] = {
        {{}, wide, {10, 5, 98, 33}},
        {"Heading", {}, {}},
        {{}, wide, {}},
        {{}, wide, {}},
        {{}, wide, {}},
        {{}, tall, {}},
    };
    Rect rects[6];
    LayoutCatalogue(plan, rects);
    EXPECT_EQ(rects[0], (Rect{10, 5, 98, 33}));
    EXPECT_EQ(rects[1].left, 0);
    EXPECT_EQ(rects[1].right, Archive::kStripWidth);
    EXPECT_GT(rects[1].top, 33);
    // Two to a row, the third below the first.
    EXPECT_EQ(rects[2].top, rects[3].top);
    EXPECT_LT(rects[2].right, rects[3].left);
    EXPECT_EQ(rects[4].left, rects[2].left);
    EXPECT_GT(rects[4].top, rects[2].bottom);
    // The thumbnail keeps the picture's proportions within the half strip.
    EXPECT_EQ(rects[5].Width(), 90);
    EXPECT_EQ(rects[5].Height(), 33);
    EXPECT_GT(rects[5].top, rects[4].bottom);
}
