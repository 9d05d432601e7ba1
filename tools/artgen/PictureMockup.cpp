#include <algorithm>

#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// A review sheet, not a resource: every picture at its place in the main
// window, with plain stand-ins for the standard controls, so that sizes,
// alignment and contrast can be judged the way a user will see them.
constexpr int kClientWidth = 548, kClientHeight = 530;

class Mockup {
public:
    explicit Mockup(const PictureSet& set)
        : set_(set), grid_{kClientWidth, kClientHeight, set.Scale()}, canvas_(grid_) {
        canvas_.FillAll(palette::kWindow);
    }

    void Picture(const std::string& name, int x, int y) { canvas_.Draw(set_.Loaded(name), x, y); }
    void Box(Rect r, Rgba color) {
        Coverage c(grid_);
        c.FillRect(r);
        canvas_.Fill(c, color);
    }
    // An etched line: a shadow line and a highlight line.
    void Rule(Rect r) {
        const bool across = r.Width() > r.Height();
        Box(across ? Rect{r.left, r.top, r.right, r.top + 1}
                   : Rect{r.left, r.top, r.left + 1, r.bottom},
            Hex(0xA0A0A0));
        Box(across ? Rect{r.left, r.top + 1, r.right, r.bottom}
                   : Rect{r.left + 1, r.top, r.right, r.bottom},
            palette::kWhite);
    }
    // A sunken white field (edit box, list, check box).
    void Field(Rect r) {
        Box(r, Hex(0x8E8E8E));
        Box(r.Inflate(-1, -1), palette::kWhite);
    }
    void Text(const std::string& text, int x, int y, Rgba color = palette::kText) {
        Coverage c(grid_);
        DrawText(c, {"Liberation Sans", 11, false}, text, x, y);
        canvas_.Fill(c, color);
    }
    void Combo(Rect r, const std::string& text) {
        Field(r);
        Text(text, r.left + 4, r.top + 4);
        Box({r.right - 16, r.top + 1, r.right - 1, r.bottom - 1}, Hex(0xE4E4E4));
        const float cx = float(r.right) - 8.5f, cy = float(r.top + r.bottom) * 0.5f;
        canvas_.Fill(RasterizeSampled(
                         grid_,
                         [=](float x, float y) {
                             return SdPolygon(
                                 x, y,
                                 {{cx - 3.5f, cy - 1.5f}, {cx + 3.5f, cy - 1.5f}, {cx, cy + 2.0f}});
                         },
                         4),
                     Hex(0x404040));
    }
    void Slider(Rect r, float position) {
        const int mid = (r.top + r.bottom) / 2;
        Box({r.left + 6, mid - 2, r.right - 6, mid + 2}, Hex(0x9A9A9A));
        Box({r.left + 7, mid - 1, r.right - 7, mid + 1}, Hex(0xDCDCDC));
        const int x = r.left + 6 + int(position * float(r.Width() - 12));
        const Rect thumb{x - 5, r.top + 2, x + 6, r.bottom - 2};
        Box(thumb, Hex(0x8A8A8A));
        Box(thumb.Inflate(-1, -1), Hex(0xF7F7F7));
    }
    void Check(Rect r, bool checked) {
        Field(r);
        if (!checked) return;
        canvas_.Fill(Rasterize(grid_,
                               [=](float x, float y) {
                                   const float l = float(r.left), t = float(r.top);
                                   return std::min(
                                              SdSegment(x, y, l + 3, t + 6.5f, l + 5.5f, t + 9),
                                              SdSegment(x, y, l + 5.5f, t + 9, l + 10, t + 3.5f)) -
                                          0.9f;
                               }),
                     Hex(0x262626));
    }
    // The swatch as the colour button draws it: a dark outline with cut
    // corners one pixel inside its rectangle.
    void Swatch(Rect r) {
        const Rect o = r.Inflate(-1, -1);
        Box({o.left + 1, o.top, o.right - 1, o.bottom}, Hex(0x202020));
        Box({o.left, o.top + 1, o.right, o.bottom - 1}, Hex(0x202020));
        Box(o.Inflate(-1, -1), palette::kWhite);
    }
    void Readout(int x, int y, const std::vector<std::string>& glyphs) {
        for (const std::string& g : glyphs) {
            Picture(g, x, y);
            x += set_.Loaded(g).Width() / set_.Scale() + 1;
        }
    }
    Canvas& Surface() { return canvas_; }

private:
    const PictureSet& set_;
    Grid grid_;
    Canvas canvas_;
};

ArgbImage Window(const PictureSet& set) {
    Mockup m(set);
    m.Rule({0, 0, 548, 2});
    m.Picture("banner", 0, 2);
    // The archive is the strip of styles; here only its place.
    m.Field({330, 2, 543, 522});
    m.Box({527, 3, 542, 521}, Hex(0xE6E6E6));
    m.Text("style archive", 396, 250, palette::kSubtleText);
    for (Rect r : {Rect{0, 72, 333, 74}, Rect{0, 172, 331, 174}, Rect{0, 250, 331, 252},
                   Rect{0, 286, 331, 288}, Rect{0, 330, 331, 332}, Rect{0, 453, 331, 455},
                   Rect{328, 2, 330, 525}})
        m.Rule(r);
    m.Check({231, 303, 244, 316}, true);
    m.Slider({4, 145, 128, 170}, 1.0f);
    m.Slider({150, 187, 310, 212}, 0.0f);
    m.Slider({150, 224, 310, 249}, 0.5f);
    m.Picture("choosei", 38, 82);
    const int stepTops[] = {82, 184, 258, 295, 339, 470};
    for (int i = 0; i < 6; ++i) m.Picture("orange" + std::to_string(i + 1) + "i", 11, stepTops[i]);
    m.Picture("adjusti", 42, 195);
    m.Picture("bcolori", 39, 261);
    m.Picture("shadowi", 41, 295);
    m.Picture("typei", 42, 341);
    m.Picture("savei", 38, 470);
    m.Picture("size", 34, 138);
    m.Picture("hue", 186, 180);
    m.Picture("bright", 181, 217);
    m.Picture("tcolor", 242, 349);
    m.Picture("antialias", 211, 369);
    m.Picture("shadow", 233, 390);
    m.Picture("placement", 198, 421);
    m.Picture("gificoni", 120, 467);
    m.Picture("jpgiconi", 160, 467);
    m.Picture("pngiconi", 200, 467);
    m.Picture("bmpiconi", 240, 467);
    m.Picture("webpiconi", 280, 467);
    // The work area and the preview: the sheet, the frame, then the canvas
    // as the renderer starts it (background colour, the frame's inner corner
    // pieces) with a sample button on it.
    m.Picture("wabacki", 142, 86);
    m.Picture("waoverlayi", 133, 77);
    Canvas preview({174, 74, set.Scale()});
    preview.FillAll(palette::kWhite);
    Canvas frame({192, 92, set.Scale()});
    frame.Draw(set.Loaded("waoverlayi"), 0, 0);
    preview.Draw(frame, -9, -9);
    DrawSampleButton(preview, {{45.0f, 24.0f, 129.0f, 50.0f},
                               palette::kAccentLight,
                               palette::kAccentDark,
                               true,
                               "Button"});
    m.Surface().Draw(preview, 142, 86);
    m.Check({284, 365, 297, 378}, false);
    m.Check({284, 386, 297, 399}, true);
    m.Swatch({229, 261, 245, 277});
    m.Swatch({282, 343, 298, 359});
    m.Field({15, 365, 169, 388});
    m.Text("Button", 19, 370);
    m.Combo({15, 394, 169, 416}, "Arial");
    m.Combo({15, 422, 95, 444}, "Regular");
    m.Combo({125, 422, 169, 444}, "12");
    for (Rect r : {Rect{269, 421, 282, 434}, Rect{285, 412, 298, 425}, Rect{301, 421, 314, 434},
                   Rect{285, 428, 298, 441}}) {
        m.Box(r, Hex(0x8E8E8E));
        m.Box(r.Inflate(-1, -1), Hex(0xF4F4F4));
    }
    m.Readout(73, 138, {"one", "zero", "zero", "percent"});
    m.Readout(256, 180, {"plus", "zero", "degree"});
    m.Readout(256, 217, {"plus", "zero", "decimal", "zero", "percent"});
    return m.Surface().ToImage();
}

// Half size by averaging 2 × 2 blocks (premultiplied), for the icon row.
ArgbImage Half(const ArgbImage& image) {
    ArgbImage out(image.Width() / 2, image.Height() / 2);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            float r = 0, g = 0, b = 0, a = 0;
            for (int j = 0; j < 2; ++j)
                for (int i = 0; i < 2; ++i) {
                    const uint32_t p = image.At(2 * x + i, 2 * y + j);
                    const float pa = float(PixelAlpha(p));
                    a += pa;
                    r += pa * float(PixelRed(p));
                    g += pa * float(PixelGreen(p));
                    b += pa * float(PixelBlue(p));
                }
            out.At(x, y) = a == 0 ? 0
                                  : MakePixel(uint8_t(a / 4.0f + 0.5f), uint8_t(r / a + 0.5f),
                                              uint8_t(g / a + 0.5f), uint8_t(b / a + 0.5f));
        }
    return out;
}

}  // namespace

void MakeMockup(PictureSet& set) {
    // The window at 2x shows the finer pictures in place; 3x adds nothing to
    // look at but time.
    if (set.Scale() > 2) return;
    const ArgbImage window = Window(set);
    set.Review("mockup", window);
    if (set.Scale() != 1) return;

    // The sheet for the README: the window, the About picture, the icons.
    constexpr int kGap = 24;
    const ArgbImage& about = set.Loaded("abback");
    Canvas sheet({kClientWidth + 3 * kGap + about.Width(), kClientHeight + 2 * kGap, 1});
    sheet.FillAll(Hex(0xFFFFFF));
    Canvas windowFrame({kClientWidth + 2, kClientHeight + 2, 1});
    windowFrame.FillAll(Hex(0xC8C8C8));
    windowFrame.Draw(window, 1, 1);
    sheet.Draw(windowFrame, kGap - 1, kGap - 1);
    const int right = kClientWidth + 2 * kGap;
    Canvas aboutFrame({about.Width() + 2, about.Height() + 2, 1});
    aboutFrame.FillAll(Hex(0xC8C8C8));
    aboutFrame.Draw(about, 1, 1);
    sheet.Draw(aboutFrame, right - 1, kGap - 1);
    int x = right;
    const int iconTop = kGap + about.Height() + kGap;
    sheet.Draw(Half(set.Loaded("TABORA256i")), x, iconTop);
    x += 128 + kGap;
    for (const char* name : {"TABORA48i", "TABORA32i", "TABORA16i"}) {
        const ArgbImage& icon = set.Loaded(name);
        sheet.Draw(icon, x, iconTop + 128 - icon.Height());
        x += icon.Width() + kGap;
    }
    set.Out().Review("interface-pictures.png", sheet.ToImage());
}

}  // namespace tabora::art
