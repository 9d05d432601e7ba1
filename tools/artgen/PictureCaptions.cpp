#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// The captions and read-outs are stored as grey-as-alpha pictures, which the
// program draws as black. Pure black at full strength looks harsh beside the
// antialiased labels; this opacity turns it into the same dark grey on the
// button face.
constexpr float kInk = 224.0f / 255.0f;
// Blank columns between capitals: small caps read best a little spaced.
constexpr int kTracking = 2;
// Between the two lines of a two-line caption.
constexpr int kLineGap = 3;

enum class Align { Right, Centre };

struct Caption {
    const char* name;
    int width, height;
    Align align;
    const char* lines[2];
};

// Sizes from the window layout. Captions left of a check box, swatch or the
// arrows end at their box's right edge, next to the control; "hue" and
// "bright" share a centre line above their sliders.
const Caption kCaptions[] = {
    {"size", 25, 5, Align::Right, {"SIZE", nullptr}},
    {"hue", 57, 5, Align::Centre, {"HUE", nullptr}},
    {"bright", 67, 5, Align::Centre, {"BRIGHTNESS", nullptr}},
    {"tcolor", 34, 5, Align::Right, {"COLOR", nullptr}},
    {"antialias", 65, 5, Align::Right, {"ANTIALIAS", nullptr}},
    {"shadow", 43, 5, Align::Right, {"SHADOW", nullptr}},
    {"placement", 63, 13, Align::Right, {"TEXT", "PLACEMENT"}},
};

ArgbImage InkImage(const Coverage& coverage) {
    Canvas canvas(coverage.GetGrid());
    Coverage ink = coverage;
    ink.Scale(kInk);
    canvas.Fill(ink, palette::kShadow);
    return canvas.ToImage();
}

}  // namespace

void MakeCaptionPictures(PictureSet& set) {
    for (const Caption& caption : kCaptions) {
        Coverage coverage({caption.width, caption.height, set.Scale()});
        for (int line = 0; line < 2 && caption.lines[line]; ++line) {
            const int w = PixelTextWidth(caption.lines[line], kTracking);
            const int x =
                caption.align == Align::Right ? caption.width - w : (caption.width - w) / 2;
            DrawPixelText(coverage, caption.lines[line], x, line * (kPixelFontHeight + kLineGap),
                          kTracking);
        }
        set.AddGrey(caption.name, InkImage(coverage));
    }
    for (const ReadoutGlyph& glyph : ReadoutGlyphs()) {
        Coverage coverage({GlyphWidth(glyph), kPixelFontHeight, set.Scale()});
        for (int y = 0; y < kPixelFontHeight; ++y)
            for (int x = 0; x < GlyphWidth(glyph); ++x)
                if (glyph.rows[y][x] == '#') coverage.FillRect({x, y, x + 1, y + 1});
        set.AddGrey(glyph.name, InkImage(coverage));
    }
}

}  // namespace tabora::art
