#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "imaging/ButtonFile.h"
#include "imaging/PngOptimizer.h"
#include "io/ButtonData.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/imaging/SmallFileSupport.h"

using namespace tabora;
using namespace tabora::test;

namespace {

const FormatEntry& Png() { return *FindFormat("png"); }
const FormatEntry& Jpeg() { return *FindFormat("jpg"); }

Bytes ChunkData(const Bytes& png, const char* type) {
    for (const PngChunk& chunk : PngChunks(png))
        if (chunk.type == type) return chunk.data;
    return {};
}

uint8_t ColourType(const Bytes& png) { return ChunkData(png, "IHDR").at(9); }

Bytes Smallest(const ArgbImage& image, bool keepAlpha) {
    PtrMacStream out;
    WriteSmallestPng(image, out, keepAlpha, image.Extent(), "Tbra", "00");
    return BytesOf(out);
}

// `count` different colours in a picture of 40 x 30 pixels: each colour
// once, then colours at random, so no row filter predicts them.
ArgbImage Colours(uint32_t count, bool grey, bool translucent) {
    ArgbImage image(40, 30);
    uint32_t random = 12345;
    for (uint32_t i = 0; i < 40 * 30; ++i) {
        random = random * 1103515245u + 12345u;
        const uint32_t c = i < count ? i : (random >> 8) % count;
        const uint8_t v = uint8_t(c);
        const uint8_t alpha = translucent ? uint8_t(255 - (c % 3) * 100) : 255;
        image.At(int32_t(i % 40), int32_t(i / 40)) =
            grey ? MakePixel(alpha, v, v, v)
                 : MakePixel(alpha, v, uint8_t(c >> 8), uint8_t((c * 2654435761u) >> 24));
    }
    return image;
}

Bytes Straight(const ArgbImage& image) {
    Bytes rgba;
    for (int32_t y = 0; y < image.Height(); ++y)
        for (int32_t x = 0; x < image.Width(); ++x) {
            const uint32_t p = image.At(x, y);
            rgba.insert(rgba.end(), {PixelRed(p), PixelGreen(p), PixelBlue(p), PixelAlpha(p)});
        }
    return rgba;
}

}  // namespace

// The button's default file and its smallest file in `format`, after
// checking what every smallest file promises: the same pixels, fewer bytes,
// and the button back when it is opened.
static std::pair<Bytes, Bytes> PlainAndSmallest(TaboraButton& button, const FormatEntry& format) {
    button.SetOptimize(false);
    Bytes plain = ExportAs(button, format);
    button.SetOptimize(true);
    Bytes small = ExportAs(button, format);
    const Decoded a = DecodeAny(plain), b = DecodeAny(small);
    EXPECT_TRUE(a.ok && b.ok) << format.extension;
    EXPECT_EQ(b.w, a.w);
    EXPECT_EQ(b.h, a.h);
    EXPECT_TRUE(b.rgba == a.rgba) << format.extension;
    EXPECT_LT(small.size(), plain.size()) << format.extension;

    TaboraButton opened(GetArchive());
    opened.SetOptimize(true);
    PtrMacStream in(small.data(), uint32_t(small.size()), false);
    EXPECT_TRUE(ImportButton(opened, format, in).opened());
    EXPECT_EQ(opened.settings(), button.settings());
    return {std::move(plain), std::move(small)};
}

TEST(SmallestFile, OptimisedPngHasThePixelsAndTheBlockOfTheDefaultOne) {
    for (int which = 0; which < kSmallFileDesigns; ++which) {
        for (bool removeBackground : {false, true}) {
            SCOPED_TRACE(testing::Message() << which << " " << removeBackground);
            TaboraButton button(GetArchive());
            DesignForSmallFiles(button, which, removeBackground);
            const auto [plain, small] = PlainAndSmallest(button, Png());
            EXPECT_EQ(ChunkData(small, "tEXt"), ChunkData(plain, "tEXt"));
        }
    }
}

TEST(SmallestFile, OptimisedJpegDecodesAsTheDefaultOneAtItsQuality) {
    // The same markers up to the image, the block among them; only the
    // Huffman tables differ.
    auto app12 = [](const Bytes& file) {
        for (const JpegSegment& s : JpegSegments(file))
            if (s.marker == 0xEC) return s.data;
        return Bytes{};
    };
    for (int which = 0; which < kSmallFileDesigns; ++which) {
        SCOPED_TRACE(which);
        TaboraButton button(GetArchive());
        DesignForSmallFiles(button, which, false);
        const auto [plain, small] = PlainAndSmallest(button, Jpeg());
        EXPECT_EQ(app12(small), app12(plain));
        EXPECT_FALSE(app12(small).empty());
    }
}

// The palette is taken only when it holds every colour, and then exactly.
TEST(SmallestFile, ThePaletteNeverDropsAColour) {
    struct Case {
        uint32_t colours;
        bool grey, translucent;
        uint8_t colourType;
        uint8_t depth;
    };
    for (const Case& c : {Case{2, false, false, 3, 1}, Case{4, false, true, 3, 2},
                          Case{16, false, false, 3, 4}, Case{17, false, true, 3, 8},
                          Case{256, false, true, 3, 8}, Case{257, false, false, 2, 8},
                          Case{257, false, true, 6, 8}, Case{1200, false, true, 6, 8},
                          Case{256, true, false, 0, 8}}) {
        const ArgbImage image = Colours(c.colours, c.grey, c.translucent);
        const Bytes file = Smallest(image, true);
        const Decoded d = DecodeAny(file);
        ASSERT_TRUE(d.ok) << c.colours;
        EXPECT_TRUE(d.rgba == Straight(image)) << c.colours << " " << c.grey << c.translucent;
        // Grey at 256 levels needs no palette chunk and wins with the same data.
        EXPECT_EQ(ColourType(file), c.colourType) << c.colours;
        if (ColourType(file) == 3) {
            EXPECT_EQ(ChunkData(file, "IHDR").at(8), c.depth) << c.colours;
            EXPECT_EQ(ChunkData(file, "PLTE").size(), 3 * c.colours);
            // Only the translucent entries need an alpha, and they come first.
            EXPECT_EQ(ChunkData(file, "tRNS").empty(), !c.translucent);
        }
    }
}

TEST(SmallestFile, WithoutAlphaEveryPixelIsOpaqueAndGreyStaysGrey) {
    const ArgbImage image = Colours(1200, true, true);
    const Bytes file = Smallest(image, false);
    EXPECT_EQ(ColourType(file), 0);
    const Decoded d = DecodeAny(file);
    ASSERT_TRUE(d.ok);
    Bytes expected = Straight(image);
    for (size_t i = 3; i < expected.size(); i += 4) expected[i] = 255;
    EXPECT_TRUE(d.rgba == expected);
    // With its alpha, the same picture has 768 colours: grey with alpha.
    const Bytes greyAlpha = Smallest(image, true);
    EXPECT_EQ(ColourType(greyAlpha), 4);
    EXPECT_TRUE(DecodeAny(greyAlpha).rgba == Straight(image));
}

TEST(SmallestFile, TheOptionChangesNothingForGifAndBmp) {
    for (const char* extension : {"gif", "bmp"}) {
        TaboraButton button(GetArchive());
        DesignForSmallFiles(button, 0, false);
        const Bytes plain = ExportAs(button, *FindFormat(extension));
        button.SetOptimize(true);
        EXPECT_EQ(ExportAs(button, *FindFormat(extension)), plain) << extension;
    }
}
