#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "io/MacStream.h"
#include "platform/Resources.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

// A style resource of any version, written by hand so the tests do not lean
// on WriteStyle alone.
std::vector<uint8_t> Resource(uint16_t version, int16_t width, int16_t height,
                              const std::vector<uint8_t>& pixels, uint32_t pixelCount, bool stretch,
                              int16_t defaultStretch, int16_t stretchColumn) {
    PtrMacStream payload;
    payload.WriteShort(width);
    payload.WriteShort(height);
    payload.WriteLong(pixelCount);
    payload.Write(pixels.data(), uint32_t(pixels.size()));
    std::vector<uint8_t> scrambled(payload.Data(), payload.Data() + payload.Length());
    ScrambleStyleBytes(scrambled.data(), scrambled.size());
    PtrMacStream out;
    out.WriteShort(version);
    out.WriteLong(uint32_t(scrambled.size()));
    out.Write(scrambled.data(), uint32_t(scrambled.size()));
    if (stretch) {
        out.WriteShort(defaultStretch);
        out.WriteShort(stretchColumn);
    }
    return {out.Data(), out.Data() + out.Length()};
}

std::vector<uint8_t> Pixels(int w, int h) {
    std::vector<uint8_t> p(size_t(w) * size_t(h) * 4);
    for (size_t i = 0; i < p.size(); ++i) p[i] = uint8_t(i * 7 + 3);
    return p;
}

std::unique_ptr<ButtonStyle> Read(const std::vector<uint8_t>& bytes) {
    PtrMacStream s(bytes.data(), uint32_t(bytes.size()), false);
    return Archive::ReadStyle(s);
}

std::vector<uint8_t> Valid(int16_t defaultStretch = 16, int16_t stretchColumn = 77) {
    return Resource(0x0102, 100, 1, Pixels(100, 1), 400, true, defaultStretch, stretchColumn);
}

}  // namespace

TEST(StyleScramble, BitPairSwapExamples) {
    EXPECT_EQ(SwapBitPairs(0x01), 0x02);
    EXPECT_EQ(SwapBitPairs(0xAA), 0x55);
    EXPECT_EQ(SwapBitPairs(0xC3), 0xC3);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(SwapBitPairs(SwapBitPairs(uint8_t(b))), b);
}

TEST(StyleScramble, RoundTripsAndHidesThePattern) {
    // Longer than one cycle of the 8-bit key.
    std::vector<uint8_t> plain(1000, 0);
    for (size_t i = 0; i < plain.size(); ++i) plain[i] = uint8_t(i % 3 == 0 ? 0 : i);
    std::vector<uint8_t> bytes = plain;
    ScrambleStyleBytes(bytes.data(), bytes.size());
    EXPECT_NE(bytes, plain);
    // A run of equal bytes does not stay a run.
    EXPECT_NE(bytes[0], bytes[3]);
    UnscrambleStyleBytes(bytes.data(), bytes.size());
    EXPECT_EQ(bytes, plain);
}

TEST(ArchiveReadStyle, ReadsPixelsAndStretchValues) {
    auto style = Read(Valid());
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->image.Width(), 100);
    EXPECT_EQ(style->image.Height(), 1);
    EXPECT_EQ(style->defaultStretch, 16);
    EXPECT_EQ(style->stretchColumn, 77);
    // Stored bytes A, R, G, B make the pixel word as they stand.
    const auto p = Pixels(100, 1);
    EXPECT_EQ(style->image.At(0, 0), MakePixel(p[0], p[1], p[2], p[3]));
    EXPECT_EQ(style->image.At(99, 0), MakePixel(p[396], p[397], p[398], p[399]));
}

TEST(ArchiveReadStyle, OlderVersionCarriesNoStretchValues) {
    auto bytes = Resource(0x0101, 3, 2, Pixels(3, 2), 24, false, 0, 0);
    auto style = Read(bytes);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->defaultStretch, 0);
    EXPECT_EQ(style->stretchColumn, -1);
}

TEST(ArchiveReadStyle, WriteStyleRoundTrips) {
    ArgbImage image(5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) image.At(x, y) = MakePixel(uint8_t(x * 50), 1, uint8_t(y), 9);
    PtrMacStream out;
    Archive::WriteStyle(out, image, 7, 2);
    EXPECT_EQ(out.Length(), 5u * 4u * 4u + 8u + 10u);  // payload + 10
    out.Seek(0);
    auto style = Archive::ReadStyle(out);
    ASSERT_NE(style, nullptr);
    EXPECT_EQ(style->defaultStretch, 7);
    EXPECT_EQ(style->stretchColumn, 2);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(style->image.At(x, y), image.At(x, y));
}

TEST(ArchiveReadStyle, EveryTruncationIsRefused) {
    const auto bytes = Valid();
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(n));
        EXPECT_EQ(Read(cut), nullptr) << "cut at " << n;
    }
}

TEST(ArchiveReadStyle, HostilePayloadsAreRefused) {
    // "null" in place of the payload.
    std::vector<uint8_t> nullPayload = {0x01, 0x02, 'n', 'u', 'l', 'l', 0, 0, 0xFF, 0xFF};
    EXPECT_EQ(Read(nullPayload), nullptr);
    // A count far beyond the resource.
    std::vector<uint8_t> huge = {0x01, 0x02, 0x7F, 0xFF, 0xFF, 0xFF, 1, 2, 3, 4};
    EXPECT_EQ(Read(huge), nullptr);
    // Pixel counts that do not match the size, or claim more than is there.
    EXPECT_EQ(Read(Resource(0x0102, 2, 2, Pixels(2, 2), 12, true, 0, -1)), nullptr);
    EXPECT_EQ(Read(Resource(0x0102, 2, 2, Pixels(2, 2), 20, true, 0, -1)), nullptr);
    EXPECT_EQ(Read(Resource(0x0102, 2, 3, Pixels(2, 2), 24, true, 0, -1)), nullptr);
    // "null" in place of the pixel count.
    EXPECT_EQ(Read(Resource(0x0102, 2, 2, {}, 0x6E756C6C, true, 0, -1)), nullptr);
    // Sizes the canvas cannot hold.
    for (auto [w, h] : {std::pair{0, 1}, {1, 0}, {-3, 2}, {167, 1}, {1, 67}}) {
        const int cw = std::max(w, 0), ch = std::max(h, 0);
        auto bytes = Resource(0x0102, int16_t(w), int16_t(h), Pixels(cw, ch), uint32_t(w * h * 4),
                              true, 0, -1);
        EXPECT_EQ(Read(bytes), nullptr) << w << " x " << h;
    }
    // The largest legal picture is fine.
    EXPECT_NE(Read(Resource(0x0102, 166, 66, Pixels(166, 66), 166 * 66 * 4, true, 0, -1)), nullptr);
}

TEST(ArchiveReadStyle, MutatedResourcesGiveNothingOrAWholeStyle) {
    // Damaged bytes anywhere (header, scrambled payload, trailer) either
    // yield a complete, bounded style or nothing.
    const auto valid = Resource(0x0102, 6, 3, Pixels(6, 3), 72, true, 4, 2);
    uint32_t seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int round = 0; round < 3000; ++round) {
        auto bytes = valid;
        const int flips = 1 + int(next() % 4);
        for (int f = 0; f < flips; ++f) bytes[next() % bytes.size()] ^= uint8_t(1u << (next() % 8));
        if (round % 7 == 0) bytes.resize(next() % bytes.size());
        auto style = Read(bytes);
        if (!style) continue;
        const int32_t w = style->image.Width(), h = style->image.Height();
        EXPECT_TRUE(w >= 1 && w <= Archive::kMaxStyleWidth && h >= 1 &&
                    h <= Archive::kMaxStyleHeight);
        EXPECT_TRUE(style->stretchColumn == -1 ||
                    (style->stretchColumn >= 0 && style->stretchColumn < w));
        EXPECT_TRUE(style->defaultStretch >= 0 &&
                    style->defaultStretch <= Archive::kMaxStyleWidth - w);
    }
}

TEST(ArchiveReadStyle, ForeignStretchValuesAreMadeHarmless) {
    auto beyond = Read(Valid(-5, 100));  // column past the last one
    ASSERT_NE(beyond, nullptr);
    EXPECT_EQ(beyond->stretchColumn, -1);
    EXPECT_EQ(beyond->defaultStretch, 0);
    auto wide = Read(Valid(500, -7));  // widening past the canvas
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide->stretchColumn, -1);
    EXPECT_EQ(wide->defaultStretch, Archive::kMaxStyleWidth - 100);
    auto last = Read(Valid(66, 99));
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->stretchColumn, 99);
    EXPECT_EQ(last->defaultStretch, 66);
}

TEST(ArchiveHitTest, EdgesAndOverlaps) {
    const ArchiveEntry table[] = {
        {10, 20, 30, 40, 1, 0, -1},  // top, left, bottom, right
        {25, 35, 50, 60, 2, 0, -1},  // overlaps the first at (35..40, 25..30)
        {0, 0, 0, 0, 0, 0, -1},      // empty: never hit
    };
    EXPECT_EQ(Archive::HitTestTable(table, 20, 10), 1);  // left and top edges hit
    EXPECT_EQ(Archive::HitTestTable(table, 39, 29), 1);
    EXPECT_EQ(Archive::HitTestTable(table, 40, 15), 0);  // right edge misses
    EXPECT_EQ(Archive::HitTestTable(table, 25, 30), 0);  // bottom edge misses
    EXPECT_EQ(Archive::HitTestTable(table, 19, 15), 0);
    EXPECT_EQ(Archive::HitTestTable(table, 36, 26), 1);  // overlap: lower number
    EXPECT_EQ(Archive::HitTestTable(table, 45, 30), 2);
    EXPECT_EQ(Archive::HitTestTable(table, 0, 0), 0);
}

TEST(ArchiveHitTest, CatalogueEdgesOfTheFirstStyle) {
    const Archive& archive = GetArchive();
    EXPECT_EQ(archive.HitTest(4, 8), 1);
    EXPECT_EQ(archive.HitTest(147, 37), 1);
    EXPECT_EQ(archive.HitTest(148, 20), 0);
    EXPECT_EQ(archive.HitTest(100, 38), 0);
    EXPECT_EQ(archive.HitTest(158, 6), 2);
    EXPECT_EQ(archive.HitTest(189, 20), 0);
    EXPECT_EQ(archive.HitTest(-1, 10), 0);
    EXPECT_EQ(archive.HitTest(100, Archive::kStripHeight), 0);
}

TEST(ArchiveLoad, NumbersWithoutDataLoadNothing) {
    const Archive& archive = GetArchive();
    EXPECT_EQ(archive.Load(0), nullptr);
    EXPECT_EQ(archive.Load(-1), nullptr);
    EXPECT_EQ(archive.Load(Archive::kEntryCount + 1), nullptr);
    EXPECT_EQ(archive.Load(65536 + 1), nullptr);
    EXPECT_FALSE(archive.HasStyleData(0));
    EXPECT_EQ(archive.Entry(0), nullptr);
    EXPECT_EQ(archive.Entry(Archive::kEntryCount + 1), nullptr);
    // Entry 3 is the first heading.
    EXPECT_FALSE(archive.HasStyleData(3));
    EXPECT_EQ(archive.Load(3), nullptr);
}

TEST(ArchiveLoad, FirstTwoStylesFromTheEmbeddedResources) {
    const Archive& archive = GetArchive();
    auto first = archive.Load(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->image.Width(), 144);
    EXPECT_EQ(first->image.Height(), 30);
    EXPECT_EQ(first->defaultStretch, 16);
    EXPECT_EQ(first->stretchColumn, 77);
    auto second = archive.Load(2);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->image.Width(), 31);
    EXPECT_EQ(second->image.Height(), 31);
    EXPECT_EQ(second->defaultStretch, 0);
    EXPECT_EQ(second->stretchColumn, -1);
    // Round: the corners are clear, the middle is solid.
    EXPECT_EQ(PixelAlpha(second->image.At(0, 0)), 0);
    EXPECT_EQ(PixelAlpha(second->image.At(15, 15)), 255);
}

TEST(ArchiveLoad, MissingOrDamagedResourceLoadsNothing) {
    const Archive& archive = GetArchive();
    ResourceTable empty;
    SetResourcesForTesting(&empty);
    EXPECT_EQ(archive.Load(1), nullptr);

    ResourceBlobWriter writer;
    writer.AddRaw(Archive::kStyleResourceBase + 128, {0x01, 0x02, 0x00, 0x00, 0x10});
    auto blob = writer.Finish();
    ResourceTable damaged(blob.data(), blob.size());
    SetResourcesForTesting(&damaged);
    EXPECT_EQ(archive.Load(1), nullptr);
    SetResourcesForTesting(nullptr);
}
