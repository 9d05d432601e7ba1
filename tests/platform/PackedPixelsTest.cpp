#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/PackedPixels.h"

using namespace tabora;

namespace {

std::vector<uint8_t> Smooth(size_t count) {
    std::vector<uint8_t> bytes(count);
    for (size_t i = 0; i < count; ++i) bytes[i] = uint8_t(i / 64 + (i % 4) * 50);
    return bytes;
}

}  // namespace

TEST(PackedPixels, RoundTripsAndPacksSmoothPixelsSmall) {
    const std::vector<uint8_t> pixels = Smooth(40000);
    const std::vector<uint8_t> packed = DeflatePixels(pixels.data(), pixels.size());
    EXPECT_LT(packed.size(), pixels.size() / 10);
    EXPECT_EQ(DeflatePixels(pixels.data(), pixels.size()), packed) << "not the same every run";
    std::vector<uint8_t> back(pixels.size());
    ASSERT_TRUE(InflatePixels(packed, back.data(), back.size()));
    EXPECT_EQ(back, pixels);
}

TEST(PackedPixels, OnlyAWholeStreamOfExactlyTheRightLengthIsAccepted) {
    const std::vector<uint8_t> pixels = Smooth(4096);
    const std::vector<uint8_t> packed = DeflatePixels(pixels.data(), pixels.size());
    std::vector<uint8_t> out(pixels.size() + 1);
    // More pixels than the picture holds, or fewer.
    EXPECT_FALSE(InflatePixels(packed, out.data(), pixels.size() - 1));
    EXPECT_FALSE(InflatePixels(packed, out.data(), pixels.size() + 1));
    // Cut short at any byte, or followed by anything.
    for (size_t cut = 0; cut < packed.size(); ++cut)
        EXPECT_FALSE(InflatePixels({packed.data(), cut}, out.data(), pixels.size())) << cut;
    std::vector<uint8_t> longer = packed;
    longer.push_back(0);
    EXPECT_FALSE(InflatePixels(longer, out.data(), pixels.size()));
    // Any damaged byte: the stream's structure or its checksum gives it away.
    for (size_t at = 0; at < packed.size(); ++at) {
        std::vector<uint8_t> damaged = packed;
        damaged[at] ^= 0x21;
        EXPECT_FALSE(InflatePixels(damaged, out.data(), pixels.size())) << at;
    }
    EXPECT_FALSE(InflatePixels({}, out.data(), 0));
}
