#include <gtest/gtest.h>

#include <string>

#include "platform/Resources.h"
#include "render/ArgbImage.h"

using namespace tabora;

namespace {

// Width and height from the packed bitmap's info header (little-endian).
Point DibSize(std::string_view name) {
    const ResourceBytes dib = Resources().FindBitmap(name);
    if (dib.size() < 40) return {-1, -1};
    const auto get32 = [&](size_t at) {
        return int32_t(uint32_t(dib[at]) | uint32_t(dib[at + 1]) << 8 |
                       uint32_t(dib[at + 2]) << 16 | uint32_t(dib[at + 3]) << 24);
    };
    return {get32(4), get32(8)};
}

struct Sized {
    const char* name;
    Rect place;  // where the window puts it; its size is the picture's
};

// Every picture of the main window with the rectangle of its control.
const Sized kWindowPictures[] = {
    {"banner", {0, 2, 330, 72}},        {"choosei", {38, 82, 126, 124}},
    {"adjusti", {42, 195, 131, 224}},   {"bcolori", {39, 261, 176, 277}},
    {"shadowi", {41, 295, 148, 324}},   {"typei", {42, 341, 191, 357}},
    {"savei", {38, 470, 99, 496}},      {"pngiconi", {200, 467, 233, 511}},
    {"jpgiconi", {160, 467, 193, 511}}, {"bmpiconi", {240, 467, 273, 511}},
    {"gificoni", {120, 467, 153, 511}}, {"webpiconi", {280, 467, 313, 511}},
    {"size", {34, 138, 59, 143}},
    {"hue", {186, 180, 243, 185}},      {"bright", {181, 217, 248, 222}},
    {"tcolor", {242, 349, 276, 354}},   {"antialias", {211, 369, 276, 374}},
    {"shadow", {233, 390, 276, 395}},   {"placement", {198, 421, 261, 434}},
    {"orange1i", {11, 82, 31, 102}},    {"orange6i", {11, 470, 31, 490}},
    {"wabacki", {142, 86, 316, 160}},   {"waoverlayi", {133, 77, 325, 169}},
};

// The mask that goes with a colour picture: "xxxi" -> "xxxm".
std::string MaskOf(std::string name) {
    if (name.rfind("orange", 0) == 0) return "orangenm";
    name.back() = 'm';
    return name;
}

bool IsPair(const std::string& name) { return name.back() == 'i'; }

}  // namespace

TEST(InterfacePictures, EveryWindowPictureHasItsControlsSize) {
    for (const Sized& s : kWindowPictures) {
        const Point size = DibSize(s.name);
        EXPECT_EQ(size.x, s.place.Width()) << s.name;
        EXPECT_EQ(size.y, s.place.Height()) << s.name;
        if (IsPair(s.name)) {
            const Point mask = DibSize(MaskOf(s.name));
            EXPECT_EQ(mask.x, size.x) << MaskOf(s.name);
            EXPECT_EQ(mask.y, size.y) << MaskOf(s.name);
        }
    }
    for (int step = 2; step <= 5; ++step)
        EXPECT_EQ(DibSize("orange" + std::to_string(step) + "i").x, 20) << step;
}

TEST(InterfacePictures, ReadoutGlyphsAreFivePixelsHighWithTheirWidths) {
    const std::pair<const char*, int> glyphs[] = {
        {"zero", 6},    {"one", 3},     {"two", 6},    {"three", 6}, {"four", 6},   {"five", 6},
        {"six", 6},     {"seven", 6},   {"eight", 6},  {"nine", 6},  {"lparen", 3}, {"rparen", 3},
        {"decimal", 2}, {"percent", 6}, {"degree", 4}, {"minus", 5}, {"plus", 6},
    };
    for (auto [name, width] : glyphs) {
        ArgbImage glyph;
        ASSERT_EQ(glyph.LoadFromResource(name, true), ArgbImage::Load::Loaded) << name;
        EXPECT_EQ(glyph.Width(), width) << name;
        EXPECT_EQ(glyph.Height(), 5) << name;
        // Drawn as ink on the window: some opaque pixel, dark where it is.
        int inked = 0;
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < width; ++x)
                if (PixelAlpha(glyph.At(x, y)) > 128) {
                    ++inked;
                    EXPECT_LT(PixelRed(glyph.At(x, y)), 64) << name;
                }
        EXPECT_GT(inked, 0) << name;
        // The glyphs sit one pixel apart in the read-out plus their own blank
        // column: a figure that touched its right edge would run into the next.
        for (int y = 0; y < 5; ++y) EXPECT_EQ(PixelAlpha(glyph.At(width - 1, y)), 0) << name;
    }
}

TEST(InterfacePictures, OtherPicturesHaveTheirSizes) {
    EXPECT_EQ(DibSize("ttype"), (Point{20, 12}));
    EXPECT_EQ(DibSize("abback"), (Point{400, 350}));
    EXPECT_EQ(DibSize("wabackm"), (Point{174, 74}));
    EXPECT_EQ(DibSize("waoverlaym"), (Point{192, 92}));
    for (int size : {16, 32, 48, 256}) {
        const std::string name = "TABORA" + std::to_string(size);
        EXPECT_EQ(DibSize(name + "i"), (Point{size, size})) << name;
        EXPECT_EQ(DibSize(name + "m"), (Point{size, size})) << name;
    }
}

TEST(InterfacePictures, MasksAreGreyWithBlackMeaningOpaque) {
    // The loaders read only the blue byte; a coloured mask would mean the
    // picture was stored through the wrong call.
    for (const char* name : {"orangenm", "bannerm", "wabackm", "waoverlaym", "size", "nine"}) {
        const ResourceBytes dib = Resources().FindBitmap(name);
        const Point size = DibSize(name);
        const size_t rowBytes = (size_t(size.x) * 3 + 3) & ~size_t(3);
        ASSERT_EQ(dib.size(), 40 + rowBytes * size_t(size.y)) << name;
        int coloured = 0;
        for (int y = 0; y < size.y; ++y)
            for (int x = 0; x < size.x; ++x) {
                const uint8_t* p = dib.data() + 40 + rowBytes * size_t(y) + 3 * size_t(x);
                coloured += p[0] != p[1] || p[0] != p[2];
            }
        EXPECT_EQ(coloured, 0) << name;
    }
    ArgbImage disc;
    ASSERT_EQ(disc.LoadFromResources("orange3i", "orangenm"), ArgbImage::Load::Loaded);
    EXPECT_EQ(PixelAlpha(disc.At(0, 0)), 0);
    EXPECT_EQ(PixelAlpha(disc.At(10, 10)), 255);
}

TEST(InterfacePictures, SheetAndFrameMeetWithoutGapOrOverlap) {
    ArgbImage sheet, frame;
    ASSERT_EQ(sheet.LoadFromResources("wabacki", "wabackm"), ArgbImage::Load::Loaded);
    ASSERT_EQ(frame.LoadFromResources("waoverlayi", "waoverlaym"), ArgbImage::Load::Loaded);
    // Transparent in the sheet's rounded corners, white and opaque inside.
    EXPECT_EQ(PixelAlpha(sheet.At(0, 0)), 0);
    EXPECT_EQ(PixelAlpha(sheet.At(173, 73)), 0);
    EXPECT_EQ(sheet.At(87, 37), MakePixel(255, 255, 255, 255));
    // The frame is open over the sheet except for the inner corner pieces,
    // which the renderer copies into the canvas corners.
    EXPECT_EQ(PixelAlpha(frame.At(96, 46)), 0);
    EXPECT_EQ(PixelAlpha(frame.At(9, 46)), 0);
    EXPECT_EQ(PixelAlpha(frame.At(9, 9)), 255);
    EXPECT_EQ(PixelAlpha(frame.At(182, 82)), 255);
    EXPECT_EQ(PixelAlpha(frame.At(4, 46)), 255);
    // Where both are partly there (the curves), their opacities add up to
    // one: no window grey peeks through, and no pixel is covered twice.
    for (int y = 0; y < 74; ++y)
        for (int x = 0; x < 174; ++x) {
            const int sum = PixelAlpha(sheet.At(x, y)) + PixelAlpha(frame.At(x + 9, y + 9));
            EXPECT_NEAR(sum, 255, 2) << x << "," << y;
        }
}

TEST(InterfacePictures, TrueTypeSignIsKeyedOnItsTopLeftPixel) {
    ArgbImage sign;
    ASSERT_EQ(sign.LoadFromResource("ttype", false), ArgbImage::Load::Loaded);
    const uint32_t key = sign.At(0, 0);
    int drawn = 0;
    for (int y = 0; y < sign.Height(); ++y)
        for (int x = 0; x < sign.Width(); ++x) drawn += sign.At(x, y) != key;
    // The font list draws every pixel that differs from the key: a real sign,
    // and no antialiased near-key pixels that would show as a fringe.
    EXPECT_GT(drawn, 30);
    for (int y = 0; y < sign.Height(); ++y)
        for (int x = 0; x < sign.Width(); ++x)
            if (sign.At(x, y) != key) {
                EXPECT_LT(PixelRed(sign.At(x, y)), 0xC0) << x << "," << y;
            }
}
