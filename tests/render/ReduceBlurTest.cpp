#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "render/ArgbImage.h"
#include "tests/render/RasterReference.h"

using namespace tabora;

TEST(ReduceInto, CaptionSizeAveragesExactFourByFourBlocks) {
    std::mt19937 rng(9);
    AlphaMask big(696, 296), small(174, 74);
    ref::Randomize(big, rng);
    big.ReduceInto(small);
    for (int32_t y = 0; y < 74; ++y)
        for (int32_t x = 0; x < 174; ++x) {
            int sum = 0;
            for (int dy = 0; dy < 4; ++dy)
                for (int dx = 0; dx < 4; ++dx) sum += big.At(4 * x + dx, 4 * y + dy);
            ASSERT_EQ(small.At(x, y), sum / 16) << x << "," << y;
        }
}

TEST(ReduceInto, BodySizesMatchTheLiteralWeights) {
    // The body reduction: a style picture into (0, 0, W f, H f) for the
    // button sizes below 200, where the ratio is not whole.
    std::mt19937 rng(12);
    ArgbImage style(144, 30);
    ref::Randomize(style, rng);
    for (int size : {199, 180, 150, 123, 100, 77, 50, 20}) {
        double f = std::sqrt(size * 50.0) * 0.01;
        Rect rect{0, 0, int32_t(144 * f), int32_t(30 * f)};
        ArgbImage got(174, 74), want(174, 74);
        style.ReduceInto(got, rect);
        ref::ReduceImage(style, want, rect);
        ASSERT_TRUE(ref::Same(got, want)) << size;
    }
}

TEST(ReduceInto, RandomSizesAndRectanglesMatchTheReference) {
    std::mt19937 rng(13);
    for (int n = 0; n < 300; ++n) {
        AlphaMask src(int32_t(1 + rng() % 40), int32_t(1 + rng() % 30));
        ref::Randomize(src, rng);
        AlphaMask base(int32_t(1 + rng() % 20), int32_t(1 + rng() % 20));
        ref::Randomize(base, rng);
        std::optional<Rect> rect;
        if (rng() % 4) {
            int32_t l = int32_t(rng() % 30) - 10, t = int32_t(rng() % 30) - 10;
            rect = Rect{l, t, l + int32_t(rng() % 30) - 3, t + int32_t(rng() % 30) - 3};
        }
        AlphaMask got = base, want = base;
        src.ReduceInto(got, rect);
        ref::ReduceMask(src, want, rect);
        ASSERT_TRUE(ref::Same(got, want)) << n;
    }
}

// Whole ratios, as an antialiased caption is reduced, with the ink in one
// corner or another of a clear mask: blocks away from the ink are written as
// 0 without being summed, and must still be written.
TEST(ReduceInto, WholeRatiosOfMostlyClearMasksMatchTheReference) {
    std::mt19937 rng(17);
    for (int n = 0; n < 600; ++n) {
        const int32_t k = int32_t(2 + rng() % 3), cols = int32_t(1 + rng() % 12);
        AlphaMask src(cols * k, int32_t(1 + rng() % 40));
        if (n % 6) ref::AddInkIsland(src, rng, 5);
        AlphaMask base(int32_t(1 + rng() % 16), int32_t(1 + rng() % 16));
        ref::Randomize(base, rng);
        const int32_t l = int32_t(rng() % 8) - 3, t = int32_t(rng() % 8) - 3;
        const Rect rect{l, t, l + cols, t + int32_t(1 + rng() % 20)};
        AlphaMask got = base, want = base;
        src.ReduceInto(got, rect);
        ref::ReduceMask(src, want, rect);
        ASSERT_TRUE(ref::Same(got, want)) << n;
    }
}

TEST(ReduceInto, SameWidthCopiesAndHostileRectanglesAreSafe) {
    std::mt19937 rng(14);
    AlphaMask src(6, 4);
    ref::Randomize(src, rng);
    for (Rect rect : {Rect{-2, -1, 4, 3}, Rect{3, 2, 9, 5}, Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
                      Rect{INT32_MAX - 2, 0, INT32_MAX, 4}, Rect{4, 4, 1, 1}, Rect{-100, -100, -94, -96}}) {
        AlphaMask got(5, 5), want(5, 5);
        src.ReduceInto(got, rect);
        ref::ReduceMask(src, want, rect);
        ASSERT_TRUE(ref::Same(got, want)) << rect.left << "," << rect.top;
    }
    AlphaMask empty;
    AlphaMask dst(3, 3);
    empty.ReduceInto(dst);
    src.ReduceInto(empty);
}

TEST(BlurInto, ShadowGainOnAFullMask) {
    AlphaMask full(174, 74), out(174, 74);
    std::fill(full.Bytes(), full.Bytes() + 174 * 74, 255);
    std::fill(out.Bytes(), out.Bytes() + 174 * 74, 7);  // shows what is never written
    full.BlurInto(out, 2, 40, 100);
    for (int32_t y = 0; y < 74; ++y)
        for (int32_t x = 0; x < 174; ++x) {
            bool inside = x >= 2 && y >= 2 && x < 172 && y < 72;
            ASSERT_EQ(out.At(x, y), inside ? 102 : 7) << x << "," << y;
        }
}

TEST(BlurInto, TextShadowPlacementOnASmallPicture) {
    // Radius 1, gain 60/100, placed at (1, 2): the 3 x 3 mean of the source
    // around (x, y) lands at (x + 1, y + 2).
    AlphaMask src(5, 4), dst(5, 5);
    const uint8_t X = 255;
    const uint8_t s[20] = {0, 0, 0, 0, 0,
                           0, X, X, X, 0,
                           0, X, X, X, 0,
                           0, 0, 0, 0, 0};
    std::copy(s, s + 20, src.Bytes());
    src.BlurInto(dst, 1, 60, 100, Rect{1, 2, 100, 100});
    // Placement cut to 4 x 3 (destination edge), so x in 1..2, y in 1..1:
    // 4 x 255 * 60 / 900 = 68 and 6 x 255 * 60 / 900 = 102.
    const std::vector<uint8_t> want = {0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0,
                                       0, 0, 0, 0, 0,
                                       0, 0, 68, 102, 0,
                                       0, 0, 0, 0, 0};
    EXPECT_EQ(std::vector<uint8_t>(dst.Bytes(), dst.Bytes() + 25), want);
}

TEST(BlurInto, RandomPlacementsMatchTheReference) {
    std::mt19937 rng(15);
    for (int n = 0; n < 400; ++n) {
        AlphaMask src(int32_t(1 + rng() % 25), int32_t(1 + rng() % 25));
        AlphaMask base(int32_t(1 + rng() % 25), int32_t(1 + rng() % 25));
        ref::Randomize(src, rng);
        ref::Randomize(base, rng);
        int rho = int(rng() % 4);
        std::optional<Rect> pl;
        if (rng() % 3) {
            int32_t l = int32_t(rng() % 40) - 15, t = int32_t(rng() % 40) - 15;
            pl = Rect{l, t, l + int32_t(rng() % 40), t + int32_t(rng() % 40)};
        }
        AlphaMask got = base, want = base;
        src.BlurInto(got, rho, 60, 100, pl);
        ref::Blur(src, want, rho, 60, 100, pl);
        ASSERT_TRUE(ref::Same(got, want)) << n;
    }
}

// Captions and bodies are islands of ink in a clear mask: every output
// outside the island's reach must still be written (as 0), the rest summed.
TEST(BlurInto, InkIslandsMatchTheReference) {
    std::mt19937 rng(16);
    for (int n = 0; n < 600; ++n) {
        AlphaMask src(int32_t(1 + rng() % 30), int32_t(1 + rng() % 30));
        AlphaMask base(int32_t(1 + rng() % 30), int32_t(1 + rng() % 30));
        ref::Randomize(base, rng);
        if (n % 5) ref::AddInkIsland(src, rng, 30);  // four in five; the rest stay clear
        const int rho = int(rng() % 4);
        std::optional<Rect> pl;
        if (rng() % 2) {
            const int32_t l = int32_t(rng() % 20) - 5, t = int32_t(rng() % 20) - 5;
            pl = Rect{l, t, l + int32_t(rng() % 40), t + int32_t(rng() % 40)};
        }
        AlphaMask got = base, want = base;
        src.BlurInto(got, rho, 60, 100, pl);
        ref::Blur(src, want, rho, 60, 100, pl);
        ASSERT_TRUE(ref::Same(got, want)) << n;
    }
}

TEST(BlurInto, DegenerateArgumentsWriteNothing) {
    AlphaMask src(10, 10), dst(10, 10);
    std::fill(src.Bytes(), src.Bytes() + 100, 200);
    src.BlurInto(dst, -1, 1, 1);
    src.BlurInto(dst, 2, 1, 0);
    src.BlurInto(dst, 5, 1, 1);  // no pixel is 5 away from every edge
    src.BlurInto(dst, INT32_MAX, 1, 1);
    src.BlurInto(dst, 1, 1, 1, Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX});
    src.BlurInto(dst, 1, 1, 1, Rect{INT32_MAX - 3, 0, INT32_MAX, 10});
    EXPECT_EQ(dst.Bounds(), (Rect{1000, 1000, -999, -999}));
    // A gain above 1 saturates instead of wrapping.
    src.BlurInto(dst, 1, 3, 1);
    EXPECT_EQ(dst.At(5, 5), 255);
}
