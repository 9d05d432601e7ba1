#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

constexpr TextStyle kWordmark{"Liberation Sans", 30, true};
constexpr TextStyle kTagline{"Liberation Sans", 12, false};
constexpr const char* kTaglineText = "Web buttons in a few clicks";

// The banner sits on the window's button face; its mask leaves the face
// showing around the mark and the name. Nothing in it looks clickable: it
// does nothing when clicked.
ArgbImage Banner(int scale) {
    const Grid grid{330, 70, scale};
    Canvas canvas(grid);
    // The mark lines up with the step discs below it (x 11).
    DrawLogoMark(canvas, 11.0f, 13.0f, 44.0f);

    Coverage name(grid);
    DrawText(name, kWordmark, "Tabora", 66, 9);
    canvas.Fill(name, palette::kText);
    Coverage tagline(grid);
    DrawText(tagline, kTagline, kTaglineText, 67, 42);
    canvas.Fill(tagline, palette::kSubtleText);

    return canvas.ToImage();
}

// The About picture, the whole face of the About box. The box's OK button
// covers (290, 82)-(370, 110), so that corner stays plain.
ArgbImage About(int scale) {
    constexpr int kWidth = 400, kHeight = 350;
    const Grid grid{kWidth, kHeight, scale};
    Canvas canvas(grid);
    canvas.FillAll(palette::kWhite);
    Coverage lower(grid);
    lower.FillRect({0, 236, kWidth, kHeight});
    canvas.Fill(lower, Hex(0xF4F4F4));
    Coverage rule(grid);
    rule.FillRect({0, 236, kWidth, 237});
    canvas.Fill(rule, Hex(0xE0E0E0));

    DrawLogoMark(canvas, 32.0f, 36.0f, 72.0f);
    Coverage name(grid), version(grid);
    DrawText(name, {"Liberation Sans", 40, true}, "Tabora", 122, 38);
    canvas.Fill(name, palette::kText);
    DrawText(version, {"Liberation Sans", 14, false}, "Version 1.0", 124, 86);
    canvas.Fill(version, palette::kSubtleText);

    Coverage tagline(grid);
    DrawText(tagline, {"Liberation Sans", 13, false},
             "Graphical buttons for the web, in a few clicks.", 32, 130);
    canvas.Fill(tagline, palette::kText);

    // A few buttons it makes, on a sheet like the preview's so that they read
    // as examples and not as buttons of the box.
    const Box sheet{24.0f, 158.0f, 376.0f, 214.0f};
    const auto sheetShape = [=](float x, float y) { return SdRoundBox(x, y, sheet, 7.0f); };
    canvas.Fill(Rasterize(grid, sheetShape), Hex(0xDADADA));
    canvas.Fill(Rasterize(grid, [=](float x, float y) { return sheetShape(x, y) + 1.0f; }),
                Hex(0xF7F7F7));
    DrawSampleButton(canvas, {{36.0f, 173.0f, 112.0f, 197.0f},
                              palette::kAccentLight,
                              palette::kAccentDark,
                              true,
                              "Home"});
    DrawSampleButton(
        canvas,
        {{124.0f, 173.0f, 200.0f, 197.0f}, Hex(0x5AA2F5), Hex(0x2266C8), false, "Products"});
    DrawSampleButton(
        canvas, {{212.0f, 173.0f, 288.0f, 197.0f}, Hex(0x4CC17A), Hex(0x1E8A4A), true, "About"});
    DrawSampleButton(
        canvas, {{300.0f, 173.0f, 364.0f, 197.0f}, Hex(0x5E6670), Hex(0x2E343B), false, "Contact"});

    constexpr TextStyle kCredits{"Liberation Sans", 12, false};
    Coverage credits(grid), heading(grid);
    DrawText(heading, {"Liberation Sans", 12, true}, "Credits", 32, 258);
    canvas.Fill(heading, palette::kText);
    DrawText(credits, kCredits, "Design, code and art by the Tabora contributors.", 32, 278);
    DrawText(credits, kCredits, "\xC2\xA9 Tabora contributors", 32, 306);
    canvas.Fill(credits, palette::kSubtleText);
    return canvas.ToImage();
}

}  // namespace

void MakeBannerPictures(PictureSet& set) {
    set.AddPair("banner", "bannerm", Banner(set.Scale()));
    set.AddColor("abback", About(set.Scale()));
}

}  // namespace tabora::art
