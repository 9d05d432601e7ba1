#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/Resources.h"
#include "render/ArgbImage.h"

using namespace tabora;

namespace {

// A packed bitmap from top-down rows of (blue, green, red) triples, or of
// palette indices for 8 bits.
std::vector<uint8_t> Packed(int32_t w, int32_t h, uint16_t bits,
                            const std::vector<std::vector<uint8_t>>& rowsTopDown,
                            const std::vector<uint32_t>& palette = {}) {
    const size_t rowBytes = (size_t(bits) * w + 31) / 32 * 4;
    std::vector<uint8_t> out(40 + 4 * palette.size() + rowBytes * h, 0);
    auto put = [&](size_t at, uint32_t v, int n) {
        for (int i = 0; i < n; ++i) out[at + i] = uint8_t(v >> (8 * i));
    };
    put(0, 40, 4);
    put(4, uint32_t(w), 4);
    put(8, uint32_t(h), 4);
    put(12, 1, 2);
    put(14, bits, 2);
    put(32, uint32_t(palette.size()), 4);
    for (size_t i = 0; i < palette.size(); ++i) put(40 + 4 * i, palette[i], 4);
    uint8_t* pixels = out.data() + 40 + 4 * palette.size();
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(pixels + rowBytes * (h - 1 - y), rowsTopDown[y].data(), rowsTopDown[y].size());
    return out;
}

constexpr auto kLoaded = ArgbImage::Load::Loaded;

class ResourceLoad : public ::testing::Test {
protected:
    void TearDown() override { SetResourcesForTesting(nullptr); }
    void Install(ResourceBlobWriter& w) {
        blob_ = w.Finish();
        table_ = ResourceTable(blob_.data(), blob_.size());
        SetResourcesForTesting(&table_);
    }
    std::vector<uint8_t> blob_;
    ResourceTable table_;
};

// 3 x 2, top row: blue, green, red; bottom row: black, grey 0x80, white.
const std::vector<std::vector<uint8_t>> kRows24 = {
    {255, 0, 0, 0, 255, 0, 0, 0, 255},
    {0, 0, 0, 0x80, 0x80, 0x80, 255, 255, 255}};

}  // namespace

TEST_F(ResourceLoad, TwentyFourBitRowsAreTurnedTopDown) {
    ResourceBlobWriter w;
    w.AddBitmap("pic", Packed(3, 2, 24, kRows24));
    Install(w);
    ArgbImage img;
    ASSERT_EQ(img.LoadFromResource("pic", false), kLoaded);
    ASSERT_EQ(img.Width(), 3);
    ASSERT_EQ(img.Height(), 2);
    const std::vector<uint32_t> want = {
        MakePixel(255, 0, 0, 255), MakePixel(255, 0, 255, 0),       MakePixel(255, 255, 0, 0),
        MakePixel(255, 0, 0, 0),   MakePixel(255, 0x80, 0x80, 0x80), MakePixel(255, 255, 255, 255)};
    EXPECT_EQ(std::vector<uint32_t>(img.Pixels(), img.Pixels() + 6), want);
    // Grey as alpha: 255 - blue, so black is opaque and white transparent.
    ASSERT_EQ(img.LoadFromResource("pic", true), kLoaded);
    EXPECT_EQ(img.At(0, 1), MakePixel(255, 0, 0, 0));
    EXPECT_EQ(img.At(1, 1), MakePixel(0x7F, 0x80, 0x80, 0x80));
    EXPECT_EQ(img.At(2, 1), MakePixel(0, 255, 255, 255));
    EXPECT_EQ(img.At(0, 0), MakePixel(0, 0, 0, 255));
}

TEST_F(ResourceLoad, PaletteAndThirtyTwoBitBitmaps) {
    ResourceBlobWriter w;
    // 8 bits: indices 0, 1, 7 (past the 2-entry table: black).
    w.AddBitmap("pal", Packed(3, 1, 8, {{0, 1, 7}}, {0x00102030, 0x00FFEEDD}));
    w.AddBitmap("deep", Packed(2, 1, 32, {{1, 2, 3, 0, 4, 5, 6, 0}}));
    Install(w);
    ArgbImage img;
    ASSERT_EQ(img.LoadFromResource("pal", false), kLoaded);
    EXPECT_EQ(img.At(0, 0), MakePixel(255, 0x10, 0x20, 0x30));
    EXPECT_EQ(img.At(1, 0), MakePixel(255, 0xFF, 0xEE, 0xDD));
    EXPECT_EQ(img.At(2, 0), MakePixel(255, 0, 0, 0));
    ASSERT_EQ(img.LoadFromResource("deep", false), kLoaded);
    EXPECT_EQ(img.At(0, 0), MakePixel(255, 3, 2, 1));
    EXPECT_EQ(img.At(1, 0), MakePixel(255, 6, 5, 4));
}

TEST_F(ResourceLoad, ColourAndMaskPairs) {
    ResourceBlobWriter w;
    w.AddBitmap("col", Packed(3, 2, 24, kRows24));
    // The mask is one column and one row short: the rest is transparent.
    w.AddBitmap("mask", Packed(2, 1, 24, {{0, 0, 0, 0x40, 0x40, 0x40}}));
    w.AddBitmap("bigmask", Packed(5, 4, 24, std::vector<std::vector<uint8_t>>(4, std::vector<uint8_t>(15, 0))));
    Install(w);
    ArgbImage img;
    ASSERT_EQ(img.LoadFromResources("col", "mask"), kLoaded);
    const std::vector<uint8_t> alpha = {255, 0xBF, 0, 0, 0, 0};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelAlpha(img.Pixels()[i]), alpha[i]) << i;
    EXPECT_EQ(img.At(1, 0) & ~0xFFu, MakePixel(0, 0, 255, 0));
    ASSERT_EQ(img.LoadFromResources("col", "bigmask"), kLoaded);
    EXPECT_EQ(img.Width(), 3);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelAlpha(img.Pixels()[i]), 255) << i;
}

TEST_F(ResourceLoad, MissingOrDamagedBitmapsLeaveAnEmptyImage) {
    ResourceBlobWriter w;
    w.AddBitmap("col", Packed(3, 2, 24, kRows24));
    auto badHeader = Packed(3, 2, 24, kRows24);
    badHeader[0] = 12;  // an old-style core header, not ours
    w.AddBitmap("bad", badHeader);
    auto cut = Packed(3, 2, 24, kRows24);
    cut.resize(cut.size() - 1);  // last pixel byte missing
    w.AddBitmap("cut", cut);
    auto huge = Packed(3, 2, 24, kRows24);
    huge[7] = 0x40;  // width 0x40000003
    w.AddBitmap("huge", huge);
    auto rle = Packed(3, 2, 24, kRows24);
    rle[16] = 1;  // compressed rows are not converted
    w.AddBitmap("rle", rle);
    Install(w);

    using Load = ArgbImage::Load;
    ArgbImage img(4, 4);
    EXPECT_EQ(img.LoadFromResource("nothing", false), Load::Missing);
    EXPECT_EQ(img.Width(), 0);
    EXPECT_EQ(img.Height(), 0);
    // Three refused by the bitmap itself (the application says "AttachMemory
    // error"); the compressed one is a readable bitmap we merely cannot
    // convert.
    for (const char* name : {"bad", "cut", "huge", "rle"}) {
        img.Allocate(4, 4);
        EXPECT_EQ(img.LoadFromResource(name, true),
                  std::string(name) == "rle" ? Load::Unconverted : Load::Refused)
            << name;
        EXPECT_EQ(img.Width(), 0) << name;
    }
    img.Allocate(4, 4);
    EXPECT_EQ(img.LoadFromResources("col", "nothing"), Load::Missing);
    EXPECT_EQ(img.Width(), 0);
    EXPECT_EQ(img.LoadFromResources("nothing", "col"), Load::Missing);
    EXPECT_EQ(img.LoadFromResources("col", "bad"), Load::Refused);
    EXPECT_EQ(img.LoadFromResources("bad", "col"), Load::Refused);
    EXPECT_EQ(img.LoadFromResources("col", "rle"), Load::Unconverted);
    EXPECT_EQ(img.Width(), 0);
}
