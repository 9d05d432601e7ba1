// Files built to cost as much as possible: each must be answered (refused,
// rejected with the user's error, or opened) in under a second and with less
// than 256 MB of memory. Every case runs in a child process so its time and
// its peak memory can be measured and, where the build allows, its address
// space capped.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "platform/Error.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/ChildCost.h"
#include "tests/support/HostileCorpus.h"
#include "tests/support/TimeBudget.h"

using namespace tabora;
using namespace tabora::test;

namespace {

constexpr double kTimeLimitSeconds = 1.0;
constexpr uint64_t kMemoryLimit = 256u << 20;
// A hang is reported as a failure rather than stalling the suite.
constexpr unsigned kWatchdogSeconds = 20;

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

    // Not ours: longer than any block, and more than one text chunk.
    Bytes bomb = PngStart();
    PngChunkTo(bomb, "zTXt", CompressedTextChunk("Tbra", 256u << 20));
    PngEnd(bomb);
    ExpectBounded("png zTXt unpacking to 256 MB", "png", bomb, "refused");

    Bytes many = PngStart();
    for (int i = 0; i < 100000; ++i) PngChunkTo(many, "tEXt", TextChunk("k", 1, 'v'));
    PngEnd(many);
    ExpectBounded("png 100000 tEXt chunks", "png", many, "refused");

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
    ExpectBounded("jpeg 65500x65500 frame", "jpg", JpegClaiming(65500), "opened");
    ExpectBounded("jpeg 65535x65535 frame", "jpg", JpegClaiming(65535), "error: fatal JPEG error");
}

TEST(HostileInput, BmpWhoseOffsetClaimsMegabytesIsRefused) {
    // The signature, then zeros (filled in place: g++ 12 warns wrongly about
    // growing a copy of a four-byte vector).
    auto signed_ = [](size_t size) {
        Bytes bytes(size, 0);
        std::memcpy(bytes.data(), "Tbra", 4);
        return bytes;
    };
    Bytes small = signed_(200);
    ExpectBounded("bmp offset 2 GB", "bmp", Bmp(0x7FFFFFFFu, 10, 10, small), "refused");
    // Megabytes really there behind the signature: still not a block of ours.
    Bytes large = signed_(8u << 20);
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

// ---- the hostile corpus, from files, the way Open and the command line read them ----

namespace {

// Opens the file at `path` into a fresh button as Open does, and says what
// happened: "opened", "refused" or "error: ...".
std::string OpenedFrom(const std::string& path) {
    TaboraButton button(GetArchive());
    const ButtonSettings before = button.settings();
    const OpenResult result = OpenButton(button, path);
    std::string outcome = result.opened()           ? "opened"
                          : result.holdsNoSettings() ? "refused"
                                                     : "error: " + result.detail;
    if (outcome != "opened" && !(button.settings() == before)) outcome += " [settings changed]";
    return outcome;
}

std::string Expected(const HostileImage& image) {
    switch (image.answer) {
        case Answer::Opens:
            return "opened";
        case Answer::NoButton:
            return "refused";
        case Answer::ReadError:
            return "error: " + image.error;
    }
    return {};
}

// The read system calls this process has made so far.
uint64_t ReadCalls() {
    std::ifstream io("/proc/self/io");
    std::string key;
    uint64_t value = 0;
    while (io >> key >> value) {
        if (key == "syscr:") return value;
    }
    return 0;
}

HostileImage CorpusImage(const std::string& name) {
    for (HostileImage& image : HostileImages()) {
        if (image.name == name) return image;
    }
    ADD_FAILURE() << "no corpus image " << name;
    return {};
}

}  // namespace

// A compressed text chunk costs a few kilobytes and unpacks to megabytes;
// the reader used to unpack and keep every one. No file of ours has two text
// chunks, so the second ends the read, and whatever else comes in front of
// the image is passed over one chunk at a time: a file costs at most one
// chunk of memory, whatever it holds.
TEST(HostileInput, PngMetadataCostsOneChunkAtMost) {
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer keeps freed chunks in quarantine for a while.
    constexpr uint64_t kOneChunkAndChange = 64u << 20;
#else
    constexpr uint64_t kOneChunkAndChange = 16u << 20;
#endif
    for (const char* name :
         {"png-70-ztxt.png", "png-200-ztxt.png", "png-900-itxt.png", "png-block-then-ztxt.png",
          "png-64mb-palettes.png", "png-64mb-unknown.png", "png-ztxt-256mb.png"}) {
        const HostileImage image = CorpusImage(name);
        const Bytes file = image.make();
        ChildCost cost =
            RunInChild([&] { return ImportOutcome("png", file); }, kMemoryLimit, kWatchdogSeconds);
        ASSERT_TRUE(cost.finished) << name << ": " << cost.outcome;
        EXPECT_EQ(cost.outcome, "refused") << name;
        EXPECT_LT(cost.seconds, kTimeLimitSeconds) << name;
        EXPECT_LT(cost.peakBytes, kOneChunkAndChange) << name;
        std::printf("  %-28s %9zu bytes  %-9s %7.3f s  %6.1f MB\n", name, file.size(),
                    cost.outcome.c_str(), cost.seconds, double(cost.peakBytes) / (1 << 20));
    }
}

// The libraries read a few bytes at a time; a file of a million empty
// records must not cost a million system calls.
TEST(HostileInput, ReadingAFileCostsFewSystemCalls) {
    TempDir dir;
    for (const char* name :
         {"gif-million-records.gif", "gif-block-million-records.gif", "png-million-chunks.png",
          "jpeg-block-1000-app12.jpg", "bmp-offset-8mb.bmp"}) {
        const HostileImage image = CorpusImage(name);
        const Bytes file = image.make();
        const std::string path = dir / name;
        WriteWholeFile(path, file.data(), file.size());
        ChildCost cost = RunInChild(
            [&] {
                const uint64_t before = ReadCalls();
                const std::string outcome = OpenedFrom(path);
                return outcome + " " + std::to_string(ReadCalls() - before);
            },
            kMemoryLimit, kWatchdogSeconds);
        ASSERT_TRUE(cost.finished) << name << ": " << cost.outcome;
        const size_t space = cost.outcome.rfind(' ');
        EXPECT_EQ(cost.outcome.substr(0, space), Expected(image)) << name;
        const uint64_t calls = std::stoull(cost.outcome.substr(space + 1));
        // One call per 4 KB would already be plenty; a few more for opening.
        EXPECT_LT(calls, file.size() / 4096 + 32) << name;
        std::printf("  %-30s %9zu bytes  %6llu reads  %7.3f s\n", name, file.size(),
                    static_cast<unsigned long long>(calls), cost.seconds);
    }
}
