// A sheet of buttons across styles, sizes, hues, fonts and both caption
// modes. Every cell must render; with TABORA_GALLERY=<file.png> in the
// environment the sheet is also written out for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>

#include "imaging/PngCodec.h"
#include "platform/File.h"
#include "render/TaboraButton.h"

using namespace tabora;

namespace {

struct Cell {
    int styleIndex;  // n-th loadable style
    int32_t size;    // 0: the style's default
    int32_t hue;
    int32_t brightness;
    const char* font;
    int16_t points;
    uint32_t fontStyle;
    bool antialias;
    bool textShadow;
    const char* caption;
    Color text;
    Color background;
};

constexpr int kColumns = 4;

const Cell kCells[] = {
    {0, 0, 0, 0, "Arial", 12, 0x40, false, true, "Home", 0xFFFFFF, 0xFFFFFF},
    {0, 0, 0, 0, "Arial", 12, 0x40, true, true, "Home", 0xFFFFFF, 0xFFFFFF},
    {1, 0, 1364, 0, "Arial", 14, 0x20, true, true, "Products", 0xFFFFFF, 0xF0E0D0},
    {2, 0, 2728, -100, "Times New Roman", 14, 0x01, true, false, "About us", 0xFFFFFF, 0xFFFFFF},
    {3, 60, 0, 0, "Arial", 8, 0x40, false, false, "Tiny", 0x000000, 0xFFFFFF},
    {3, 120, 0, 0, "Arial", 10, 0x40, true, true, "Smaller", 0xFFFFFF, 0xFFFFFF},
    {3, 200, 0, 0, "Arial", 12, 0x40, true, true, "Natural", 0xFFFFFF, 0xFFFFFF},
    {3, 1000, 0, 0, "Arial", 12, 0x40, true, true, "Widest possible", 0xFFFFFF, 0xFFFFFF},
    {4, 0, 500, 150, "DejaVu Sans", 11, 0x21, false, true, "Contact", 0x202020, 0x404040},
    {4, 0, 500, 150, "DejaVu Sans", 11, 0x21, true, true, "Contact", 0x202020, 0x404040},
    {5, 0, 3500, -205, "Courier New", 12, 0x20, true, true, "Login", 0x00FFFF, 0x000000},
    {6, 0, 1800, 80, "Arial", 18, 0x20, true, true, "Buy!", 0xFFFF00, 0xFFFFFF},
    {7, 0, 0, 0, "DejaVu Serif", 12, 0x40, false, true, "Serif plain", 0xFFFFFF, 0xFFFFFF},
    {7, 0, 0, 0, "DejaVu Serif", 12, 0x40, true, true, "Serif smooth", 0xFFFFFF, 0xFFFFFF},
    {8, 0, 4092, 0, "Arial", 12, 0x01, true, true, "Grüße €", 0xFFFFFF, 0xCCCCFF},
    {9, 0, 2046, 205, "Arial", 24, 0x20, true, true, "Go", 0x000080, 0xFFFFFF},
};

// The n-th style the catalogue can load, counting from the start and
// skipping ahead a little so the sheet shows different families.
std::unique_ptr<ButtonStyle> NthStyle(int index, int16_t& number) {
    int seen = 0;
    for (int16_t n = 1; n <= Archive::kEntryCount; n = int16_t(n + 1)) {
        if (!GetArchive().HasStyleData(n)) continue;
        if (seen++ < index * 7) continue;
        auto style = GetArchive().Load(n);
        if (style) {
            number = n;
            return style;
        }
    }
    return nullptr;
}

// A stand-in when no style art is linked: a soft capsule, stretchable.
std::unique_ptr<ButtonStyle> Capsule(int index) {
    auto style = std::make_unique<ButtonStyle>();
    const int32_t w = 90 + 6 * index, h = 28 + index;
    style->image.Allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t edge = std::min({x, y, w - 1 - x, h - 1 - y});
            const uint8_t a = edge == 0 ? 0 : edge == 1 ? 140 : 255;
            style->image.At(x, y) = MakePixel(a, uint8_t(30 + 4 * y), uint8_t(60 + index * 15),
                                              uint8_t(220 - 3 * y));
        }
    style->stretchColumn = int16_t(w / 2);
    return style;
}

}  // namespace

TEST(ButtonGallery, RendersEveryCell) {
    const int rows = int((std::size(kCells) + kColumns - 1) / kColumns);
    ArgbImage sheet(kColumns * kCanvasWidth, rows * kCanvasHeight);
    int i = 0;
    for (const Cell& c : kCells) {
        TaboraButton b;
        int16_t number = 0;
        std::unique_ptr<ButtonStyle> style = NthStyle(c.styleIndex, number);
        if (style) {
            b.SetStyleNumber(number);
        } else {
            b.SetStyleForTesting(Capsule(c.styleIndex));
        }
        b.SetButtonSize(c.size ? c.size : b.DefaultButtonSize());
        b.SetHueShift(c.hue);
        b.SetBrightness(c.brightness);
        b.SetFontName(c.font);
        b.SetFontSize(c.points);
        b.SetFontStyle(c.fontStyle);
        b.SetAntialias(c.antialias);
        b.SetTextShadow(c.textShadow);
        b.SetCaption(c.caption);
        b.SetTextColor(c.text);
        b.SetBackgroundColor(c.background);
        b.PrepareExport();
        EXPECT_FALSE(b.textMask().Bounds().IsEmpty()) << c.caption;
        EXPECT_FALSE(b.bodyBounds().IsEmpty()) << c.caption;
        const int32_t x = (i % kColumns) * kCanvasWidth, y = (i / kColumns) * kCanvasHeight;
        b.canvas().CompositeOver(sheet, std::nullopt, Rect{x, y, x + kCanvasWidth, y + kCanvasHeight});
        ++i;
    }

    const char* out = std::getenv("TABORA_GALLERY");
    if (!out || !*out) return;
    File file(out, File::Mode::Create);
    FileMacStream stream(&file);
    PngCodec::Write(sheet, stream, false, std::nullopt, nullptr, 0);
}
