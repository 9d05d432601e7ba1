#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

#include "imaging/ButtonFile.h"
#include "imaging/JpegCodec.h"
#include "io/CDib.h"
#include "platform/Error.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/TimeBudget.h"

using namespace tabora;
using namespace tabora::test;

namespace {

Bytes WriteJpeg(const ArgbImage& image, int16_t quality, std::optional<Rect> rect, const Bytes& block) {
    PtrMacStream out;
    JpegCodec codec(quality);
    codec.Write(image, out, rect, block.empty() ? nullptr : block.data(), int16_t(block.size()));
    return BytesOf(out);
}

struct ReadResult {
    bool ok = false;
    Bytes found;
    uint32_t position = 0;
};
ReadResult ReadJpeg(const Bytes& file) {
    ReadResult r;
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    PtrMacStream out;
    JpegCodec codec;
    r.ok = codec.ReadData(in, out);
    r.found = BytesOf(out);
    r.position = out.Position();
    return r;
}

bool IsFatal(const Bytes& file) {
    try {
        ReadJpeg(file);
    } catch (const TaboraError& e) {
        return std::string(e.what()) == "fatal JPEG error";
    }
    return false;
}

}  // namespace

TEST(JpegCodec, BlockSitsInApp12RightAfterJfifInABaselineFile) {
    Bytes block = SignedBlock(61);
    for (int16_t quality : {int16_t(100), int16_t(0), int16_t(50)}) {
        Bytes file = WriteJpeg(Gradient(30, 20), quality, Rect{2, 3, 27, 19}, block);
        std::vector<JpegSegment> s = JpegSegments(file);
        ASSERT_GE(s.size(), 4u);
        EXPECT_EQ(s[0].marker, 0xD8);
        EXPECT_EQ(s[1].marker, 0xE0);
        EXPECT_EQ(std::string(s[1].data.begin(), s[1].data.begin() + 5), std::string("JFIF\0", 5));
        EXPECT_EQ(s[2].marker, 0xEC);
        EXPECT_EQ(s[2].data, block);
        bool baseline = false;
        for (const JpegSegment& seg : s) {
            if (seg.marker == 0xC0) {
                baseline = true;
                EXPECT_EQ(Be16(&seg.data[1]), 16);  // height
                EXPECT_EQ(Be16(&seg.data[3]), 25);  // width
            }
            EXPECT_FALSE(seg.marker == 0xC1 || seg.marker == 0xC2) << "not baseline";
        }
        EXPECT_TRUE(baseline);
        EXPECT_EQ(file[file.size() - 2], 0xFF);
        EXPECT_EQ(file.back(), 0xD9);
        int32_t w = 0, h = 0;
        Bytes rgb;
        EXPECT_TRUE(DecodeJpeg(file, w, h, rgb)) << quality;
    }
    // Quality 0 is taken as 1: the same file.
    EXPECT_EQ(WriteJpeg(Gradient(16, 16), 0, std::nullopt, block),
              WriteJpeg(Gradient(16, 16), 1, std::nullopt, block));
    // No block, no marker.
    std::vector<JpegSegment> s = JpegSegments(WriteJpeg(Gradient(8, 8), 90, std::nullopt, {}));
    for (const JpegSegment& seg : s) EXPECT_NE(seg.marker, 0xEC);
}

TEST(JpegCodec, QualityHundredIsCloseToTheSource) {
    ArgbImage image(40, 24);
    for (int32_t y = 0; y < 24; ++y) {
        for (int32_t x = 0; x < 40; ++x) image.At(x, y) = MakePixel(255, uint8_t(40 + 4 * x), uint8_t(60 + 5 * y), 90);
    }
    int32_t w = 0, h = 0;
    Bytes rgb;
    ASSERT_TRUE(DecodeJpeg(WriteJpeg(image, 100, std::nullopt, SignedBlock(10)), w, h, rgb));
    ASSERT_EQ(w, 40);
    ASSERT_EQ(h, 24);
    for (int32_t i = 0; i < w * h; ++i) {
        uint32_t p = image.Pixels()[i];
        ASSERT_NEAR(rgb[3 * size_t(i)], PixelRed(p), 6);
        ASSERT_NEAR(rgb[3 * size_t(i) + 1], PixelGreen(p), 6);
        ASSERT_NEAR(rgb[3 * size_t(i) + 2], PixelBlue(p), 6);
    }
}

TEST(JpegCodec, FindsOurApp12AfterForeignOnesAndStandsAfterTheSignature) {
    Bytes block = SignedBlock(80);
    ReadResult r = ReadJpeg(WriteJpeg(Gradient(9, 9), 75, std::nullopt, block));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.found, block);
    EXPECT_EQ(r.position, 4u);

    Bytes foreign = {'D', 'u', 'c', 'k', 'y', 0, 1, 2, 3};
    Bytes tiny = {'T', 'b'};  // shorter than a signature: skipped, not misread
    r = ReadJpeg(MakeJpeg({foreign, tiny, block, SignedBlock(20)}));
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.found, block);  // the first qualifying one
}

TEST(JpegCodec, WithoutOurMarkerFindsNothingAndTheReaderSaysSo) {
    for (const Bytes& file : {MakeJpeg({}), MakeJpeg({Bytes{'D', 'u', 'c', 'k', 'y', 0, 0, 0}})}) {
        ReadResult r = ReadJpeg(file);
        EXPECT_FALSE(r.ok);
        // The words for the user come with the result of an open.
        TaboraButton button(GetArchive());
        PtrMacStream in(file.data(), uint32_t(file.size()), false);
        const OpenResult result = ImportButton(button, *FindFormat(ImageFormat::Jpeg), in);
        EXPECT_EQ(result.outcome, OpenOutcome::NoBlock);
        EXPECT_EQ(result.detail, "sig != Tbra");
    }
}

TEST(JpegCodec, AThousandLargeForeignMarkersCostLittle) {
    Bytes foreign(65533, 0x41);
    std::vector<Bytes> markers(1000, foreign);
    markers.push_back(SignedBlock(61));
    Bytes file = MakeJpeg(markers);
    auto start = std::chrono::steady_clock::now();
    ReadResult r = ReadJpeg(file);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.found, SignedBlock(61));
    if (TimeBudgetsHeld()) {
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
    }
}

TEST(JpegCodec, HostileFilesEndInFalseOrTheFatalError) {
    Bytes file = WriteJpeg(Gradient(20, 20), 80, std::nullopt, SignedBlock(61));
    EXPECT_TRUE(IsFatal({}));
    EXPECT_TRUE(IsFatal(Bytes(300, 0x00)));
    EXPECT_TRUE(IsFatal(Bytes{0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02}));
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    EXPECT_TRUE(IsFatal(png));
    // Every cut ends one way or the other, never in a hang or a crash; a cut
    // after the header (the block read) still finds it.
    for (size_t n = 0; n < file.size(); ++n) {
        Bytes cut(file.begin(), file.begin() + long(n));
        try {
            ReadResult r = ReadJpeg(cut);
            if (r.ok) {
                EXPECT_EQ(r.found, SignedBlock(61)) << n;
            }
        } catch (const TaboraError& e) {
            ASSERT_STREQ(e.what(), "fatal JPEG error") << n;
        }
    }
    // Random garbage behind a valid start.
    std::srand(7);
    for (int round = 0; round < 200; ++round) {
        Bytes noisy = file;
        for (int i = 0; i < 8; ++i) noisy[2 + size_t(std::rand()) % (noisy.size() - 2)] = uint8_t(std::rand());
        try {
            ReadJpeg(noisy);
        } catch (const TaboraError& e) {
            ASSERT_STREQ(e.what(), "fatal JPEG error");
        }
    }
}

TEST(JpegCodec, AFailedCallLeavesTheCodecUsable) {
    JpegCodec codec(90);
    ArgbImage image = Gradient(10, 10);
    FailingStream failing(50);
    EXPECT_THROW(codec.Write(image, failing, std::nullopt, nullptr, 0), FileError);
    PtrMacStream out;
    codec.Write(image, out, std::nullopt, nullptr, 0);
    int32_t w = 0, h = 0;
    Bytes rgb;
    EXPECT_TRUE(DecodeJpeg(BytesOf(out), w, h, rgb));
}

TEST(JpegCodec, DecodesIntoABitmapRectangleBottomUp) {
    // Four quadrants: red high in the top half, blue high in the right half.
    ArgbImage image(16, 8);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 16; ++x) {
            image.At(x, y) = MakePixel(255, uint8_t(y < 4 ? 250 : 10), 20, uint8_t(x < 8 ? 30 : 220));
        }
    }
    Bytes file = WriteJpeg(image, 100, std::nullopt, {});
    CDib dib(20, 12, 24);
    ASSERT_TRUE(dib.AllocateImage());
    std::memset(dib.Bits(), 0x77, dib.ImageSize());
    JpegCodec codec(100);
    PtrMacStream in(file.data(), uint32_t(file.size()), false);
    // A rectangle larger than the picture: only the picture's 16 x 8 is copied.
    codec.Decode(in, dib, Rect{2, 3, 19, 12});
    auto at = [&](int32_t x, int32_t y) {
        return dib.Bits() + size_t(12 - 1 - y) * dib.GetRowBytes() + 3 * size_t(x);
    };
    for (int32_t y = 0; y < 12; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            const uint8_t* p = at(x, y);
            const int32_t sx = x - 2, sy = y - 3;
            if (sx < 0 || sx >= 16 || sy < 0 || sy >= 8) {
                ASSERT_EQ(p[0], 0x77) << x << "," << y;
                continue;
            }
            // Away from the edges, which the chroma subsampling blurs.
            if ((sx >= 6 && sx <= 9) || (sy >= 2 && sy <= 5)) continue;
            ASSERT_NEAR(p[2], sy < 4 ? 250 : 10, 12) << x << "," << y;  // red
            ASSERT_NEAR(p[0], sx < 8 ? 30 : 220, 12) << x << "," << y;  // blue
        }
    }
    // A reused decoder, and a damaged stream raising the error.
    PtrMacStream again(file.data(), uint32_t(file.size()), false);
    codec.Decode(again, dib, Rect{0, 0, 20, 12});
    Bytes junk(64, 0x11);
    PtrMacStream bad(junk.data(), uint32_t(junk.size()), false);
    EXPECT_THROW(codec.Decode(bad, dib, Rect{0, 0, 20, 12}), TaboraError);
}
