#include <algorithm>
#include <cmath>

#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// A mouse pointer with its tip at (0, 0), one unit tall.
const std::vector<std::pair<float, float>> kPointer = {
    {0.0f, 0.0f},   {0.0f, 1.0f},   {0.26f, 0.77f}, {0.44f, 1.15f},
    {0.60f, 1.08f}, {0.42f, 0.71f}, {0.75f, 0.71f},
};

// Below these sizes the finer parts of the mark turn to mush; the mark keeps
// only the tile and the button.
constexpr float kPointerFromSize = 24.0f;
constexpr float kCaptionFromSize = 40.0f;

}  // namespace

void DrawLogoMark(Canvas& canvas, float x, float y, float s) {
    const Grid grid = canvas.GetGrid();
    const auto tile = [=](float px, float py) {
        return SdRoundBox(px, py, {x, y, x + s, y + s}, 0.23f * s);
    };
    const Coverage tileCover = Rasterize(grid, tile);
    canvas.Fill(tileCover, VerticalGradient(y, palette::kAccentLight, y + s, palette::kAccentDark));
    // A soft sheen over the upper half of the tile.
    Coverage sheen = Rasterize(grid, [=](float px, float py) {
        return SdRoundBox(px, py, {x + 0.04f * s, y + 0.03f * s, x + 0.96f * s, y + 0.5f * s},
                          0.2f * s);
    });
    sheen.Intersect(tileCover);
    canvas.Fill(sheen, VerticalGradient(y, WithAlpha(palette::kWhite, 0.22f), y + 0.5f * s,
                                        WithAlpha(palette::kWhite, 0.0f)));

    // The white button, lifted off the tile by a shadow.
    const Box pill{x + 0.15f * s, y + 0.29f * s, x + 0.85f * s, y + 0.59f * s};
    const float pillRadius = (pill.bottom - pill.top) * 0.5f;
    const Coverage pillCover =
        Rasterize(grid, [=](float px, float py) { return SdRoundBox(px, py, pill, pillRadius); });
    Coverage pillShadow =
        pillCover.Blurred(std::max(0.5f, 0.035f * s)).Shifted(0, int(std::lround(0.035f * s)));
    pillShadow.Intersect(tileCover);
    canvas.Fill(pillShadow, WithAlpha(Hex(0x7A3000), 0.45f));
    canvas.Fill(pillCover, VerticalGradient(pill.top, palette::kWhite, pill.bottom, Hex(0xF0ECE8)));
    if (s >= kCaptionFromSize) {
        const Box bar{x + 0.30f * s, y + 0.42f * s, x + 0.70f * s, y + 0.47f * s};
        canvas.Fill(Rasterize(grid, [=](float px,
                                        float py) { return SdRoundBox(px, py, bar, 0.025f * s); }),
                    palette::kAccent);
    }
    if (s >= kPointerFromSize) {
        const float tipX = x + 0.60f * s, tipY = y + 0.50f * s, scale = 0.33f * s;
        const float outline = std::max(1.0f, 0.035f * s);
        const auto pointer = [=](float px, float py) {
            return SdPolygon((px - tipX) / scale, (py - tipY) / scale, kPointer) * scale;
        };
        canvas.Fill(Rasterize(grid, [=](float px, float py) { return pointer(px, py) - outline; }),
                    palette::kWhite);
        canvas.Fill(Rasterize(grid, pointer), Hex(0x262626));
    }
}

void DrawSampleButton(Canvas& canvas, const SampleButton& b) {
    const Grid grid = canvas.GetGrid();
    const int scale = grid.scale;
    const float height = b.box.bottom - b.box.top;
    const float radius = b.pill ? height * 0.5f : std::min(6.0f, height * 0.3f);
    const auto body = [=](float px, float py) { return SdRoundBox(px, py, b.box, radius); };
    const Coverage cover = Rasterize(grid, body);

    Coverage shadow = cover.Blurred(1.6f).Shifted(0, 2);
    shadow.Scale(0.32f);
    canvas.Fill(shadow, palette::kShadow);
    canvas.Fill(cover, [=](float px, float py) {
        Rgba c = VerticalGradient(b.box.top, b.top, b.box.bottom, b.bottom)(px, py);
        // A darker hairline keeps the edge crisp on any background.
        const float edge = SharpStep(-1.6f, -0.4f, body(px, py), scale);
        return Mix(c, Mix(b.bottom, Hex(0x000000), 0.3f), 0.7f * edge);
    });
    // Gloss across the upper half.
    const Box glossBox{b.box.left + 2.0f, b.box.top + 1.5f, b.box.right - 2.0f,
                       b.box.top + height * 0.5f};
    canvas.Fill(Rasterize(grid,
                          [=](float px, float py) {
                              return SdRoundBox(px, py, glossBox, std::max(1.0f, radius - 2.0f));
                          }),
                VerticalGradient(glossBox.top, WithAlpha(palette::kWhite, 0.45f), glossBox.bottom,
                                 WithAlpha(palette::kWhite, 0.08f)));
    if (*b.caption) {
        const TextStyle font{"Liberation Sans", int(std::lround(height * 0.46f)), true};
        const float cx = (b.box.left + b.box.right) * 0.5f, cy = (b.box.top + b.box.bottom) * 0.5f;
        Coverage textShadow(grid), text(grid);
        DrawTextCentred(textShadow, font, b.caption, cx, cy + 1.0f);
        DrawTextCentred(text, font, b.caption, cx, cy);
        textShadow.Scale(0.3f);
        canvas.Fill(textShadow, palette::kShadow);
        canvas.Fill(text, palette::kWhite);
    }
}

}  // namespace tabora::art
