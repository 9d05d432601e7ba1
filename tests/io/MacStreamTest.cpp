#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "io/MacStream.h"

using namespace tabora;

namespace {
std::vector<uint8_t> Bytes(const PtrMacStream& s) {
    return std::vector<uint8_t>(s.Data(), s.Data() + s.Length());
}
}  // namespace

TEST(PtrMacStream, GrowsInSteps256AndReadsBack) {
    PtrMacStream s;
    for (int i = 0; i < 300; ++i) {
        uint8_t b = uint8_t(i);
        s.Write(&b, 1);
    }
    EXPECT_EQ(s.Length(), 300u);
    EXPECT_EQ(s.Capacity(), 512u);
    s.Seek(0);
    for (int i = 0; i < 300; ++i) {
        uint8_t b = 0;
        ASSERT_EQ(s.Read(&b, 1), 1u);
        EXPECT_EQ(b, uint8_t(i));
    }
}

TEST(PtrMacStream, CapacityIsNextMultipleStrictlyAbove) {
    PtrMacStream s;
    std::vector<uint8_t> block(256, 7);
    s.Write(block.data(), 256);
    EXPECT_EQ(s.Capacity(), 512u);  // 256 needed: strictly above
}

TEST(PtrMacStream, OverwriteKeepsLength) {
    PtrMacStream s;
    uint8_t ten[10] = {};
    s.Write(ten, 10);
    s.Seek(0);
    s.WriteLong(0x01020304);
    EXPECT_EQ(s.GetLength(), 10u);
}

TEST(PtrMacStream, ShortReadCopiesWhatIsLeft) {
    uint8_t block[6] = {1, 2, 3, 4, 5, 6};
    PtrMacStream s(block, 6, false);
    s.Seek(4);
    uint8_t out[4] = {9, 9, 9, 9};
    EXPECT_EQ(s.Read(out, 4), 2u);
    EXPECT_EQ(out[0], 5);
    EXPECT_EQ(out[1], 6);
    EXPECT_EQ(out[2], 9);
    EXPECT_EQ(s.Position(), 6u);
    s.Seek(100);
    EXPECT_EQ(s.Read(out, 1), 0u);
}

TEST(MacStream, TypedValuesAreBigEndian) {
    PtrMacStream s;
    s.WriteShort(0x1234);
    s.WriteShort(-2);
    s.WriteLong(0xA1B2C3D4);
    s.WriteFloat(1.0f);
    s.WriteRGBColor(MakeColor(0x99, 0x66, 0x33));
    s.WritePoint({-1, 5});
    s.WriteShort(0x12345);  // low 16 bits only
    std::vector<uint8_t> want = {0x12, 0x34, 0xFF, 0xFE, 0xA1, 0xB2, 0xC3, 0xD4, 0x3F, 0x80,
                                 0x00, 0x00, 0x99, 0x99, 0x66, 0x66, 0x33, 0x33, 0xFF, 0xFF,
                                 0x00, 0x05, 0x23, 0x45};
    EXPECT_EQ(Bytes(s), want);

    s.Seek(0);
    EXPECT_EQ(s.ReadShort(), 0x1234);
    EXPECT_EQ(s.ReadShort(), -2);
    EXPECT_EQ(s.ReadULong(), 0xA1B2C3D4u);
    EXPECT_EQ(s.ReadFloat(), 1.0f);
    EXPECT_EQ(s.ReadRGBColor(), MakeColor(0x99, 0x66, 0x33));
    EXPECT_EQ(s.ReadPoint(), (Point{-1, 5}));
    EXPECT_EQ(s.ReadUShort(), 0x2345);
    EXPECT_FALSE(s.Truncated());
}

TEST(MacStream, ColourChannelsKeepHighByte) {
    uint8_t block[6] = {0x12, 0xFF, 0x80, 0x01, 0x00, 0x7F};
    PtrMacStream s(block, 6, false);
    EXPECT_EQ(s.ReadRGBColor(), MakeColor(0x12, 0x80, 0x00));
}

TEST(MacStream, PStrings) {
    PtrMacStream s;
    s.WritePString("Arial");
    s.WritePString("");
    s.WritePString(std::string(300, 'x'));  // cut to 255
    EXPECT_EQ(s.Length(), 6u + 1u + 256u);
    s.Seek(0);
    char buf[256];
    s.ReadPString(buf);
    EXPECT_STREQ(buf, "Arial");
    s.ReadPString(buf);
    EXPECT_STREQ(buf, "");
    EXPECT_EQ(s.ReadPString(), std::string(255, 'x'));
}

TEST(MacStream, HandleNullAndCounted) {
    uint8_t block[] = {'n', 'u', 'l', 'l', 0, 0, 0, 2, 0xAB, 0xCD};
    PtrMacStream s(block, sizeof block, false);
    Handle h = s.ReadHandle();
    EXPECT_TRUE(h.isNull);
    EXPECT_EQ(h.size, 0u);
    EXPECT_EQ(h.data, nullptr);
    EXPECT_EQ(s.Position(), 4u);
    Handle g = s.ReadHandle();
    ASSERT_EQ(g.size, 2u);
    EXPECT_EQ(g.data[0], 0xAB);
    EXPECT_EQ(g.data[1], 0xCD);
    EXPECT_FALSE(s.Truncated());
}

TEST(MacStream, HostileHandleCountAllocatesNothing) {
    uint8_t block[] = {0xFF, 0xFF, 0xFF, 0xF0, 1, 2, 3};
    PtrMacStream s(block, sizeof block, false);
    Handle h = s.ReadHandle();
    EXPECT_EQ(h.size, 0u);
    EXPECT_EQ(h.data, nullptr);
    EXPECT_TRUE(s.Truncated());
}

TEST(MacStream, ShortTypedReadsYieldZerosAndFlag) {
    uint8_t block[3] = {0x12, 0x34, 0x56};
    PtrMacStream s(block, 3, false);
    EXPECT_EQ(s.ReadULong(), 0x12345600u);
    EXPECT_TRUE(s.Truncated());
    EXPECT_EQ(s.ReadShort(), 0);
    char buf[256];
    s.ReadPString(buf);
    EXPECT_STREQ(buf, "");
}

TEST(PtrMacStream, FixedBlockNeverGrows) {
    uint8_t block[4] = {};
    PtrMacStream s(block, 4, false);
    s.Seek(2);
    s.WriteLong(0x11223344);
    EXPECT_EQ(block[2], 0x11);
    EXPECT_EQ(block[3], 0x22);
    EXPECT_EQ(s.GetLength(), 4u);
}
