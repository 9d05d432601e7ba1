#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Resources.h"

using namespace tabora;

TEST(Resources, LookupByNumberAndName) {
    ResourceBlobWriter w;
    w.AddRaw(10001, {1, 2, 3});
    w.AddBitmap("zero", {9});
    w.AddRaw(8128, {4, 5});
    w.AddBitmap("banner", {7, 7});
    auto blob = w.Finish();
    ResourceTable t(blob.data(), blob.size());
    EXPECT_EQ(t.Count(), 4u);
    auto r = t.FindRaw(8128);
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0], 4);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(r.data()) % 16, reinterpret_cast<uintptr_t>(blob.data()) % 16);
    EXPECT_EQ(t.FindRaw(10001).size(), 3u);
    EXPECT_EQ(t.FindBitmap("banner").size(), 2u);
    EXPECT_EQ(t.FindBitmap("zero")[0], 9);
    EXPECT_TRUE(t.FindRaw(10002).empty());
    EXPECT_TRUE(t.FindRaw(-1).empty());
    EXPECT_TRUE(t.FindBitmap("Banner").empty());
    EXPECT_TRUE(t.FindBitmap("").empty());
}

TEST(Resources, ScaledArtSitsBesideTheOneTimesArtWithoutDisturbingIt) {
    ResourceBlobWriter plain;
    plain.AddRaw(8128, {4, 5});
    plain.AddBitmap("banner", {7, 7});
    ResourceBlobWriter w;
    w.AddRaw(8128, 2, {6, 6, 6});
    w.AddPicture("banner", 3, {9});
    w.AddRaw(8128, {4, 5});
    w.AddRaw(8128, 3, {8});
    w.AddBitmap("banner", {7, 7});
    auto blob = w.Finish();
    ResourceTable t(blob.data(), blob.size());
    EXPECT_EQ(t.FindRaw(8128).size(), 2u);
    EXPECT_EQ(t.FindRaw(8128, 1).data(), t.FindRaw(8128).data());
    EXPECT_EQ(t.FindRaw(8128, 2).size(), 3u);
    EXPECT_EQ(t.FindRaw(8128, 3)[0], 8);
    EXPECT_TRUE(t.FindRaw(8128, 4).empty());
    EXPECT_TRUE(t.FindRaw(8128, 0).empty());
    EXPECT_EQ(t.FindBitmap("banner").size(), 2u);
    EXPECT_EQ(t.FindPicture("banner", 3)[0], 9);
    EXPECT_TRUE(t.FindPicture("banner", 2).empty());
    EXPECT_TRUE(t.FindPicture("banner", 1).empty()) << "1x pictures are bitmaps";
    // The 1x entries keep their order in the table.
    auto plainBlob = plain.Finish();
    for (size_t i = 0; i < 2; ++i)
        EXPECT_TRUE(std::equal(plainBlob.begin() + 12 + 48 * ptrdiff_t(i),
                               plainBlob.begin() + 12 + 48 * ptrdiff_t(i) + 8,
                               blob.begin() + 12 + 48 * ptrdiff_t(i)));
}

TEST(Resources, DamagedBlobIsEmptyNotACrash) {
    ResourceBlobWriter w;
    w.AddRaw(1, std::vector<uint8_t>(100, 1));
    auto blob = w.Finish();
    for (size_t cut : {size_t(0), size_t(5), size_t(12), size_t(60), blob.size() - 20}) {
        ResourceTable t(blob.data(), cut);
        EXPECT_TRUE(t.FindRaw(1).empty()) << cut;
    }
    blob[0] = 'X';
    EXPECT_EQ(ResourceTable(blob.data(), blob.size()).Count(), 0u);
}

TEST(Resources, TestTableCanBeSwappedIn) {
    ResourceBlobWriter w;
    w.AddRaw(42, {1});
    auto blob = w.Finish();
    ResourceTable t(blob.data(), blob.size());
    SetResourcesForTesting(&t);
    EXPECT_EQ(Resources().FindRaw(42).size(), 1u);
    SetResourcesForTesting(nullptr);
}
