#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "io/CDib.h"
#include "io/MacStream.h"

using namespace tabora;

namespace {

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// A packed bitmap: header (with the given size field and colours used),
// `tableEntries` colour entries, `pixelBytes` bytes of pixels.
std::vector<uint8_t> Block(uint32_t headerSize, int32_t w, int32_t h, uint16_t bits,
                           uint32_t clrUsed, size_t tableEntries, size_t pixelBytes) {
    std::vector<uint8_t> b(40 + 4 * tableEntries + pixelBytes, 0);
    BitmapInfoHeader hd;
    hd.size = headerSize;
    hd.width = w;
    hd.height = h;
    hd.bitCount = bits;
    hd.clrUsed = clrUsed;
    std::memcpy(b.data(), &hd, 40);
    for (size_t i = 0; i < tableEntries; ++i) {
        b[40 + 4 * i] = uint8_t(i);          // blue
        b[40 + 4 * i + 2] = uint8_t(255 - i);  // red
    }
    return b;
}

class CDibTest : public ::testing::Test {};

}  // namespace

TEST_F(CDibTest, RowSizesAndImageSize) {
    EXPECT_EQ(CDib(196, 1, 24).GetRowBytes(), 588u);
    EXPECT_EQ(CDib(5, 1, 24).GetRowBytes(), 16u);
    EXPECT_EQ(CDib(33, 1, 1).GetRowBytes(), 8u);
    EXPECT_EQ(CDib(3, 1, 4).GetRowBytes(), 4u);
    CDib strip(196, 1200, 24);
    EXPECT_EQ(strip.Bits(), nullptr);  // no pixels before AllocateImage
    ASSERT_TRUE(strip.AllocateImage());
    EXPECT_EQ(strip.ImageSize(), 705600u);
    EXPECT_EQ(strip.Header()->sizeImage, 705600u);
    EXPECT_EQ(strip.GetDimensions(), (DibSize{196, 1200}));
    // The pixels start cleared.
    const uint8_t* bits = strip.Bits();
    EXPECT_TRUE(std::all_of(bits, bits + 705600, [](uint8_t v) { return v == 0; }));
    CDib empty;
    EXPECT_EQ(empty.GetDimensions(), (DibSize{0, 0}));
    EXPECT_EQ(empty.Header(), nullptr);
    EXPECT_FALSE(empty.AllocateImage());
}

TEST_F(CDibTest, HostileSizesAreRefusedNotWrapped) {
    CDib wide(INT32_MAX, INT32_MAX, 32);
    EXPECT_FALSE(wide.AllocateImage());
    EXPECT_EQ(wide.Bits(), nullptr);
    EXPECT_EQ(wide.GetRowBytes(), 0u);
    CDib negative(-5, 10, 24);
    EXPECT_FALSE(negative.AllocateImage());
    PtrMacStream out;
    EXPECT_FALSE(negative.Write(out, nullptr, 0));
    EXPECT_EQ(out.Length(), 0u);
}

TEST_F(CDibTest, ColourEntriesFollowBitCountAndColoursUsed) {
    EXPECT_EQ(CDib(4, 4, 1).ColorEntries(), 2);
    EXPECT_EQ(CDib(4, 4, 4).ColorEntries(), 16);
    EXPECT_EQ(CDib(4, 4, 8).ColorEntries(), 256);
    EXPECT_EQ(CDib(4, 4, 24).ColorEntries(), 0);

    auto b256 = Block(40, 4, 2, 8, 0, 256, 8);
    CDib dib;
    ASSERT_TRUE(dib.AttachMemory(b256.data(), b256.size(), false));
    EXPECT_EQ(dib.ColorEntries(), 256);
    EXPECT_EQ(dib.Bits(), nullptr);  // a read-only view
    EXPECT_EQ(std::as_const(dib).Bits(), b256.data() + 40 + 1024);
    ASSERT_EQ(dib.Palette().size(), 256u);
    EXPECT_EQ(dib.Palette()[3].red, 252);
    EXPECT_EQ(dib.Palette()[3].blue, 3);

    auto b20 = Block(40, 4, 2, 8, 20, 20, 8);
    ASSERT_TRUE(dib.AttachMemory(b20.data(), b20.size(), false));
    EXPECT_EQ(dib.ColorEntries(), 20);
    EXPECT_EQ(std::as_const(dib).Bits(), b20.data() + 40 + 80);
    EXPECT_TRUE(dib.MakePalette());

    auto b24 = Block(40, 4, 2, 24, 0, 0, 24);
    ASSERT_TRUE(dib.AttachMemory(b24.data(), b24.size(), false));
    EXPECT_EQ(dib.ColorEntries(), 0);
    EXPECT_FALSE(dib.MakePalette());
}

TEST_F(CDibTest, AttachMemoryRefusesWhatItCannotTake) {
    struct Case {
        const char* what;
        std::vector<uint8_t> block;
    };
    auto shortTable = Block(40, 4, 2, 8, 0, 255, 8);  // 256 entries expected
    auto shortPixels = Block(40, 5, 3, 24, 0, 0, 47);  // 48 needed
    auto lyingSize = Block(40, 5, 3, 24, 0, 0, 48);
    lyingSize[20] = 4;  // image size field 4: rows would run past it
    auto hugeColours = Block(40, 1, 1, 8, 0x7FFFFFFF, 0, 4);
    auto hugeWidth = Block(40, 0x7FFFFFFF, 2, 32, 0, 0, 16);
    auto topDown = Block(40, 2, -2, 24, 0, 0, 16);
    auto oddBits = Block(40, 2, 2, 7, 0, 0, 16);
    const Case cases[] = {{"core header", Block(12, 2, 2, 24, 0, 0, 16)},
                          {"v5 header", Block(124, 2, 2, 24, 0, 0, 16)},
                          {"short table", shortTable},
                          {"short pixels", shortPixels},
                          {"lying image size", lyingSize},
                          {"huge colour count", hugeColours},
                          {"huge width", hugeWidth},
                          {"top-down rows", topDown},
                          {"odd bit count", oddBits},
                          {"shorter than a header", std::vector<uint8_t>(39, 0)}};
    for (const Case& c : cases) {
        CDib dib;
        EXPECT_FALSE(dib.AttachMemory(c.block.data(), c.block.size(), false)) << c.what;
        EXPECT_EQ(dib.Header(), nullptr) << c.what;
        PtrMacStream out;
        EXPECT_FALSE(dib.Write(out, nullptr, 0)) << c.what;
    }
    CDib dib;
    EXPECT_FALSE(dib.AttachMemory(nullptr, 100, false));
    // A refused block that was handed over is freed (the leak checker of the
    // sanitizer build sees to that).
    auto* owned = new uint8_t[10]();
    EXPECT_FALSE(dib.AttachMemory(owned, 10, true));
    EXPECT_FALSE(dib.AttachResource("no such bitmap"));
}

TEST_F(CDibTest, HandedOverBlockIsWritable) {
    auto src = Block(40, 2, 2, 24, 0, 0, 16);
    auto* owned = new uint8_t[src.size()];
    std::memcpy(owned, src.data(), src.size());
    CDib dib;
    ASSERT_TRUE(dib.AttachMemory(owned, src.size(), true));
    ASSERT_EQ(dib.Bits(), owned + 40);
    dib.Bits()[0] = 7;
    dib.Empty();
    EXPECT_EQ(dib.Header(), nullptr);
    EXPECT_EQ(dib.ImageSize(), 0u);
}

TEST_F(CDibTest, WriteWithExtraBlock) {
    CDib dib(100, 20, 24);
    ASSERT_TRUE(dib.AllocateImage());
    dib.Bits()[0] = 0xAB;
    dib.Bits()[dib.ImageSize() - 1] = 0xCD;
    std::vector<uint8_t> extra(61);
    for (size_t i = 0; i < extra.size(); ++i) extra[i] = uint8_t(i + 1);
    PtrMacStream out;
    ASSERT_TRUE(dib.Write(out, extra.data(), int16_t(extra.size())));
    const uint8_t* f = out.Data();
    ASSERT_EQ(out.Length(), 6115u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(f + 2), 6115u);
    EXPECT_EQ(Le32(f + 6), 0u);
    EXPECT_EQ(Le32(f + 10), 115u);
    EXPECT_EQ(Le32(f + 34), 6000u);  // the header's image size
    EXPECT_EQ(std::memcmp(f + 54, extra.data(), 61), 0);
    EXPECT_EQ(f[115], 0xAB);
    EXPECT_EQ(f[6114], 0xCD);
}

TEST_F(CDibTest, WriteWithoutExtraIsAPlainBmp) {
    CDib dib(5, 3, 24);
    ASSERT_TRUE(dib.AllocateImage());
    for (int16_t len : {int16_t(0), int16_t(-7)}) {
        PtrMacStream out;
        const uint8_t junk[4] = {1, 2, 3, 4};
        ASSERT_TRUE(dib.Write(out, len ? junk : nullptr, len));
        EXPECT_EQ(Le32(out.Data() + 10), 54u);
        EXPECT_EQ(Le32(out.Data() + 2), 54u + 48u);
        EXPECT_EQ(out.Length(), 102u);
    }
    // A palette bitmap carries its table between header and pixels.
    CDib pal(3, 2, 4);
    ASSERT_TRUE(pal.AllocateImage());
    PtrMacStream out;
    ASSERT_TRUE(pal.Write(out, nullptr, 0));
    EXPECT_EQ(Le32(out.Data() + 10), 54u + 64u);
    EXPECT_EQ(out.Length(), 54u + 64u + 8u);
}
