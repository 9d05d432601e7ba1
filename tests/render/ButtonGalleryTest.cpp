// A sheet of buttons across styles, sizes, hues, fonts, both caption modes
// and several scripts. Every cell must render; with TABORA_GALLERY=<file.png> in the
// environment the sheet is also written out for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>

#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/support/ReviewPicture.h"

using namespace tabora;

namespace {

struct Cell {
    int16_t styleNumber;
    int32_t size;  // 0: the style's default
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

// Styles by catalogue number: the glossy opening pair, today's flat, two-hue,
// tonal, glow, icon-and-label and outline buttons with the caption colours
// the catalogue records for them, a classic arrow, and the near-white gel at
// full brightness.
const Cell kCells[] = {
    {1, 0, 0, 0, "Arial", 12, 0x40, false, true, "Home", 0xFFFFFF, 0xFFFFFF},
    {1, 0, 0, 0, "Arial", 12, 0x40, true, true, "Home", 0xFFFFFF, 0xFFFFFF},
    {64, 0, 0, 0, "Arial", 14, 0x20, true, false, "Products", 0x28231F, 0xF0E0D0},
    {258, 0, 2728, -100, "Times New Roman", 14, 0x01, true, false, "About us", 0xFFFFFF, 0xFFFFFF},
    {16, 60, 0, 0, "Arial", 8, 0x40, false, false, "Tiny", 0x000000, 0xFFFFFF},
    {16, 200, 0, 0, "Arial", 10, 0x40, true, false, "Save", 0x28231F, 0xFFFFFF},
    {16, 0, 0, 0, "Arial", 12, 0x40, true, false, "Natural", 0x28231F, 0xFFFFFF},
    {16, 1000, 0, 0, "Arial", 12, 0x40, true, false, "Widest possible", 0x28231F, 0xFFFFFF},
    {190, 0, 500, 150, "DejaVu Sans", 11, 0x21, false, false, "Contact", 0xAB6A23, 0xFFFFFF},
    {190, 0, 500, 150, "DejaVu Sans", 11, 0x21, true, false, "Contact", 0xAB6A23, 0xFFFFFF},
    {413, 0, 0, 0, "Courier New", 12, 0x20, true, false, "Login", 0xE59339, 0x181514},
    {2, 0, 1800, 80, "Arial", 12, 0x20, true, true, "Go", 0xFFFFFF, 0xFFFFFF},
    {318, 0, 0, 0, "DejaVu Serif", 12, 0x40, false, false, "Play", 0x28231F, 0xFFFFFF},
    {770, 0, 0, 0, "DejaVu Sans", 11, 0x20, true, false, "Next", 0x28231F, 0xFFFFFF},
    {131, 0, 4092, 0, "Arial", 12, 0x01, true, false, "Grüße €", 0xC27828, 0xFFFFFF},
    {447, 0, 2046, 205, "Arial", 24, 0x20, true, true, "?", 0x000080, 0xFFFFFF},
    // Captions in other scripts with the default font: shaped, reordered
    // and drawn from fallback faces; emoji in their own colours.
    {64, 0, 0, 0, "Arial", 14, 0x40, true, false, "مرحبا بكم", 0x28231F, 0xFFFFFF},
    {64, 0, 1364, 0, "Arial", 14, 0x20, false, false, "שלום", 0x28231F, 0xFFFFFF},
    {16, 0, 2728, 0, "Arial", 12, 0x40, true, false, "Buy عربي now", 0x28231F, 0xFFFFFF},
    {1, 0, 0, 0, "Arial", 14, 0x40, true, true, "你好，欢迎", 0xFFFFFF, 0xFFFFFF},
    {190, 0, 500, 150, "Arial", 13, 0x40, false, false, "ようこそ", 0xAB6A23, 0xFFFFFF},
    {258, 0, 700, 0, "Arial", 14, 0x40, true, false, "नमस्ते", 0xFFFFFF, 0xFFFFFF},
    {131, 0, 3000, 0, "Arial", 14, 0x40, true, false, "สวัสดี", 0xC27828, 0xCCCCFF},
    {64, 0, 2400, 0, "Arial", 14, 0x20, true, false, "Sale 🎉 -50%", 0x28231F, 0xFFFFFF},
};

// A stand-in when no style art is linked: a soft capsule, stretchable.
std::unique_ptr<ButtonStyle> Capsule(int16_t number) {
    auto style = std::make_unique<ButtonStyle>();
    const int32_t w = 90 + number % 40, h = 28;
    style->image.Allocate(w, h);
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) {
            const int32_t edge = std::min({x, y, w - 1 - x, h - 1 - y});
            const uint8_t a = edge == 0 ? 0 : edge == 1 ? 140 : 255;
            style->image.At(x, y) = MakePixel(a, uint8_t(30 + 4 * y), uint8_t(number),
                                              uint8_t(220 - 3 * y));
        }
    style->stretchColumn = int16_t(w / 2);
    return style;
}

// The catalogue's style, or a capsule where it has none.
class GalleryStyles : public StyleSource {
public:
    std::unique_ptr<ButtonStyle> Load(int32_t n) const override {
        std::unique_ptr<ButtonStyle> style = GetArchive().Load(n);
        return style ? std::move(style) : Capsule(int16_t(n));
    }
};

}  // namespace

TEST(ButtonGallery, RendersEveryCell) {
    const int rows = int((std::size(kCells) + kColumns - 1) / kColumns);
    ArgbImage sheet(kColumns * kCanvasWidth, rows * kCanvasHeight);
    int i = 0;
    for (const Cell& c : kCells) {
        const GalleryStyles styles;
        TaboraButton b(styles);
        b.SetStyleNumber(c.styleNumber);
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

    tabora::test::WriteReviewPicture(sheet, "TABORA_GALLERY");
}
