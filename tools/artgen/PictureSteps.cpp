#include <algorithm>
#include <stdexcept>
#include <string>

#include "tools/artgen/PictureText.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

namespace {

// The step labels: the widest single-line label ("Select a background
// color", 137 pixels) fits only at 11 pixels, and every label shares it.
constexpr TextStyle kLabelFont{"Liberation Sans", 11, false};
constexpr int kMaxLinePitch = 14;

struct StepLabel {
    const char* colorName;
    const char* maskName;
    int width, height;
    const char* text;  // line breaks where they balance the lines
};

// Sizes from the window layout.
const StepLabel kLabels[] = {
    {"choosei", "choosem", 88, 42, "Choose a button\nfrom the list\nat the right"},
    {"adjusti", "adjustm", 89, 29, "Adjust color\nand brightness"},
    {"bcolori", "bcolorm", 137, 16, "Select a background color"},
    {"shadowi", "shadowm", 107, 29, "Check the box to\nadd a drop-shadow"},
    {"typei", "typem", 149, 16, "Type some text (optional)"},
    {"savei", "savem", 61, 26, "Save your\nbutton"},
};

ArgbImage Label(const StepLabel& label, int scale) {
    std::vector<std::string> lines;
    std::string_view rest = label.text;
    while (!rest.empty()) {
        const size_t end = std::min(rest.find('\n'), rest.size());
        for (auto& line : WrapText(kLabelFont, rest.substr(0, end), label.width))
            lines.push_back(line);
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    const int pitch = std::min(kMaxLinePitch, label.height / int(lines.size()));
    // The block sits in the middle of the box, so a one-line label lines up
    // with the centre of its step disc.
    const int block = pitch * (int(lines.size()) - 1) + LineHeight(kLabelFont);
    int y = (label.height - block) / 2;
    const Grid grid{label.width, label.height, scale};
    Coverage text(grid);
    for (const std::string& line : lines) {
        if (TextWidth(kLabelFont, line) > label.width || y < 0 ||
            y + LineHeight(kLabelFont) > label.height + 3 ||
            TextWidth(kLabelFont, line, scale) > label.width * scale)
            throw std::runtime_error(std::string("label does not fit: ") + label.text);
        DrawText(text, kLabelFont, line, 0, y);
        y += pitch;
    }
    Canvas canvas(grid);
    canvas.Fill(text, palette::kText);
    return canvas.ToImage();
}

// The numbered steps: an orange disc on a soft shadow, a white figure.
constexpr int kDisc = 20;
constexpr float kDiscCentreX = 10.0f, kDiscCentreY = 9.6f, kDiscRadius = 9.1f;
constexpr TextStyle kDigitFont{"Liberation Sans", 13, true};

Canvas DiscBase(int scale) {
    const Grid grid{kDisc, kDisc, scale};
    Canvas canvas(grid);
    const auto disc = [](float x, float y) {
        return SdCircle(x, y, kDiscCentreX, kDiscCentreY, kDiscRadius);
    };
    const Coverage body = Rasterize(grid, disc);
    Coverage shadow = body.Blurred(0.8f).Shifted(0, 1);
    shadow.Scale(0.35f);
    canvas.Fill(shadow, palette::kShadow);
    canvas.Fill(body, [disc, scale](float x, float y) {
        Rgba c = VerticalGradient(1.0f, palette::kAccentLight, 19.0f, palette::kAccentDark)(x, y);
        // A darker hairline at the rim gives the disc a clean edge on the
        // light window.
        const float rim = SharpStep(-1.6f, -0.4f, disc(x, y), scale);
        return Mix(c, Hex(0xC4560A), 0.6f * rim);
    });
    return canvas;
}

}  // namespace

void MakeStepPictures(PictureSet& set) {
    for (const StepLabel& label : kLabels)
        set.AddPair(label.colorName, label.maskName, Label(label, set.Scale()));

    const Canvas base = DiscBase(set.Scale());
    for (int step = 1; step <= 6; ++step) {
        Canvas canvas = base;
        Coverage figure(canvas.GetGrid());
        DrawTextCentred(figure, kDigitFont, std::to_string(step), kDiscCentreX, kDiscCentreY);
        canvas.Fill(figure, palette::kWhite);
        const std::string name = "orange" + std::to_string(step) + "i";
        const ArgbImage image = canvas.ToImage();
        if (step == 1) set.AddSharedMask("orangenm", image);
        set.AddColorOverMask(name, "orangenm", image);
    }
}

}  // namespace tabora::art
