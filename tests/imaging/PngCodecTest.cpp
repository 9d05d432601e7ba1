#include <gtest/gtest.h>

#include "imaging/PngCodec.h"
#include "io/Hex.h"
#include "platform/Error.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/HostileCorpus.h"

#include <zlib.h>

using namespace tabora;
using namespace tabora::test;

namespace {

Bytes WritePng(const ArgbImage& image, bool keepAlpha, std::optional<Rect> rect, const Bytes& block) {
    PtrMacStream out;
    PngCodec::Write(image, out, keepAlpha, rect, block.data(), int16_t(block.size()));
    return BytesOf(out);
}

// ReadData's result, with the found bytes.
bool ReadPng(const Bytes& file, Bytes& found) {
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    PtrMacStream out;
    bool ok = PngCodec::ReadData(in, out);
    found = BytesOf(out);
    EXPECT_EQ(out.Position(), 0u);
    return ok;
}

}  // namespace

TEST(PngCodec, WritesSignatureHeaderTextDataEndAndNothingElse) {
    Bytes payload = SignedBlock(57);
    Bytes file = WritePng(Gradient(30, 20), false, Rect{3, 2, 23, 12}, payload);
    std::vector<PngChunk> chunks = PngChunks(file);
    ASSERT_GE(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].type, "IHDR");
    EXPECT_EQ(chunks[1].type, "tEXt");
    for (size_t i = 2; i + 1 < chunks.size(); ++i) EXPECT_EQ(chunks[i].type, "IDAT");
    EXPECT_EQ(chunks.back().type, "IEND");

    const Bytes& ihdr = chunks[0].data;
    EXPECT_EQ(Be32(&ihdr[0]), 20u);  // width of the rectangle
    EXPECT_EQ(Be32(&ihdr[4]), 10u);
    EXPECT_EQ(ihdr[8], 8);   // depth
    EXPECT_EQ(ihdr[9], 6);   // RGBA
    EXPECT_EQ(ihdr[10], 0);  // compression
    EXPECT_EQ(ihdr[11], 0);  // filter
    EXPECT_EQ(ihdr[12], 0);  // not interlaced

    std::string text(chunks[1].data.begin(), chunks[1].data.end());
    EXPECT_EQ(text, std::string("Tbra") + '\0' + HexEncode(payload.data(), payload.size()));
}

TEST(PngCodec, WithoutABlockThereIsNoTextChunk) {
    PtrMacStream out;
    PngCodec::Write(Gradient(5, 5), out, true, std::nullopt, nullptr, 0);
    std::vector<PngChunk> chunks = PngChunks(BytesOf(out));
    ASSERT_GE(chunks.size(), 3u);
    for (const PngChunk& chunk : chunks) EXPECT_NE(chunk.type, "tEXt");
}

TEST(PngCodec, PixelsAreTheRectangleWithOrWithoutAlpha) {
    ArgbImage image = Gradient(30, 20);
    const Rect r{3, 2, 23, 12};
    for (bool keepAlpha : {false, true}) {
        int32_t w = 0, h = 0;
        Bytes rgba;
        ASSERT_TRUE(DecodePng(WritePng(image, keepAlpha, r, SignedBlock(8)), w, h, rgba));
        ASSERT_EQ(w, 20);
        ASSERT_EQ(h, 10);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x) {
                uint32_t p = image.At(r.left + x, r.top + y);
                const uint8_t* q = &rgba[4 * size_t(y * w + x)];
                ASSERT_EQ(q[0], PixelRed(p));
                ASSERT_EQ(q[1], PixelGreen(p));
                ASSERT_EQ(q[2], PixelBlue(p));
                ASSERT_EQ(q[3], keepAlpha ? PixelAlpha(p) : 255);
            }
        }
    }
    // Without a rectangle the whole image is written.
    int32_t w = 0, h = 0;
    Bytes rgba;
    ASSERT_TRUE(DecodePng(WritePng(image, true, std::nullopt, {}), w, h, rgba));
    EXPECT_EQ(w, 30);
    EXPECT_EQ(h, 20);
}

TEST(PngCodec, FindsTheBlockItWrote) {
    Bytes payload = SignedBlock(300);
    Bytes found;
    ASSERT_TRUE(ReadPng(WritePng(Gradient(10, 10), true, std::nullopt, payload), found));
    EXPECT_EQ(found, payload);
}

TEST(PngCodec, RefusesTextLayoutsThatAreNotExactlyOneTbraChunk) {
    const std::string hex = "0103AB";
    Bytes found;
    EXPECT_TRUE(ReadPng(MakePng({{"Tbra", hex}}), found));
    EXPECT_EQ(found, (Bytes{0x01, 0x03, 0xAB}));
    // An image editor's comment next to ours hides ours.
    EXPECT_FALSE(ReadPng(MakePng({{"Comment", "made elsewhere"}, {"Tbra", hex}}), found));
    EXPECT_FALSE(ReadPng(MakePng({{"Tbra", hex}, {"Comment", "x"}}), found));
    // Case matters; after the image data the chunk is never seen.
    EXPECT_FALSE(ReadPng(MakePng({{"TBRA", hex}}), found));
    EXPECT_FALSE(ReadPng(MakePng({}, {{"Tbra", hex}}), found));
    EXPECT_FALSE(ReadPng(MakePng({}), found));
}

// What other programs put around the block, and the text chunk kinds as
// the reader has always taken them.
TEST(PngCodec, TakesTheBlockAmongOtherMetadataAsBefore) {
    const std::string hex = "0103AB";
    const std::string tbra = std::string("Tbra") + '\0' + hex;
    auto withChunks = [&](const std::vector<std::pair<const char*, Bytes>>& before,
                          bool ihdrFirst = true) {
        Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        const Bytes start = PngStart();
        Bytes ihdr(start.begin() + 8, start.end());
        if (ihdrFirst) png.insert(png.end(), ihdr.begin(), ihdr.end());
        for (const auto& [type, data] : before) PngChunkTo(png, type, data);
        if (!ihdrFirst) png.insert(png.end(), ihdr.begin(), ihdr.end());
        PngEnd(png);
        return png;
    };
    const Bytes text(tbra.begin(), tbra.end());
    Bytes found;
    // Gamma, resolution, time, a palette suggestion, a private chunk: all passed over.
    EXPECT_TRUE(ReadPng(withChunks({{"gAMA", {0, 0, 0xB1, 0x8F}},
                                    {"pHYs", {0, 0, 0x0E, 0xC4, 0, 0, 0x0E, 0xC4, 1}},
                                    {"sPLT", SuggestedPaletteChunk("p", 64)},
                                    {"quIt", Bytes(100, 7)},
                                    {"tEXt", text},
                                    {"tIME", {0x07, 0xE8, 1, 2, 3, 4, 5}}}),
                        found));
    EXPECT_EQ(found, (Bytes{0x01, 0x03, 0xAB}));
    // Compressed, the block is unpacked; the text ends at a NUL.
    Bytes compressed = {'T', 'b', 'r', 'a', 0, 0};
    const std::string inner = hex + '\0' + "ignored";
    uLongf size = compressBound(uLong(inner.size()));
    Bytes packed(size);
    compress(packed.data(), &size, reinterpret_cast<const Bytef*>(inner.data()),
             uLong(inner.size()));
    compressed.insert(compressed.end(), packed.begin(), packed.begin() + long(size));
    EXPECT_TRUE(ReadPng(withChunks({{"zTXt", compressed}}), found));
    EXPECT_EQ(found, (Bytes{0x01, 0x03, 0xAB}));
    Bytes cut = text;
    cut.insert(cut.begin() + 7, 0);
    EXPECT_TRUE(ReadPng(withChunks({{"tEXt", cut}}), found));
    EXPECT_EQ(found, (Bytes{0x01}));
    // An international text never carried the block (the reader used to
    // find it empty).
    Bytes international = {'T', 'b', 'r', 'a', 0, 0, 0, 0, 0};
    international.insert(international.end(), hex.begin(), hex.end());
    found.clear();
    EXPECT_FALSE(ReadPng(withChunks({{"iTXt", international}}), found) && !found.empty());

    // No block is longer than 4096 characters of hex text; a longer text is
    // not ours, whether plain or compressed.
    auto compress = [](const std::string& key, const std::string& text) {
        Bytes chunk(key.begin(), key.end());
        chunk.insert(chunk.end(), {0, 0});
        uLongf size = compressBound(uLong(text.size()));
        Bytes packed(size);
        ::compress(packed.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                   uLong(text.size()));
        chunk.insert(chunk.end(), packed.begin(), packed.begin() + long(size));
        return chunk;
    };
    for (size_t length : {size_t(4096), size_t(4097)}) {
        const std::string hexText(length, '7');
        const std::string plain = std::string("Tbra") + '\0' + hexText;
        EXPECT_EQ(ReadPng(withChunks({{"tEXt", Bytes(plain.begin(), plain.end())}}), found),
                  length == 4096)
            << length;
        EXPECT_EQ(ReadPng(withChunks({{"zTXt", compress("Tbra", hexText)}}), found), length == 4096)
            << length;
        EXPECT_EQ(found.size(), length == 4096 ? 2048u : 0u);
    }

    auto readError = [&](const Bytes& file) {
        try {
            ReadPng(file, found);
        } catch (const TaboraError& e) {
            return std::string(e.what()) == "error reading PNG file";
        }
        return false;
    };
    // A damaged compressed block, text in front of the header, a critical
    // chunk nobody knows: the read error.
    Bytes damaged = compressed;
    damaged[8] ^= 0xFF;
    EXPECT_TRUE(readError(withChunks({{"zTXt", damaged}})));
    EXPECT_TRUE(readError(withChunks({{"tEXt", text}}, false)));
    EXPECT_TRUE(readError(withChunks({{"QUIT", {1, 2, 3}}, {"tEXt", text}})));
}

TEST(PngCodec, ForeignAndDamagedFilesRaiseTheReadError) {
    Bytes good = WritePng(Gradient(12, 9), true, std::nullopt, SignedBlock(61));
    auto readError = [](const Bytes& file) {
        try {
            Bytes found;
            ReadPng(file, found);
        } catch (const TaboraError& e) {
            return std::string(e.what()) == "error reading PNG file";
        }
        return false;
    };
    EXPECT_TRUE(readError({}));
    EXPECT_TRUE(readError(Bytes(100, 0x55)));
    Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B};
    EXPECT_TRUE(readError(gif));
    // Cut anywhere before the image data: the error, never a wrong answer.
    std::vector<PngChunk> chunks = PngChunks(good);
    size_t headerEnd = 8 + 12 + chunks[0].data.size() + 12 + chunks[1].data.size();
    for (size_t n = 0; n < headerEnd + 8; ++n) {
        ASSERT_TRUE(readError(Bytes(good.begin(), good.begin() + long(n)))) << n;
    }
    // A flipped bit in the text chunk fails its checksum.
    Bytes bad = good;
    bad[8 + 25 + 10] ^= 0x01;
    EXPECT_TRUE(readError(bad));
}

TEST(PngCodec, StreamFailureReachesTheCallerAsItIs) {
    FailingStream out(100);
    ArgbImage image = Gradient(40, 40);
    Bytes block = SignedBlock(61);
    EXPECT_THROW(PngCodec::Write(image, out, true, std::nullopt, block.data(), 61), FileError);
}
