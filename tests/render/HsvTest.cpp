#include <gtest/gtest.h>

#include <random>

#include "render/ArgbImage.h"
#include "tests/render/RasterReference.h"

using namespace tabora;

namespace {

// The conversions exactly as first written down, kept apart from the real
// ones so that an "equivalent" rewrite of those is caught.
Hsv RefRgbToHsv(uint32_t p) {
    double r = PixelRed(p) * (1.0 / 255), g = PixelGreen(p) * (1.0 / 255),
           b = PixelBlue(p) * (1.0 / 255);
    double mx = r > g ? (r > b ? r : b) : (g > b ? g : b);
    double mn = r < g ? (r < b ? r : b) : (g < b ? g : b);
    double delta = mx - mn;
    Hsv o;
    o.v = int(1023 * mx);
    o.s = mx == 0 ? 0 : int(1023 * delta / mx);
    if (delta != 0) {
        double h = r == mx ? (g - b) / delta : g == mx ? 2 + (b - r) / delta : 4 + (r - g) / delta;
        h = 682 * h;
        if (h < 0) h = h + 4092;
        o.h = int(h);
    }
    return o;
}

uint32_t RefHsvToRgb(int32_t H, int32_t S, int32_t V, uint32_t pixel) {
    const int32_t full = 0x7FFFFFFF, slope = 0x300C03;
    int32_t c[3];
    if (V == 0) return pixel & 0xFF;
    if (S == 0) {
        uint32_t g = uint32_t(V * 255 / 1023);
        return (pixel & 0xFF) | (g << 8) | (g << 16) | (g << 24);
    }
    uint32_t h = uint32_t(H);
    if (h <= 682) c[0] = full, c[1] = H * slope, c[2] = 0;
    else if (h <= 1364) c[0] = full - (H - 682) * slope, c[1] = full, c[2] = 0;
    else if (h <= 2046) c[0] = 0, c[1] = full, c[2] = (H - 1364) * slope;
    else if (h <= 2728) c[0] = 0, c[1] = full - (H - 2046) * slope, c[2] = full;
    else if (h <= 3410) c[0] = (H - 2728) * slope, c[1] = 0, c[2] = full;
    else c[0] = full, c[1] = 0, c[2] = full - (H - 3410) * slope;
    if (S != 1023)
        for (int32_t& x : c) x = x + ((full - x) / 1023) * (1023 - S);
    if (V != 1023)
        for (int32_t& x : c) x = (x / 1023) * V;
    return (pixel & 0xFF) | (((c[0] >> 23) & 0xFFu) << 8) | (((c[1] >> 23) & 0xFFu) << 16) |
           (((c[2] >> 23) & 0xFFu) << 24);
}

uint32_t RefShift(uint32_t p, int32_t dh, int32_t dv) {
    Hsv x = RefRgbToHsv(p);
    int32_t h = x.h + dh;
    if (h > 4092) h -= 4092;
    if (h > 4092) h -= 4092;
    int32_t v = std::clamp(x.v + dv, 0, 1023);
    return RefHsvToRgb(h, x.s, v, p);
}

uint32_t Shifted(uint32_t p, int32_t dh, int32_t dv) {
    ArgbImage img(1, 1);
    img.At(0, 0) = p;
    img.ShiftHueBrightness(img.Extent(), dh, dv);
    return img.At(0, 0);
}

uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return MakePixel(a, r, g, b); }

}  // namespace

TEST(Hsv, PrimariesGreyAndBlack) {
    auto expect = [](uint32_t p, int h, int s, int v) {
        Hsv x = RgbToHsv(p);
        EXPECT_EQ(x.h, h) << std::hex << p;
        EXPECT_EQ(x.s, s) << std::hex << p;
        EXPECT_EQ(x.v, v) << std::hex << p;
    };
    expect(Rgb(255, 0, 0), 0, 1023, 1023);
    expect(Rgb(0, 255, 0), 1364, 1023, 1023);
    expect(Rgb(0, 0, 255), 2728, 1023, 1023);
    expect(Rgb(0, 0, 0), 0, 0, 0);
    expect(Rgb(128, 128, 128), 0, 0, 513);
    // Ties go to red first, then green: yellow is in the red branch (h = 1).
    expect(Rgb(255, 255, 0), 682, 1023, 1023);
    expect(Rgb(0, 255, 255), 2046, 1023, 1023);
    // A tiny negative h wraps to just under the full circle.
    expect(Rgb(255, 0, 1), 4089, 1023, 1023);
}

TEST(Hsv, BackToRgb) {
    uint32_t p = 0x5A;  // alpha 0x5A must survive
    HsvToRgb(1234, 0, 512, p);
    EXPECT_EQ(p, Rgb(127, 127, 127, 0x5A));
    HsvToRgb(0, 1023, 1023, p);
    EXPECT_EQ(p, Rgb(255, 0, 0, 0x5A));
    HsvToRgb(2000, 700, 0, p);
    EXPECT_EQ(p, Rgb(0, 0, 0, 0x5A));
    // The very end of the circle equals its start.
    uint32_t q = 0;
    HsvToRgb(4092, 800, 900, p);
    HsvToRgb(0, 800, 900, q);
    EXPECT_EQ(p & ~0xFFu, q & ~0xFFu);
}

TEST(Hsv, OutOfRangeArgumentsStayDefined) {
    // Would overflow the signed ramps if taken as they are.
    for (int32_t h : {-1, -5000, 4093, 4096, 100000, INT32_MAX, INT32_MIN}) {
        uint32_t p = 0;
        HsvToRgb(h, 1023, 1023, p);
        uint32_t q = 0;
        HsvToRgb((h % 4092 + 4092) % 4092, 1023, 1023, q);
        EXPECT_EQ(p, q) << h;
    }
    uint32_t p = 0, q = 0;
    HsvToRgb(100, 5000, -3, p);
    HsvToRgb(100, 1023, 0, q);
    EXPECT_EQ(p, q);
}

TEST(Hsv, ConversionsMatchTheLiteralFormulasOnARandomSample) {
    std::mt19937 rng(7);
    for (int n = 0; n < 300000; ++n) {
        uint32_t p = rng();
        Hsv a = RgbToHsv(p), b = RefRgbToHsv(p);
        ASSERT_EQ(a.h, b.h) << std::hex << p;
        ASSERT_EQ(a.s, b.s) << std::hex << p;
        ASSERT_EQ(a.v, b.v) << std::hex << p;
        int32_t h = int32_t(rng() % 4093), s = int32_t(rng() % 1024), v = int32_t(rng() % 1024);
        uint32_t q = p;
        HsvToRgb(h, s, v, q);
        ASSERT_EQ(q, RefHsvToRgb(h, s, v, p)) << h << " " << s << " " << v;
    }
}

TEST(HueShift, MatchesTheLiteralStepsOnARandomSample) {
    std::mt19937 rng(11);
    for (int n = 0; n < 100000; ++n) {
        uint32_t p = rng();
        int32_t dh = int32_t(rng() % 4097), dv = int32_t(rng() % 411) - 205;
        ASSERT_EQ(Shifted(p, dh, dv), RefShift(p, dh, dv)) << std::hex << p << std::dec << " " << dh;
    }
}

TEST(HueShift, FullCircleAndBeyondWrap) {
    std::mt19937 rng(3);
    for (int n = 0; n < 20000; ++n) {
        uint32_t p = rng();
        // 4092 is the whole circle; 4093..4096 must wrap like 1..4.
        for (int32_t k = 0; k <= 4; ++k) ASSERT_EQ(Shifted(p, 4092 + k, 0), Shifted(p, k, 0)) << k;
    }
}

TEST(HueShift, GreyStaysGreyAndAlphaIsKept) {
    for (int g = 0; g < 256; g += 15)
        for (int32_t dh : {0, 1000, 4096}) {
            uint32_t out = Shifted(Rgb(uint8_t(g), uint8_t(g), uint8_t(g), 77), dh, 100);
            EXPECT_EQ(PixelRed(out), PixelGreen(out));
            EXPECT_EQ(PixelGreen(out), PixelBlue(out));
            EXPECT_EQ(PixelAlpha(out), 77);
        }
    EXPECT_EQ(Shifted(Rgb(255, 255, 255), 0, 205), Rgb(255, 255, 255));
    EXPECT_EQ(Shifted(Rgb(10, 10, 10), 0, -205), Rgb(0, 0, 0));
}

TEST(HueShift, RegionIsClippedAndRunsMatchPixelByPixel) {
    std::mt19937 rng(5);
    ArgbImage img(37, 19);
    ref::Randomize(img, rng);
    for (Rect region : {Rect{-5, -5, 10, 8}, Rect{30, 10, 1000, 1000}, Rect{INT32_MIN, 0, INT32_MAX, 3},
                        Rect{5, 5, 2, 2}, Rect{40, 0, 50, 19}}) {
        ArgbImage got = img;
        got.ShiftHueBrightness(region, 1500, -40);
        for (int32_t y = 0; y < img.Height(); ++y)
            for (int32_t x = 0; x < img.Width(); ++x) {
                uint32_t want = region.Contains(x, y) ? RefShift(img.At(x, y), 1500, -40) : img.At(x, y);
                ASSERT_EQ(got.At(x, y), want) << x << "," << y;
            }
    }
}
