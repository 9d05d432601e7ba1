#include <cmath>

#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// The preview is a 174 × 74 sheet 9 pixels inside a 192 × 92 frame. The
// frame's opening and the sheet share one rounded rectangle, so the frame's
// inner corner pieces, which the renderer copies into the canvas corners,
// meet the sheet without a gap or an overlap.
constexpr int kFrameWidth = 192, kFrameHeight = 92;
constexpr int kSheetWidth = 174, kSheetHeight = 74;
constexpr float kInset = 9.0f;
constexpr float kSheetRadius = 7.0f;
constexpr float kOuterRadius = 12.0f;

// Toward the light: above and a little to the left, as everywhere in the art.
constexpr float kLightX = -0.45f, kLightY = -0.89f;

float SheetShape(float x, float y) {
    return SdRoundBox(x, y, {kInset, kInset, kInset + kSheetWidth, kInset + kSheetHeight},
                      kSheetRadius);
}

float OuterShape(float x, float y) {
    return SdRoundBox(x, y, {1.0f, 0.5f, kFrameWidth - 1.0f, kFrameHeight - 1.5f}, kOuterRadius);
}

// How much a surface whose slope falls along the gradient of `shape` faces
// the light: the unit gradient by central differences.
float Facing(const Sdf& shape, float x, float y) {
    const float gx = shape(x + 0.5f, y) - shape(x - 0.5f, y);
    const float gy = shape(x, y + 0.5f) - shape(x, y - 0.5f);
    const float len = std::hypot(gx, gy);
    if (len < 1e-6f) return 0.0f;
    return (gx * kLightX + gy * kLightY) / len;
}

ArgbImage Frame(int scale) {
    const Grid grid{kFrameWidth, kFrameHeight, scale};
    Canvas canvas(grid);
    const Coverage outer = Rasterize(grid, OuterShape);
    const Coverage opening = Rasterize(grid, SheetShape);

    // The soft edge: a faint shadow under the frame, a touch lower than it.
    // None of it may reach into the opening: there the frame's opacity must
    // be exactly what the sheet lacks.
    Coverage shadow = outer.Blurred(1.4f).Shifted(0, 1);
    shadow.Cut(Rasterize(grid, [](float x, float y) { return SheetShape(x, y) - 2.0f; }));
    shadow.Scale(0.30f);
    canvas.Fill(shadow, palette::kShadow);

    Coverage body = outer;
    body.Cut(opening);
    canvas.Fill(body, [scale](float x, float y) {
        // A satin grey lit from above, a rounded outer rim that catches the
        // light, and an opening whose lip falls away into the sheet.
        Rgba c = Mix(Hex(0xE8E8E8), Hex(0xCDCDCD), Clamp01(y / kFrameHeight));
        const float fromOuter = -OuterShape(x, y);
        const float fromOpening = SheetShape(x, y);
        const float rim = 1.0f - SmoothStep(0.5f, 3.5f, fromOuter);
        const float lip = 1.0f - SmoothStep(0.5f, 3.0f, fromOpening);
        // The rim faces outward (along the outer gradient); the lip faces the
        // opening (down the opening's gradient).
        const float shade =
            0.45f * rim * Facing(OuterShape, x, y) + 0.45f * lip * -Facing(SheetShape, x, y);
        c = shade > 0 ? Mix(c, palette::kWhite, shade) : Mix(c, Hex(0x5A5A5A), -shade);
        // A hairline at the opening gives the sheet a crisp border.
        const float hairline = 1.0f - SharpStep(0.5f, 1.5f, fromOpening, scale);
        c = Mix(c, Hex(0x8C8C8C), 0.55f * hairline);
        // And one at the outside keeps the frame from dissolving into the window.
        const float outline = 1.0f - SharpStep(0.5f, 1.5f, fromOuter, scale);
        return Mix(c, Hex(0xA8A8A8), 0.5f * outline);
    });
    return canvas.ToImage();
}

ArgbImage Sheet(int scale) {
    const Grid grid{kSheetWidth, kSheetHeight, scale};
    Canvas canvas(grid);
    canvas.Fill(
        Rasterize(grid, [](float x, float y) { return SheetShape(x + kInset, y + kInset); }),
        palette::kWhite);
    return canvas.ToImage();
}

}  // namespace

void MakeWorkAreaPictures(PictureSet& set) {
    set.AddPair("wabacki", "wabackm", Sheet(set.Scale()));
    set.AddPair("waoverlayi", "waoverlaym", Frame(set.Scale()));
}

}  // namespace tabora::art
