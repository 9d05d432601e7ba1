#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "render/ArgbImage.h"
#include "tests/render/RasterReference.h"

using namespace tabora;

namespace {

uint32_t Px(uint8_t a, uint8_t r, uint8_t g, uint8_t b) { return MakePixel(a, r, g, b); }

// Rectangles that a careless clip gets wrong: off every edge, empty,
// inverted, and as large as 32 bits allow.
const std::vector<Rect> kHostile = {
    {0, 0, 0, 0},          {-3, -2, 4, 5},       {5, 4, 100, 100},        {-50, -50, -10, -10},
    {30, 30, 40, 40},      {6, 6, 2, 2},         {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
    {INT32_MAX - 1, 0, INT32_MAX, 5}, {0, INT32_MIN, 3, INT32_MIN + 2}, {-1, 0, 1, 1},
    {2, 1, 9, 6}};

}  // namespace

TEST(SourceOver, FastPathsEqualTheFormulaForEveryAlphaPair) {
    // Through a 1 x 1 mask (Fill) and a 1 x 1 source image (CompositeOver).
    const uint32_t colours[] = {0x000000, 0xFFFFFF, 0x123456, 0xFF8001};
    const uint32_t dests[] = {Px(0, 0, 0, 0), Px(0, 9, 200, 31), Px(0, 255, 255, 255),
                              Px(0, 77, 0, 140)};
    AlphaMask mask(1, 1);
    ArgbImage img(1, 1), src(1, 1);
    for (uint32_t c : colours)
        for (uint32_t base : dests)
            for (uint32_t s = 0; s < 256; ++s)
                for (uint32_t d = 0; d < 256; ++d) {
                    uint32_t dst = (base & ~0xFFu) | d;
                    uint32_t want = ref::SourceOver(dst, RedOf(c), GreenOf(c), BlueOf(c), s);
                    mask.At(0, 0) = uint8_t(s);
                    img.At(0, 0) = dst;
                    img.Fill(c, mask);
                    ASSERT_EQ(img.At(0, 0), want) << s << " " << d;
                    src.At(0, 0) = (ColorPixel(c) & ~0xFFu) | s;
                    img.At(0, 0) = dst;
                    src.CompositeOver(img);
                    ASSERT_EQ(img.At(0, 0), want) << s << " " << d;
                }
}

TEST(SourceOver, DocumentedCases) {
    AlphaMask mask(4, 1);
    ArgbImage img(4, 1);
    // Coverage 255, coverage 0 over colour, coverage 0 over transparent
    // colour (becomes the word 0), coverage 128 over opaque.
    img.At(0, 0) = Px(10, 1, 2, 3);
    img.At(1, 0) = Px(10, 1, 2, 3);
    img.At(2, 0) = Px(0, 1, 2, 3);
    img.At(3, 0) = Px(255, 0, 0, 0);
    mask.At(0, 0) = 255;
    mask.At(3, 0) = 128;
    img.Fill(MakeColor(200, 100, 50), mask);
    EXPECT_EQ(img.At(0, 0), Px(255, 200, 100, 50));
    EXPECT_EQ(img.At(1, 0), Px(10, 1, 2, 3));
    EXPECT_EQ(img.At(2, 0), 0u);
    EXPECT_EQ(img.At(3, 0), Px(255, 100, 50, 25));
    // Alpha 128 onto a transparent pixel keeps the source colour at 128.
    ArgbImage one(1, 1);
    AlphaMask half(1, 1);
    half.At(0, 0) = 128;
    one.Fill(MakeColor(200, 100, 50), half);
    EXPECT_EQ(one.At(0, 0), Px(128, 200, 100, 50));
}

TEST(Fill, WholeCanvasThroughAMaskMatchesReference) {
    std::mt19937 rng(1);
    ArgbImage img(174, 74);
    AlphaMask mask(174, 74);
    ref::Randomize(img, rng);
    ref::Randomize(mask, rng);
    // Long uncovered runs, where the eight-at-a-time path works.
    for (int32_t y = 10; y < 40; ++y)
        for (int32_t x = 3; x < 150; ++x) mask.At(x, y) = 0;
    // Rows with nothing at all, skipped whole.
    for (int32_t y = 50; y < 60; ++y)
        for (int32_t x = 0; x < 174; ++x) mask.At(x, y) = 0;
    ArgbImage want = img;
    for (int32_t y = 0; y < 74; ++y)
        for (int32_t x = 0; x < 174; ++x)
            want.At(x, y) = ref::SourceOver(want.At(x, y), 0x12, 0x34, 0x56, mask.At(x, y));
    img.Fill(MakeColor(0x12, 0x34, 0x56), mask);
    EXPECT_TRUE(ref::Same(img, want));
}

TEST(Fill, MaskOfAnotherSizeOnlyTouchesTheOverlap) {
    ArgbImage img(3, 2);
    img.Fill(MakeColor(1, 1, 1));
    AlphaMask wide(5, 1);
    for (int x = 0; x < 5; ++x) wide.At(x, 0) = 255;
    img.Fill(MakeColor(9, 9, 9), wide);
    const uint32_t A = Px(255, 9, 9, 9), b = Px(255, 1, 1, 1);
    std::vector<uint32_t> want = {A, A, A,
                                  b, b, b};
    EXPECT_EQ(std::vector<uint32_t>(img.Pixels(), img.Pixels() + 6), want);
}

TEST(CompositeOver, RegionGoesToTheRectangle) {
    // Source region (1, 1, 3, 3) onto the destination at (2, 0), 4 x 3.
    ArgbImage src(4, 4), dst(4, 3);
    const uint32_t o = 0, X = Px(255, 200, 0, 0), h = Px(128, 0, 0, 255);
    const uint32_t s[16] = {o, o, o, o,
                            o, X, h, o,
                            o, h, X, o,
                            o, o, o, o};
    std::copy(s, s + 16, src.Pixels());
    src.CompositeOver(dst, Rect{1, 1, 3, 3}, Rect{2, 0, 100, 100});
    const std::vector<uint32_t> want = {o, o, X, h,
                                        o, o, h, X,
                                        o, o, o, o};
    EXPECT_EQ(std::vector<uint32_t>(dst.Pixels(), dst.Pixels() + 12), want);
}

TEST(CompositeOver, HostileRectanglesClipLikeTheReference) {
    std::mt19937 rng(2);
    ArgbImage src(9, 7), base(8, 6);
    ref::Randomize(src, rng);
    ref::Randomize(base, rng);
    for (const Rect& sr : kHostile)
        for (const Rect& dr : kHostile) {
            ArgbImage got = base, want = base;
            src.CompositeOver(got, sr, dr);
            ref::CompositeOver(src, want, sr, dr);
            ASSERT_TRUE(ref::Same(got, want)) << sr.left << "," << sr.top << " " << dr.left << "," << dr.top;
        }
}

TEST(CopyAlphaTo, CopiesAlphaBytesWithClipping) {
    std::mt19937 rng(4);
    ArgbImage src(13, 9);
    ref::Randomize(src, rng);
    AlphaMask base(10, 8);
    ref::Randomize(base, rng);
    for (const Rect& sr : kHostile)
        for (const Rect& dr : kHostile) {
            AlphaMask got = base, want = base;
            src.CopyAlphaTo(got, sr, dr);
            int64_t w = std::min(int64_t(sr.right) - sr.left, int64_t(dr.right) - dr.left);
            int64_t h = std::min(int64_t(sr.bottom) - sr.top, int64_t(dr.bottom) - dr.top);
            for (int64_t y = 0; y < want.Height(); ++y)
                for (int64_t x = 0; x < want.Width(); ++x) {
                    int64_t j = x - dr.left, i = y - dr.top, sx = sr.left + j, sy = sr.top + i;
                    if (j >= 0 && i >= 0 && j < w && i < h && ref::Inside(sx, sy, 13, 9))
                        want.At(int32_t(x), int32_t(y)) = PixelAlpha(src.At(int32_t(sx), int32_t(sy)));
                }
            ASSERT_TRUE(ref::Same(got, want)) << sr.left << "," << sr.top << " " << dr.left << "," << dr.top;
        }
}

TEST(DrawOnto, BlendsOntoTheSurfaceAndClips) {
    ArgbImage img(2, 2);
    img.At(0, 0) = Px(255, 10, 20, 30);
    img.At(1, 0) = Px(0, 255, 255, 255);
    img.At(0, 1) = Px(128, 255, 0, 100);
    img.At(1, 1) = Px(64, 0, 0, 0);
    std::vector<uint32_t> px(3 * 2 + 1, 0xFF808080u);  // stride 3 for width 2 + a guard
    RgbSurface surface{px.data(), 2, 2, 3};
    img.DrawOnto(surface, Rect{-1, 0, 5, 5});  // only column 1 of the image is visible
    // Image column 1 lands at surface column 0; (1, 1) is black at alpha 64:
    // (0x80 * 191 + 0 * 64) / 255 = 95.
    EXPECT_EQ(px[0], 0xFF808080u);  // alpha 0: unchanged
    EXPECT_EQ(px[3], 0xFF5F5F5Fu);
    EXPECT_EQ(px[1], 0xFF808080u);  // outside the image's extent
    EXPECT_EQ(px[4], 0xFF808080u);
    EXPECT_EQ(px[6], 0xFF808080u);  // past the last row
    // At (1, 1) only the image's (0, 0) fits.
    img.DrawOnto(surface, Rect{1, 1, 3, 3});
    EXPECT_EQ(px[4], 0xFF0A141Eu);
    EXPECT_EQ(px[5], 0xFF808080u);  // the stride's unused column
}

TEST(DrawOnto, FormulaAndDegenerateSurfaces) {
    ArgbImage img(1, 1);
    img.At(0, 0) = Px(128, 255, 0, 100);
    uint32_t device = 0x00402010;  // R 0x40, G 0x20, B 0x10, top byte set to FF on write
    img.DrawOnto(RgbSurface{&device, 1, 1, 1}, Rect{0, 0, 1, 1});
    const uint32_t r = (0x40 * 127 + 255 * 128) / 255, g = (0x20 * 127) / 255,
                   b = (0x10 * 127 + 100 * 128) / 255;
    EXPECT_EQ(device, 0xFF000000u | (r << 16) | (g << 8) | b);
    img.DrawOnto(RgbSurface{}, Rect{0, 0, 1, 1});                  // no pixels
    img.DrawOnto(RgbSurface{&device, 1, 1, 0}, Rect{0, 0, 1, 1});  // stride too small
    for (const Rect& r2 : kHostile) img.DrawOnto(RgbSurface{&device, 1, 1, 1}, r2);
}
