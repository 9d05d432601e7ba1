// Files built to cost as much as possible: each must be answered (refused,
// rejected with the user's error, or opened) in under a second and with less
// than 256 MB of memory. Every case runs in a child process so its time and
// its peak memory can be measured and, where the build allows, its address
// space capped.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/ChildCost.h"
#include "tests/support/TimeBudget.h"

using namespace tabora;
using namespace tabora::test;

namespace {

constexpr double kTimeLimitSeconds = 1.0;
constexpr uint64_t kMemoryLimit = 256u << 20;
// A hang is reported as a failure rather than stalling the suite.
constexpr unsigned kWatchdogSeconds = 20;

void Append(Bytes& out, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}
void Append(Bytes& out, std::string_view text) { Append(out, text.data(), text.size()); }
// Byte by byte: g++ 12 warns (wrongly) about inserting a list into a short
// vector.
void Le16To(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 16; shift += 8) out.push_back(uint8_t(v >> shift));
}
void Le32To(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}
void Be32To(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// The signed block of a button, as GIF, JPEG and BMP carry it.
Bytes SignedButtonBlock() {
    ButtonSettings s;
    s.caption = "Hostile";
    PtrMacStream payload;
    WriteSettings(payload, s);
    return SignedBlock({payload.Data(), payload.Length()});
}

// Imports `file` into a fresh button through the format's row of the
// registry, the way Open does, and says what happened.
std::string ImportOutcome(const char* extension, const Bytes& file) {
    TaboraButton button(GetArchive());
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    const OpenResult result = ImportButton(button, *FindFormat(extension), in);
    if (result.opened()) return "opened";
    if (!result.holdsNoSettings()) return "error: " + result.detail;
    return result.detail.empty() ? "refused" : "refused [" + result.detail + "]";
}

// Runs one import in a child and checks the bounds and the answer.
void ExpectBounded(const char* name, const char* extension, const Bytes& file,
                   const std::string& expected) {
    ChildCost cost = RunInChild([&] { return ImportOutcome(extension, file); }, kMemoryLimit,
                                kWatchdogSeconds);
    ASSERT_TRUE(cost.finished) << name << ": " << cost.outcome;
    EXPECT_EQ(cost.outcome, expected) << name;
    if (TimeBudgetsHeld()) {
        EXPECT_LT(cost.seconds, kTimeLimitSeconds) << name;
    }
    EXPECT_LT(cost.peakBytes, kMemoryLimit) << name;
    std::printf("  %-34s %9zu bytes  %-45s %7.3f s  %6.1f MB\n", name, file.size(),
                cost.outcome.c_str(), cost.seconds, double(cost.peakBytes) / (1 << 20));
}

// ---- GIF ----

void GifSubBlocks(Bytes& out, const Bytes& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    out.push_back(0);
}

// A GIF89a whose screen and every image claim w x h pixels, with a comment
// first, then `images` images of `codeBytes` bytes of compressed data each.
Bytes HugeGif(uint16_t w, uint16_t h, const std::string& comment, size_t images, size_t codeBytes) {
    Bytes gif;
    Append(gif, "GIF89a");
    Le16To(gif, w);
    Le16To(gif, h);
    for (uint8_t b : {0xF7, 0, 0}) gif.push_back(b);
    gif.resize(gif.size() + 768, 0x80);
    gif.push_back(0x21);
    gif.push_back(0xFE);
    GifSubBlocks(gif, Bytes(comment.begin(), comment.end()));
    const Bytes codes(codeBytes, 0x55);
    for (size_t i = 0; i < images; ++i) {
        gif.push_back(0x2C);
        Le16To(gif, 0);
        Le16To(gif, 0);
        Le16To(gif, w);
        Le16To(gif, h);
        gif.push_back(0x00);
        gif.push_back(8);  // LZW minimum code size
        GifSubBlocks(gif, codes);
    }
    gif.push_back(0x3B);
    return gif;
}

// ---- PNG ----

void PngChunkTo(Bytes& out, const char* type, const Bytes& data, std::optional<uint32_t> claimed = {}) {
    Be32To(out, claimed.value_or(uint32_t(data.size())));
    const size_t start = out.size();
    Append(out, type, 4);
    out.insert(out.end(), data.begin(), data.end());
    Be32To(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

Bytes PngStart(uint32_t w = 4, uint32_t h = 2) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Be32To(ihdr, w);
    Be32To(ihdr, h);
    for (uint8_t b : {8, 6, 0, 0, 0}) ihdr.push_back(b);
    PngChunkTo(png, "IHDR", ihdr);
    return png;
}

void PngEnd(Bytes& png) {
    // One row of 4 pixels of RGBA per line, filter byte 0, compressed.
    Bytes raw(2 * (1 + 16), 0);
    uLongf size = compressBound(uLong(raw.size()));
    Bytes idat(size);
    compress(idat.data(), &size, raw.data(), uLong(raw.size()));
    idat.resize(size);
    PngChunkTo(png, "IDAT", idat);
    PngChunkTo(png, "IEND", {});
}

Bytes TextChunk(const std::string& key, size_t textBytes, char fill) {
    const std::string chunk = key + '\0' + std::string(textBytes, fill);
    return Bytes(chunk.begin(), chunk.end());
}

// zTXt with `inflated` bytes of '0' compressed: a few hundred kilobytes that
// would unpack to far more than any text of ours.
Bytes CompressedTextChunk(const std::string& key, size_t inflated) {
    Bytes data(key.begin(), key.end());
    data.push_back(0);
    data.push_back(0);  // compression method: deflate
    z_stream z{};
    deflateInit(&z, Z_DEFAULT_COMPRESSION);
    const Bytes zeros(1 << 20, '0');
    Bytes out(1 << 16);
    for (size_t fed = 0; fed < inflated; fed += zeros.size()) {
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = uInt(std::min(zeros.size(), inflated - fed));
        const int flush = fed + zeros.size() >= inflated ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            data.insert(data.end(), out.begin(), out.end() - long(z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    return data;
}

// ---- BMP ----

// The two headers of a 24-bit BMP with the given pixel offset and size
// fields, then `behind` (signature, block, pixels: whatever the test needs).
Bytes Bmp(uint32_t pixelOffset, int32_t w, int32_t h, const Bytes& behind) {
    Bytes bmp = {'B', 'M'};
    Le32To(bmp, uint32_t(54 + behind.size()));
    Le32To(bmp, 0);
    Le32To(bmp, pixelOffset);
    Le32To(bmp, 40);
    Le32To(bmp, uint32_t(w));
    Le32To(bmp, uint32_t(h));
    Le16To(bmp, 1);
    Le16To(bmp, 24);
    bmp.resize(54, 0);
    bmp.insert(bmp.end(), behind.begin(), behind.end());
    return bmp;
}

}  // namespace

TEST(HostileInput, GifClaimingHugePicturesIsAnsweredFromItsHeaders) {
    const Bytes block = SignedButtonBlock();
    const std::string hex = HexEncode(block.data(), block.size());
    // The block is in front of the image, so the pixels are never needed.
    ExpectBounded("gif 65535x65535 with block", "gif", HugeGif(65535, 65535, hex, 1, 1 << 20), "opened");
    ExpectBounded("gif 65535x65535 foreign", "gif", HugeGif(65535, 65535, "made elsewhere", 1, 1 << 20),
                  "refused");
    // Two hundred thousand images of 65535 x 65535 in 3 MB: far more than
    // the reader walks (kMaxImages, 1024).
    ExpectBounded("gif 200000 images", "gif", HugeGif(65535, 65535, hex, 200000, 1), "refused");
    ExpectBounded("gif 1024 images", "gif", HugeGif(65535, 65535, hex, 1024, 1), "opened");
    ExpectBounded("gif 1025 images", "gif", HugeGif(65535, 65535, hex, 1025, 1), "refused");
    // A comment of a megabyte is not ours.
    ExpectBounded("gif 1 MB comment", "gif", HugeGif(16, 16, std::string(1 << 20, 'A'), 1, 16), "refused");
}

TEST(HostileInput, PngWithHugeOrManyTextChunksIsRejected) {
    const std::string readError = "error: error reading PNG file";
    Bytes huge = PngStart();
    PngChunkTo(huge, "tEXt", TextChunk("Tbra", 64u << 20, 'A'));
    PngEnd(huge);
    ExpectBounded("png 64 MB tEXt", "png", huge, readError);

    Bytes claimed = PngStart();
    PngChunkTo(claimed, "tEXt", TextChunk("Tbra", 16, 'A'), 0x7FFFFFFFu);
    ExpectBounded("png tEXt claiming 2 GB", "png", claimed, readError);

    Bytes bomb = PngStart();
    PngChunkTo(bomb, "zTXt", CompressedTextChunk("Tbra", 256u << 20));
    PngEnd(bomb);
    ExpectBounded("png zTXt unpacking to 256 MB", "png", bomb, readError);

    Bytes many = PngStart();
    for (int i = 0; i < 100000; ++i) PngChunkTo(many, "tEXt", TextChunk("k", 1, 'v'));
    PngEnd(many);
    ExpectBounded("png 100000 tEXt chunks", "png", many, readError);

    Bytes wide = PngStart(0x7FFFFFFFu, 0x7FFFFFFFu);
    PngChunkTo(wide, "tEXt", TextChunk("Tbra", 10, '0'));
    PngEnd(wide);
    ExpectBounded("png 2^31-1 x 2^31-1", "png", wide, readError);
}

TEST(HostileInput, JpegWithAThousandLargeMarkersIsAnsweredQuickly) {
    const Bytes foreign(65533, 0x41);  // the largest marker the format allows
    std::vector<Bytes> markers(1000, foreign);
    ExpectBounded("jpeg 1000 x 64 KB APP12", "jpg", MakeJpeg(markers),
                  "refused [sig != Tbra]");
    markers.insert(markers.begin(), SignedButtonBlock());
    ExpectBounded("jpeg block + 1000 x 64 KB APP12", "jpg", MakeJpeg(markers), "opened");

    // Frame headers claiming huge pictures: only the header is read. The
    // library's own limit is 65500 pixels a side.
    auto frame = [](uint16_t side) {
        Bytes jpeg = MakeJpeg({SignedButtonBlock()});
        for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
            if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
                jpeg[i + 5] = jpeg[i + 7] = uint8_t(side >> 8);
                jpeg[i + 6] = jpeg[i + 8] = uint8_t(side);
                break;
            }
        }
        return jpeg;
    };
    ExpectBounded("jpeg 65500x65500 frame", "jpg", frame(65500), "opened");
    ExpectBounded("jpeg 65535x65535 frame", "jpg", frame(65535), "error: fatal JPEG error");
}

TEST(HostileInput, BmpWhoseOffsetClaimsMegabytesIsRefused) {
    Bytes signature = {'T', 'b', 'r', 'a'};
    Bytes small = signature;
    small.resize(200, 0);
    ExpectBounded("bmp offset 2 GB", "bmp", Bmp(0x7FFFFFFFu, 10, 10, small), "refused");
    // Megabytes really there behind the signature: still not a block of ours.
    Bytes large = signature;
    large.resize(8u << 20, 0);
    ExpectBounded("bmp offset 8 MB, file 8 MB", "bmp", Bmp(54 + (8u << 20), 10, 10, large), "refused");
    // Absurd picture sizes do not matter: the pixels are never read.
    Bytes block = SignedButtonBlock();
    ExpectBounded("bmp 2^31-1 x 2^31-1 with block", "bmp",
                  Bmp(uint32_t(54 + block.size()), 0x7FFFFFFF, 0x7FFFFFFF, block), "opened");
}

TEST(HostileInput, TheChildMeasurementSeesWhatItShould) {
    // A check of the checker: 64 MB that are touched show in the peak, and
    // 300 MB that are only reserved are stopped by the address cap.
    ChildCost touched = RunInChild(
        [] {
            Bytes big(64u << 20, 1);
            return std::to_string(big[12345]);
        },
        kMemoryLimit, kWatchdogSeconds);
    ASSERT_TRUE(touched.finished) << touched.outcome;
    EXPECT_GE(touched.peakBytes, 60u << 20);
    if (ChildAddressLimitEnforced()) {
        ChildCost reserved = RunInChild(
            [] {
                // volatile: the compiler may not drop an allocation it sees unused.
                void* volatile big = std::malloc(300u << 20);
                const bool got = big != nullptr;
                std::free(big);
                return std::string(got ? "allocated" : "out of memory");
            },
            kMemoryLimit, kWatchdogSeconds);
        EXPECT_EQ(reserved.outcome, "out of memory");
    }
}
