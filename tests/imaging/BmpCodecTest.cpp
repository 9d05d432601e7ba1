#include <gtest/gtest.h>

#include "imaging/BmpCodec.h"
#include "platform/Error.h"
#include "tests/imaging/CodecTestSupport.h"

using namespace tabora;
using namespace tabora::test;

namespace {

Bytes WriteBmp(const ArgbImage& image, std::optional<Rect> rect, const Bytes& block) {
    PtrMacStream out;
    BmpCodec::Write(image, out, rect, block.empty() ? nullptr : block.data(), int16_t(block.size()));
    return BytesOf(out);
}

bool ReadBmp(const Bytes& file, Bytes& found) {
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    PtrMacStream out;
    bool ok = BmpCodec::ReadData(in, out);
    found = BytesOf(out);
    return ok;
}

void PutLe32(Bytes& f, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) f[at + size_t(i)] = uint8_t(v >> (8 * i));
}

}  // namespace

TEST(BmpCodec, HeadersBlockAndPaddedBottomUpRows) {
    ArgbImage image = Gradient(12, 7);
    const Rect r{1, 2, 6, 7};  // 5 x 5: rows of 15 bytes padded to 16
    Bytes block = SignedBlock(61);
    Bytes f = WriteBmp(image, r, block);
    const uint32_t rowBytes = 16, pixels = rowBytes * 5;
    ASSERT_EQ(f.size(), 54 + 61 + pixels);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(Le32(&f[2]), f.size());
    EXPECT_EQ(Le32(&f[6]), 0u);
    EXPECT_EQ(Le32(&f[10]), 54u + 61);
    EXPECT_EQ(Le32(&f[14]), 40u);
    EXPECT_EQ(int32_t(Le32(&f[18])), 5);
    EXPECT_EQ(int32_t(Le32(&f[22])), 5);  // positive: bottom-up
    EXPECT_EQ(Le16(&f[26]), 1);
    EXPECT_EQ(Le16(&f[28]), 24);
    EXPECT_EQ(Le32(&f[30]), 0u);
    EXPECT_EQ(Le32(&f[34]), pixels);
    for (size_t at = 38; at < 54; at += 4) EXPECT_EQ(Le32(&f[at]), 0u) << at;
    EXPECT_EQ(Bytes(f.begin() + 54, f.begin() + 54 + 61), block);

    const uint8_t* bits = &f[54 + 61];
    for (int32_t row = 0; row < 5; ++row) {
        const uint8_t* line = bits + size_t(row) * rowBytes;
        int32_t sourceY = r.top + (5 - 1 - row);
        for (int32_t x = 0; x < 5; ++x) {
            uint32_t p = image.At(r.left + x, sourceY);
            ASSERT_EQ(line[3 * x], PixelBlue(p));
            ASSERT_EQ(line[3 * x + 1], PixelGreen(p));
            ASSERT_EQ(line[3 * x + 2], PixelRed(p));
        }
        EXPECT_EQ(line[15], 0) << "padding";
    }
}

TEST(BmpCodec, FindsTheSettingsBehindTheSignature) {
    Bytes block = SignedBlock(61);
    Bytes found;
    ASSERT_TRUE(ReadBmp(WriteBmp(Gradient(4, 4), std::nullopt, block), found));
    EXPECT_EQ(found, Bytes(block.begin() + 4, block.end()));
}

TEST(BmpCodec, RefusesBitmapsItDidNotWrite) {
    Bytes found;
    // An ordinary BMP: pixels right at offset 54.
    EXPECT_FALSE(ReadBmp(WriteBmp(Gradient(4, 4), std::nullopt, {}), found));
    Bytes f = WriteBmp(Gradient(4, 4), std::nullopt, SignedBlock(61));
    // An offset that leaves no room even for the signature.
    Bytes small = f;
    PutLe32(small, 10, 56);
    EXPECT_FALSE(ReadBmp(small, found));
    // An offset beyond the file, or far beyond any block of ours.
    Bytes far = f;
    PutLe32(far, 10, 54 + 4 + 20000);
    EXPECT_FALSE(ReadBmp(far, found));
    PutLe32(far, 10, 0x80000000u);
    EXPECT_FALSE(ReadBmp(far, found));
    PutLe32(far, 10, 54 + 4 + 65536 + 10);  // would pass as 10 through 16 bits
    EXPECT_FALSE(ReadBmp(far, found));
    // Every cut short of the settings.
    for (size_t n = 0; n < 54 + 61; ++n) {
        ASSERT_FALSE(ReadBmp(Bytes(f.begin(), f.begin() + long(n)), found)) << n;
    }
    EXPECT_FALSE(ReadBmp(Bytes(200, 0xAB), found));
}

TEST(BmpCodec, WriteFailuresAreReported) {
    ArgbImage image = Gradient(10, 10);
    FailingStream out(100);
    EXPECT_THROW(BmpCodec::Write(image, out, std::nullopt, nullptr, 0), FileError);
    PtrMacStream memory;
    EXPECT_THROW(BmpCodec::Write(image, memory, Rect{20, 20, 30, 30}, nullptr, 0), TaboraError);
}
