#include <cstring>
#include <string>

#include "imaging/PngCodec.h"
#include "io/MacStream.h"
#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// The format icons: a sheet of paper holding a picture, with a badge in
// the format's own colour.
constexpr int kIconWidth = 33, kIconHeight = 44;
constexpr float kFold = 8.0f;  // the dog-ear of the sheet
constexpr Box kSheet{4.0f, 1.0f, 31.0f, 39.0f};
constexpr TextStyle kBadgeFont{"Liberation Sans", 9, true};

struct FormatIcon {
    const char* colorName;
    const char* maskName;
    const char* badge;
    Rgba color;
};

const FormatIcon kFormats[] = {
    {"gificoni", "gificonm", "GIF", Hex(0x8E4FD0)},
    {"jpgiconi", "jpgiconm", "JPG", Hex(0x1F9D55)},
    {"pngiconi", "pngiconm", "PNG", Hex(0x2F7FE6)},
    {"bmpiconi", "bmpiconm", "BMP", Hex(0xD9453F)},
    {"webpiconi", "webpiconm", "WebP", Hex(0xE0861A)},
};

float SheetShape(float x, float y) {
    // The rectangle minus its top-right corner, cut along the diagonal.
    const float box = SdRoundBox(x, y, kSheet, 1.5f);
    const float cut = ((x - (kSheet.right - kFold)) - (y - kSheet.top)) * 0.70710678f;
    return std::max(box, cut);
}

ArgbImage Icon(const FormatIcon& f, int scale) {
    const Grid grid{kIconWidth, kIconHeight, scale};
    Canvas canvas(grid);
    const Coverage sheet = RasterizeSampled(grid, SheetShape, 5);
    Coverage shadow = sheet.Blurred(1.2f).Shifted(0, 1);
    shadow.Scale(0.35f);
    canvas.Fill(shadow, palette::kShadow);
    // Outline first, the paper one pixel inside it.
    canvas.Fill(sheet, Hex(0x9A9A9A));
    canvas.Fill(RasterizeSampled(
                    grid, [](float x, float y) { return SheetShape(x, y) + 1.0f; }, 5),
                VerticalGradient(kSheet.top, palette::kWhite, kSheet.bottom, Hex(0xF1F1F1)));
    // The dog-ear, folded toward the viewer.
    const std::vector<std::pair<float, float>> ear = {{kSheet.right - kFold, kSheet.top},
                                                      {kSheet.right - kFold, kSheet.top + kFold},
                                                      {kSheet.right, kSheet.top + kFold}};
    canvas.Fill(RasterizeSampled(
                    grid, [&](float x, float y) { return SdPolygon(x, y, ear); }, 5),
                Hex(0x9A9A9A));
    canvas.Fill(RasterizeSampled(
                    grid, [&](float x, float y) { return SdPolygon(x, y, ear) + 1.0f; }, 5),
                Hex(0xE2E2E2));

    // A landscape in the format's colour: a sun and two hills.
    const Rgba tint = Mix(f.color, palette::kWhite, 0.35f);
    canvas.Fill(
        Rasterize(grid, [](float x, float y) { return SdCircle(x, y, 12.0f, 11.0f, 2.6f); }),
        Mix(palette::kAccentLight, palette::kWhite, 0.1f));
    const std::vector<std::pair<float, float>> hills = {
        {7.5f, 23.0f}, {13.5f, 15.5f}, {17.5f, 20.0f}, {20.5f, 17.0f}, {27.5f, 23.0f}};
    canvas.Fill(RasterizeSampled(
                    grid, [&](float x, float y) { return SdPolygon(x, y, hills); }, 5),
                tint);

    // The badge reaches past the left edge of the sheet, like a tag.
    const Box badge{1.0f, 27.0f, 27.0f, 37.0f};
    const Coverage badgeCover =
        Rasterize(grid, [&](float x, float y) { return SdRoundBox(x, y, badge, 2.0f); });
    canvas.Fill(badgeCover, VerticalGradient(badge.top, Mix(f.color, palette::kWhite, 0.12f),
                                             badge.bottom, Mix(f.color, Hex(0x000000), 0.12f)));
    Coverage text(grid);
    DrawTextCentred(text, kBadgeFont, f.badge, (badge.left + badge.right) * 0.5f,
                    (badge.top + badge.bottom) * 0.5f);
    canvas.Fill(text, palette::kWhite);
    return canvas.ToImage();
}

// The TrueType sign of the font list: crisp pixels on a white key colour,
// because the list makes every pixel of the top-left colour transparent and
// keeps all others whole.
ArgbImage TrueTypeSign() {
    static const char* const kRows[] = {
        "....................",  //
        "..gggggggg..........",  //
        "..gggggggg..........",  //
        ".....gg.............",  //
        ".....gg.dddddddd....",  //
        ".....gg.dddddddd....",  //
        ".....gg....dd.......",  //
        ".....gg....dd.......",  //
        "...........dd.......",  //
        "...........dd.......",  //
        "...........dd.......",  //
        "....................",  //
    };
    ArgbImage image(20, 12);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 20; ++x) {
            const char c = kRows[y][x];
            image.At(x, y) = c == 'g'   ? MakePixel(255, 0xA0, 0xA0, 0xA0)
                             : c == 'd' ? MakePixel(255, 0x33, 0x33, 0x33)
                                        : MakePixel(255, 0xFF, 0xFF, 0xFF);
        }
    return image;
}

// The application icon at the sizes desktops ask for.
constexpr int kAppIconSizes[] = {16, 32, 48, 256};

ArgbImage AppIcon(int size, int scale) {
    const Grid grid{size, size, scale};
    Canvas canvas(grid);
    // A margin for the shadow; small sizes need every pixel for the mark.
    const float margin = size >= 48 ? float(size) * 0.07f : 1.0f;
    const float side = float(size) - 2.0f * margin;
    if (size >= 32) {
        Coverage shadow = Rasterize(grid, [=](float x, float y) {
            return SdRoundBox(x, y, {margin, margin, margin + side, margin + side}, 0.23f * side);
        });
        shadow = shadow.Blurred(float(size) * 0.02f).Shifted(0, std::max(1, size / 64));
        shadow.Scale(0.35f);
        canvas.Fill(shadow, palette::kShadow);
    }
    DrawLogoMark(canvas, margin, size >= 32 ? margin : 0.5f, side);
    return canvas.ToImage();
}

}  // namespace

void MakeIconPictures(PictureSet& set) {
    const int scale = set.Scale();
    for (const FormatIcon& f : kFormats) set.AddPair(f.colorName, f.maskName, Icon(f, scale));
    // Hand-set pixels: at a finer scale each one becomes a square of them.
    set.AddColor("ttype", Enlarge(TrueTypeSign(), scale));
    for (int size : kAppIconSizes) {
        const ArgbImage icon = AppIcon(size, scale);
        const std::string name = "TABORA" + std::to_string(size);
        set.AddPair(name + "i", name + "m", icon);
        // The desktop's icon files come in sizes of their own.
        if (scale != 1) continue;
        PtrMacStream png;
        PngCodec::Write(icon, png, true, std::nullopt, nullptr, 0);
        set.Out().WriteFile("icons/tabora-" + std::to_string(size) + ".png", png.Data(),
                            png.Length());
    }
}

}  // namespace tabora::art
