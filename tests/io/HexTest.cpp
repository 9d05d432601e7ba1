#include <gtest/gtest.h>

#include "io/Hex.h"

using namespace tabora;

TEST(Hex, EncodesUpperCaseHighNibbleFirst) {
    uint8_t bytes[] = {0x0A, 0xFF, 0x00, 0x54, 0x9B};
    EXPECT_EQ(HexEncode(bytes, 5), "0AFF00549B");
    EXPECT_EQ(HexEncode(bytes, 0), "");
}

TEST(Hex, DecodesWithHistoricalLeniency) {
    EXPECT_EQ(HexDecode("0AFF"), (std::vector<uint8_t>{0x0A, 0xFF}));
    // A lower-case letter counts as its code minus 48: 'a' = 49.
    EXPECT_EQ(HexDecode("0aFF"), (std::vector<uint8_t>{0x31, 0xFF}));
    EXPECT_EQ(HexDecode("ABC"), (std::vector<uint8_t>{0xAB}));
    EXPECT_TRUE(HexDecode("").empty());
    // Any byte value is accepted and kept to 8 bits, never undefined.
    EXPECT_EQ(HexDecode("\xFF\x01").size(), 1u);
}

TEST(Hex, RoundTripsEveryByte) {
    std::vector<uint8_t> all(256);
    for (int i = 0; i < 256; ++i) all[i] = uint8_t(i);
    EXPECT_EQ(HexDecode(HexEncode(all.data(), all.size())), all);
}
