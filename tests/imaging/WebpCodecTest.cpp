#include <gtest/gtest.h>

#include <webp/decode.h>

#include <string>

#include "imaging/ButtonFile.h"
#include "imaging/WebpCodec.h"
#include "io/ButtonData.h"
#include "platform/Error.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/imaging/SmallFileSupport.h"

using namespace tabora;
using namespace tabora::test;

namespace {

const FormatEntry& Webp() { return *FindFormat("webp"); }

struct RiffChunk {
    std::string tag;
    Bytes data;
};

// The chunks of a RIFF file, walked independently of the reader.
std::vector<RiffChunk> RiffChunks(const Bytes& file) {
    std::vector<RiffChunk> chunks;
    if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0) return chunks;
    size_t at = 12;
    while (at + 8 <= file.size()) {
        const uint32_t size = Le32(file.data() + at + 4);
        if (at + 8 + size > file.size()) break;
        chunks.push_back({std::string(reinterpret_cast<const char*>(file.data() + at), 4),
                          Bytes(file.begin() + long(at + 8), file.begin() + long(at + 8 + size))});
        at += 8 + size + (size & 1);
    }
    return chunks;
}

Bytes Riff(const std::vector<RiffChunk>& chunks, std::optional<uint32_t> claimed = {}) {
    Bytes file = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'};
    for (const RiffChunk& chunk : chunks) {
        file.insert(file.end(), chunk.tag.begin(), chunk.tag.end());
        const uint32_t size = uint32_t(chunk.data.size());
        for (int shift = 0; shift < 32; shift += 8) file.push_back(uint8_t(size >> shift));
        file.insert(file.end(), chunk.data.begin(), chunk.data.end());
        if (size & 1) file.push_back(0);
    }
    const uint32_t riffSize = claimed.value_or(uint32_t(file.size() - 8));
    for (int i = 0; i < 4; ++i) file[size_t(4 + i)] = uint8_t(riffSize >> (8 * i));
    return file;
}

bool ReadsBlock(const Bytes& file, Bytes* block = nullptr) {
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    PtrMacStream out;
    const bool found = WebpCodec::ReadData(in, out);
    if (found && block) *block = BytesOf(out);
    return found;
}

}  // namespace

TEST(WebpCodec, TheBlockSitsInAChunkOfItsOwnAfterTheImage) {
    TaboraButton button(GetArchive());
    DesignForSmallFiles(button, 0, true);
    for (bool lossy : {false, true}) {
        button.SetLossy(lossy);
        const Bytes file = ExportAs(button, Webp());
        const std::vector<RiffChunk> chunks = RiffChunks(file);
        ASSERT_GE(chunks.size(), 3u);
        EXPECT_EQ(Le32(file.data() + 4), file.size() - 8) << "the RIFF size covers the file";
        // The extended header, the image (lossy: its alpha first), ours last.
        EXPECT_EQ(chunks.front().tag, "VP8X");
        EXPECT_EQ(chunks[chunks.size() - 2].tag, lossy ? "VP8 " : "VP8L");
        if (lossy) {
            EXPECT_EQ(chunks[1].tag, "ALPH");
        }
        EXPECT_EQ(chunks.back().tag, "Tbra");
        PtrMacStream payload;
        WriteSettings(payload, button.settings());
        EXPECT_EQ(chunks.back().data, SignedBlock(std::span(payload.Data(), payload.Length())));
        // Any decoder sees the picture at the export rectangle's size.
        int w = 0, h = 0;
        ASSERT_TRUE(WebPGetInfo(file.data(), file.size(), &w, &h));
        EXPECT_EQ(w, button.exportRect().Width());
        EXPECT_EQ(h, button.exportRect().Height());
    }
}

TEST(WebpCodec, LosslessDecodesToThePixelsOfTheDefaultPng) {
    for (int which = 0; which < kSmallFileDesigns; ++which) {
        for (bool removeBackground : {false, true}) {
            TaboraButton button(GetArchive());
            DesignForSmallFiles(button, which, removeBackground);
            const Decoded png = DecodeAny(ExportAs(button, *FindFormat("png")));
            const Decoded webp = DecodeAny(ExportAs(button, Webp()));
            ASSERT_TRUE(png.ok && webp.ok);
            EXPECT_EQ(webp.w, png.w);
            EXPECT_EQ(webp.h, png.h);
            EXPECT_TRUE(webp.rgba == png.rgba) << which << " " << removeBackground;
        }
    }
}

TEST(WebpCodec, LossyKeepsTheAlphaWholeAndFollowsTheQuality) {
    TaboraButton button(GetArchive());
    DesignForSmallFiles(button, 1, true);
    button.SetLossy(true);
    const Decoded png = DecodeAny(ExportAs(button, *FindFormat("png")));
    button.SetJpegQuality(90);
    const Bytes high = ExportAs(button, Webp());
    button.SetJpegQuality(20);
    const Bytes low = ExportAs(button, Webp());
    EXPECT_LT(low.size(), high.size());
    const Decoded webp = DecodeAny(high);
    ASSERT_TRUE(webp.ok && png.ok);
    ASSERT_EQ(webp.rgba.size(), png.rgba.size());
    for (size_t i = 3; i < png.rgba.size(); i += 4) ASSERT_EQ(webp.rgba[i], png.rgba[i]) << i;
    // An opaque button carries no alpha at all.
    button.SetRemoveBackground(false);
    for (const RiffChunk& chunk : RiffChunks(ExportAs(button, Webp())))
        EXPECT_NE(chunk.tag, "ALPH");
}

TEST(WebpCodec, FindsOnlyAWholeChunkOfOursThatStartsWithTheSignature) {
    const Bytes block = SignedBlock(61);
    Bytes found;
    // Foreign chunks before ours, one of odd size (padded), are walked past.
    EXPECT_TRUE(ReadsBlock(Riff({{"VP8L", Bytes(7, 1)}, {"EXIF", Bytes(3, 2)}, {"Tbra", block}}),
                           &found));
    EXPECT_EQ(found, block);
    // A chunk with our tag but other contents, then ours: the second counts.
    Bytes other = block;
    other[0] = 'X';
    EXPECT_TRUE(ReadsBlock(Riff({{"Tbra", other}, {"Tbra", block}}), &found));
    EXPECT_EQ(found, block);
    EXPECT_FALSE(ReadsBlock(Riff({{"Tbra", other}})));
    EXPECT_FALSE(ReadsBlock(Riff({{"TBRA", block}})));
    EXPECT_FALSE(ReadsBlock(Riff({{"VP8L", Bytes(8, 0)}})));
    EXPECT_FALSE(ReadsBlock(Riff({})));
    // Cut anywhere inside our chunk: no block. (Its last byte is the pad
    // that evens its odd size; without it the block is whole.)
    const Bytes whole = Riff({{"VP8L", Bytes(8, 0)}, {"Tbra", block}});
    for (size_t cut = whole.size() - block.size() - 9; cut + 1 < whole.size(); ++cut) {
        const Bytes part(whole.begin(), whole.begin() + long(cut));
        EXPECT_FALSE(ReadsBlock(part)) << cut;
    }
    // A RIFF size that ends before our chunk hides it.
    EXPECT_FALSE(ReadsBlock(Riff({{"VP8L", Bytes(8, 0)}, {"Tbra", block}}, 4 + 16)));
}

TEST(WebpCodec, AFileThatIsNotWebpIsTheFormatsError) {
    for (const Bytes& file :
         {Bytes{}, Bytes{'R', 'I', 'F', 'F'},
          Bytes{'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'}, Bytes(100, 'x')}) {
        PtrMacStream in(file.data(), uint32_t(file.size()), false);
        PtrMacStream out;
        try {
            WebpCodec::ReadData(in, out);
            ADD_FAILURE() << "no error for " << file.size() << " bytes";
        } catch (const TaboraError& error) {
            EXPECT_STREQ(error.what(), "error reading WebP file");
        }
    }
}

TEST(WebpCodec, ChunksClaimingHugeSizesOrCountsEndTheWalk) {
    const Bytes block = SignedBlock(61);
    // A chunk claiming 4 GB before ours: the walk jumps past the file's end.
    Bytes huge = Riff({{"VP8L", Bytes(8, 0)}, {"Tbra", block}});
    for (int i = 0; i < 4; ++i) huge[size_t(16 + i)] = 0xFF;
    EXPECT_FALSE(ReadsBlock(huge));
    // Our tag claiming more than any block of ours is skipped, not read.
    Bytes big = Riff({{"Tbra", block}});
    big[16] = 0xF0;
    big[17] = 0xFF;
    EXPECT_FALSE(ReadsBlock(big));
    // Thousands of empty chunks before ours: the walk gives up first.
    std::vector<RiffChunk> many(5000, RiffChunk{"JUNK", {}});
    many.push_back({"Tbra", block});
    EXPECT_FALSE(ReadsBlock(Riff(many)));
    many.erase(many.begin(), many.begin() + 1000);
    EXPECT_TRUE(ReadsBlock(Riff(many)));
}

TEST(WebpCodec, OpensWithTheOtherNameOrNoneByItsFirstBytes) {
    TempDir dir;
    TaboraButton a(GetArchive());
    DesignForSmallFiles(a, 2, false);
    ASSERT_TRUE(SaveButton(a, dir / "b.webp").saved());
    ASSERT_TRUE(SaveButton(a, dir / "c.WEBP").saved());
    std::filesystem::copy_file(dir / "b.webp", dir / "b.picture");
    for (const char* name : {"b.webp", "c.WEBP", "b.picture"}) {
        TaboraButton b(GetArchive());
        const OpenResult result = OpenButton(b, dir / name);
        ASSERT_TRUE(result.opened()) << name << " " << result.detail;
        EXPECT_EQ(result.format, &Webp());
        EXPECT_EQ(b.settings(), a.settings()) << name;
    }
}
