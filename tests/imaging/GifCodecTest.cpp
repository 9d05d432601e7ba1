#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "imaging/GifCodec.h"
#include "io/Hex.h"
#include "platform/Error.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/TimeBudget.h"

using namespace tabora;
using namespace tabora::test;

namespace {

Bytes WriteGif(const ArgbImage& image, bool removeBackground, std::optional<Rect> rect,
               const Bytes& block) {
    PtrMacStream out;
    GifCodec::Write(image, out, removeBackground, rect, block.data(), int16_t(block.size()));
    return BytesOf(out);
}

bool ReadGif(const Bytes& file, PtrMacStream& out) {
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    return GifCodec::ReadData(in, out);
}

bool ReadGif(const Bytes& file) {
    PtrMacStream out;
    return ReadGif(file, out);
}

// A button-like picture: a background (alpha 0, colour grey), a body of a
// few colours, all components multiples of 8 so the quantiser keeps them.
ArgbImage Picture() {
    ArgbImage image(40, 16);
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            bool body = x >= 5 && x < 35 && y >= 3 && y < 13;
            image.At(x, y) = body ? MakePixel(255, uint8_t(8 * (x % 4)), 64, uint8_t(200 - 8 * (y % 3)))
                                  : MakePixel(0, 192, 192, 192);
        }
    }
    return image;
}

// The little-endian image descriptor of a one-pixel GIF that claims w x h.
Bytes HugeGif(uint16_t w, uint16_t h) {
    Bytes f = {'G', 'I', 'F', '8', '9', 'a', uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8),
               0x80, 0, 0, 0, 0, 0, 255, 255, 255};
    Bytes comment = {0x21, 0xFE, 8, '5', '4', '6', '2', '7', '2', '6', '1', 0};
    f.insert(f.end(), comment.begin(), comment.end());
    Bytes image = {0x2C, 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8), uint8_t(h), uint8_t(h >> 8), 0,
                   2, 2, 0x4C, 0x01, 0, 0x3B};
    f.insert(f.end(), image.begin(), image.end());
    return f;
}

}  // namespace

TEST(GifCodec, FileLayoutWithTransparency) {
    Bytes block = SignedBlock(61);
    Bytes file = WriteGif(Picture(), true, Rect{2, 1, 38, 15}, block);
    GifLayout g;
    ASSERT_TRUE(ParseGif(file, g));
    EXPECT_EQ(g.version, "GIF89a");
    EXPECT_EQ(g.width, 36);
    EXPECT_EQ(g.height, 14);
    EXPECT_EQ(g.packed, 0xF7);
    EXPECT_EQ(g.background, 0);
    EXPECT_EQ(g.aspect, 0);
    ASSERT_EQ(g.globalTable.size(), 768u);
    EXPECT_EQ(g.images, 1);
    EXPECT_TRUE(g.trailer);
    EXPECT_EQ(g.imageLeft, 0);
    EXPECT_EQ(g.imageTop, 0);
    EXPECT_EQ(g.imageWidth, 36);
    EXPECT_EQ(g.imageHeight, 14);
    EXPECT_EQ(g.imagePacked, 0);  // no local table, not interlaced
    EXPECT_EQ(g.lzwMinimum, 8);

    // The comment first, then the graphic control naming K.
    ASSERT_EQ(g.extensions.size(), 2u);
    EXPECT_EQ(g.extensions[0].label, 0xFE);
    ASSERT_EQ(g.extensions[0].subBlocks.size(), 1u);
    const Bytes& text = g.extensions[0].subBlocks[0];
    EXPECT_EQ(std::string(text.begin(), text.end()), HexEncode(block.data(), block.size()));
    ASSERT_EQ(g.extensions[1].label, 0xF9);
    ASSERT_EQ(g.extensions[1].subBlocks.size(), 1u);
    const Bytes& control = g.extensions[1].subBlocks[0];
    ASSERT_EQ(control.size(), 4u);
    EXPECT_EQ(control[0], 0x01);
    EXPECT_EQ(control[1], 0);
    EXPECT_EQ(control[2], 0);
    const uint8_t k = control[3];

    // Entry K is red; the entries after it are black; the quantised colours
    // come before it.
    EXPECT_EQ(g.globalTable[3 * k], 255);
    EXPECT_EQ(g.globalTable[3 * k + 1], 0);
    EXPECT_EQ(g.globalTable[3 * k + 2], 0);
    for (size_t i = 3 * (size_t(k) + 1); i < 768; ++i) ASSERT_EQ(g.globalTable[i], 0) << i;

    // Transparent exactly where alpha was 0; the body shows its colours.
    int32_t w = 0, h = 0;
    Bytes indices, table;
    ASSERT_TRUE(DecodeGif(file, w, h, indices, table));
    ArgbImage picture = Picture();
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = picture.At(x + 2, y + 1);
            uint8_t index = indices[size_t(y * w + x)];
            if (PixelAlpha(p) == 0) {
                ASSERT_EQ(index, k);
            } else {
                ASSERT_NE(index, k);
                ASSERT_EQ(table[3 * index], PixelRed(p));
                ASSERT_EQ(table[3 * index + 1], PixelGreen(p));
                ASSERT_EQ(table[3 * index + 2], PixelBlue(p));
            }
        }
    }
}

TEST(GifCodec, OpaqueGifHasNoControlAndTheTopLeftColourAtK) {
    // An odd background colour the 5-bit quantiser could not keep exactly.
    ArgbImage picture = Picture();
    for (int32_t y = 0; y < 16; ++y) {
        for (int32_t x = 0; x < 40; ++x) {
            if (PixelAlpha(picture.At(x, y)) == 0) picture.At(x, y) = MakePixel(0, 201, 117, 13);
        }
    }
    Bytes file = WriteGif(picture, false, std::nullopt, SignedBlock(61));
    GifLayout g;
    ASSERT_TRUE(ParseGif(file, g));
    ASSERT_EQ(g.extensions.size(), 1u);
    EXPECT_EQ(g.extensions[0].label, 0xFE);

    int32_t w = 0, h = 0;
    Bytes indices, table;
    ASSERT_TRUE(DecodeGif(file, w, h, indices, table));
    const uint8_t k = indices[0];
    EXPECT_EQ(table[3 * k], 201);
    EXPECT_EQ(table[3 * k + 1], 117);
    EXPECT_EQ(table[3 * k + 2], 13);
    for (int32_t i = 0; i < w * h; ++i) {
        bool background = PixelAlpha(picture.Pixels()[i]) == 0;
        ASSERT_EQ(indices[size_t(i)] == k, background) << i;
    }
    // K follows the quantised colours: no body pixel uses an index above it.
    for (int32_t i = 0; i < w * h; ++i) ASSERT_LE(indices[size_t(i)], k);
}

TEST(GifCodec, LongCommentIsSplitIntoSubBlocksAndJoinedOnRead) {
    Bytes block = SignedBlock(566);  // the largest block: 1132 hex characters
    Bytes file = WriteGif(Picture(), true, std::nullopt, block);
    GifLayout g;
    ASSERT_TRUE(ParseGif(file, g));
    ASSERT_EQ(g.extensions[0].subBlocks.size(), 5u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(g.extensions[0].subBlocks[i].size(), 255u);
    EXPECT_EQ(g.extensions[0].subBlocks[4].size(), 1132u - 4 * 255);

    PtrMacStream out;
    ASSERT_TRUE(ReadGif(file, out));
    EXPECT_EQ(out.Position(), 4u);  // just after the signature
    EXPECT_EQ(BytesOf(out), block);
}

TEST(GifCodec, RefusesFilesWhoseFirstExtensionIsNotOurComment) {
    Bytes file = WriteGif(Picture(), false, std::nullopt, SignedBlock(61));
    ASSERT_TRUE(ReadGif(file));
    GifLayout g;
    ASSERT_TRUE(ParseGif(file, g));
    const size_t afterTable = 13 + 768;

    // An application extension in front of the comment.
    Bytes app = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    Bytes withApp = file;
    withApp.insert(withApp.begin() + long(afterTable), app.begin(), app.end());
    ASSERT_TRUE(ParseGif(withApp, g));
    EXPECT_FALSE(ReadGif(withApp));

    // A comment whose text is not the signed block.
    Bytes other = WriteGif(Picture(), false, std::nullopt, Bytes{'N', 'o', 'p', 'e', 1, 2});
    EXPECT_FALSE(ReadGif(other));

    // No image at all: the comment alone does not count.
    Bytes noImage(file.begin(), file.begin() + long(afterTable + 3 + 122 + 1));
    noImage.push_back(0x3B);
    GifLayout empty;
    ASSERT_TRUE(ParseGif(noImage, empty));
    EXPECT_EQ(empty.images, 0);
    EXPECT_FALSE(ReadGif(noImage));
}

TEST(GifCodec, HostileFilesEndInFalseQuickly) {
    Bytes file = WriteGif(Picture(), true, std::nullopt, SignedBlock(61));
    for (size_t n = 0; n < file.size(); ++n) {
        ASSERT_FALSE(ReadGif(Bytes(file.begin(), file.begin() + long(n)))) << n;
    }
    EXPECT_FALSE(ReadGif({}));
    EXPECT_FALSE(ReadGif(Bytes(500, 0x21)));
    EXPECT_FALSE(ReadGif(Bytes{'G', 'I', 'F', '8', '9', 'a'}));

    // A picture that claims 65535 x 65535 pixels costs nothing: the block
    // is found without decoding pixels.
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ReadGif(HugeGif(65535, 65535)));
    if (TimeBudgetsHeld()) {
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
    }
}

TEST(GifCodec, WriteFailuresAreReported) {
    ArgbImage picture = Picture();
    Bytes block = SignedBlock(61);
    for (uint32_t limit : {0u, 10u, 800u, 900u}) {
        FailingStream out(limit);
        EXPECT_THROW(GifCodec::Write(picture, out, true, std::nullopt, block.data(), 61), FileError)
            << limit;
    }
    PtrMacStream out;
    ArgbImage empty;
    EXPECT_THROW(GifCodec::Write(empty, out, true, std::nullopt, block.data(), 61), TaboraError);
}

// The library's quantiser keeps the axis it sorts along in a global, so two
// threads quantising at once could each sort by the other's axis: a batch
// on several cores wrote different colour tables for the same button. Every
// thread must write the bytes one thread alone writes.
TEST(GifCodec, ThreadsWriteTheBytesOneThreadWrites) {
    // Many colours, so the quantiser has boxes to split and sort.
    std::vector<ArgbImage> pictures;
    for (int p = 0; p < 4; ++p) {
        ArgbImage image(174, 74);
        for (int32_t y = 0; y < 74; ++y) {
            for (int32_t x = 0; x < 174; ++x) {
                image.At(x, y) = MakePixel(255, uint8_t(x * (3 + p) + y), uint8_t(y * (5 + p) ^ x),
                                           uint8_t((x * y) >> p));
            }
        }
        pictures.push_back(std::move(image));
    }
    const Bytes block = SignedBlock(100);
    std::vector<Bytes> expected;
    for (const ArgbImage& image : pictures)
        expected.push_back(WriteGif(image, false, std::nullopt, block));

    constexpr int kThreads = 4;
    constexpr int kRounds = 12;
    std::vector<int> mismatches(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int round = 0; round < kRounds; ++round) {
                const size_t p = size_t(t + round) % pictures.size();
                if (WriteGif(pictures[p], false, std::nullopt, block) != expected[p])
                    ++mismatches[size_t(t)];
            }
        });
    }
    for (std::thread& t : threads) t.join();
    for (int t = 0; t < kThreads; ++t) EXPECT_EQ(mismatches[size_t(t)], 0) << "thread " << t;
}
