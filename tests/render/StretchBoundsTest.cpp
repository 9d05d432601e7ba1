#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/ArgbImage.h"
#include "tests/render/RasterReference.h"

using namespace tabora;

namespace {

std::vector<uint32_t> Row(const ArgbImage& img, int32_t y) {
    const uint32_t* row = img.Pixels() + size_t(y) * size_t(img.Width());
    return std::vector<uint32_t>(row, row + img.Width());
}

}  // namespace

TEST(StretchMiddle, RepeatsTheStretchColumn) {
    // Columns a b c d, stretch column 1, two extra columns: a b b b c d.
    ArgbImage src(4, 2), dst(7, 3);
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 4; ++x) src.At(x, y) = uint32_t(10 * (y + 1) + x + 1);
    src.StretchMiddle(dst, Rect{1, 1, 7, 3}, 1);
    EXPECT_EQ(Row(dst, 0), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Row(dst, 1), (std::vector<uint32_t>{0, 11, 12, 12, 12, 13, 14}));
    EXPECT_EQ(Row(dst, 2), (std::vector<uint32_t>{0, 21, 22, 22, 22, 23, 24}));
}

TEST(StretchMiddle, ClipsLikeTheReference) {
    std::mt19937 rng(22);
    ArgbImage src(9, 5), base(12, 6);
    ref::Randomize(src, rng);
    ref::Randomize(base, rng);
    const Rect rects[] = {{0, 0, 15, 5},   {-4, -2, 14, 9}, {5, 3, 30, 30},  {0, 0, 9, 5},
                          {2, 1, 6, 4},    {-20, 0, -2, 5}, {11, 5, 40, 40}, {0, 0, 0, 0},
                          {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, {INT32_MAX - 9, 0, INT32_MAX, 5}};
    for (const Rect& rect : rects)
        for (int32_t c : {0, 4, 8}) {
            ArgbImage got = base, want = base;
            src.StretchMiddle(got, rect, c);
            ref::StretchMiddle(src, want, rect, c);
            ASSERT_TRUE(ref::Same(got, want)) << rect.left << "," << rect.right << " c=" << c;
        }
    // A column outside the source is taken as the nearest edge column.
    ArgbImage a = base, b = base;
    src.StretchMiddle(a, Rect{0, 0, 12, 5}, 99);
    src.StretchMiddle(b, Rect{0, 0, 12, 5}, 8);
    EXPECT_TRUE(ref::Same(a, b));
    ArgbImage empty;
    empty.StretchMiddle(a, Rect{0, 0, 5, 5}, 0);
    EXPECT_TRUE(ref::Same(a, b));
}

TEST(Bounds, RandomSparsePicturesMatchTheLiteralBox) {
    std::mt19937 rng(21);
    for (int n = 0; n < 500; ++n) {
        AlphaMask mask(int32_t(1 + rng() % 40), int32_t(1 + rng() % 20));
        for (int k = int(rng() % 6); k > 0; --k)
            mask.At(int32_t(rng() % mask.Width()), int32_t(rng() % mask.Height())) = uint8_t(1 + rng() % 255);
        Rect want{1000, 1000, -999, -999};
        for (int32_t y = 0; y < mask.Height(); ++y)
            for (int32_t x = 0; x < mask.Width(); ++x)
                if (mask.At(x, y)) {
                    want = want.left > want.right ? Rect{x, y, x + 1, y + 1}
                                                  : Rect{std::min(want.left, x), std::min(want.top, y),
                                                         std::max(want.right, x + 1), std::max(want.bottom, y + 1)};
                }
        ASSERT_EQ(mask.Bounds(), want) << n;
    }
}

TEST(Bounds, BoxOfNonZeroPixels) {
    AlphaMask mask(6, 4);
    EXPECT_EQ(mask.Bounds(), (Rect{1000, 1000, -999, -999}));
    EXPECT_TRUE(mask.Bounds().IsEmpty());
    // An empty layer adds nothing to a union.
    EXPECT_EQ((Rect{83, 33, 91, 41}).Union(mask.Bounds()), (Rect{83, 33, 91, 41}));
    const uint8_t m[24] = {0, 0, 0, 0, 0, 0,
                           0, 0, 9, 0, 0, 0,
                           0, 1, 0, 0, 0, 0,
                           0, 0, 0, 0, 0, 0};
    std::copy(m, m + 24, mask.Bytes());
    EXPECT_EQ(mask.Bounds(), (Rect{1, 1, 3, 3}));

    ArgbImage img(5, 3);
    EXPECT_EQ(img.Bounds(), (Rect{1000, 1000, -999, -999}));
    img.At(4, 2) = 0x100;  // alpha 0 but not the word 0: it counts
    EXPECT_EQ(img.Bounds(), (Rect{4, 2, 5, 3}));
    img.At(0, 0) = 1;
    EXPECT_EQ(img.Bounds(), (Rect{0, 0, 5, 3}));
}

TEST(Bounds, WideImagesAreMeasuredFully) {
    // Starting the box at (1000, 1000) would cut off anything past x = 1000.
    AlphaMask wide(1500, 2);
    wide.At(1200, 1) = 5;
    EXPECT_EQ(wide.Bounds(), (Rect{1200, 1, 1201, 2}));
}
