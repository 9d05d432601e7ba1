#pragma once
#include <map>
#include <string>

#include "tools/artgen/ArtOutput.h"
#include "tools/artgen/PictureCanvas.h"

namespace tabora::art {

// One palette for every interface picture: a friendly orange accent, dark
// grey text, on the light button-face grey of the window.
namespace palette {
constexpr Rgba kWindow = Hex(0xEFEFEF);
constexpr Rgba kText = Hex(0x262626);
constexpr Rgba kSubtleText = Hex(0x6E6E6E);
constexpr Rgba kAccentLight = Hex(0xFF9A3D);
constexpr Rgba kAccent = Hex(0xF57A12);
constexpr Rgba kAccentDark = Hex(0xD9610A);
constexpr Rgba kWhite = Hex(0xFFFFFF);
constexpr Rgba kShadow = Hex(0x000000);
}  // namespace palette

// Stores each picture the way the program asks for it and keeps the image
// that the program's loader would make of it, for the review mock-up. One set
// holds the pictures of one scale: at 1x the bitmaps and masks the design
// names, at 2x and 3x each picture whole under its colour (or only) name.
class PictureSet {
public:
    PictureSet(ArtOutput& out, int scale) : out_(out), scale_(scale) {}
    int Scale() const { return scale_; }

    // A colour bitmap and its mask ("xxxi" and "xxxm"); alpha comes back from
    // the mask.
    void AddPair(const std::string& colorName, const std::string& maskName, const ArgbImage& image);
    // A grey picture whose darkness is its opacity; the loader gives back the
    // grey as colour too, so only the alpha of `image` counts.
    void AddGrey(const std::string& name, const ArgbImage& image);
    // An opaque colour bitmap.
    void AddColor(const std::string& name, const ArgbImage& image);
    // A colour bitmap that takes its alpha from a mask shared with others
    // (the step discs); the alpha of `image` must be the mask's.
    void AddSharedMask(const std::string& maskName, const ArgbImage& image);
    void AddColorOverMask(const std::string& colorName, const std::string& maskName,
                          const ArgbImage& image);

    // The picture as the program will see it, by its colour (or only) name.
    const ArgbImage& Loaded(const std::string& name) const;
    ArtOutput& Out() { return out_; }
    // A review PNG, named for its scale beyond 1x ("name@2x.png").
    void Review(const std::string& name, const ArgbImage& image) const;

private:
    // The picture as the loaders of its scale return it, beyond 1x.
    void AddWhole(const std::string& name, const ArgbImage& loaded);
    ArtOutput& out_;
    int scale_;
    std::map<std::string, ArgbImage> loaded_;
    std::map<std::string, ArgbImage> masks_;
};

void MakeStepPictures(PictureSet& set);      // step labels and the numbered discs
void MakeCaptionPictures(PictureSet& set);   // 5-pixel captions and read-out glyphs
void MakeIconPictures(PictureSet& set);      // format icons, TrueType sign, app icon
void MakeWorkAreaPictures(PictureSet& set);  // preview backdrop and frame
void MakeBannerPictures(PictureSet& set);    // banner and About picture
void MakeMockup(PictureSet& set);            // review sheet of the whole window

// The product mark (an orange tile holding a white button and a pointer),
// drawn for a square of `size` pixels at (x, y).
void DrawLogoMark(Canvas& canvas, float x, float y, float size);

// A small web button of the kind the program makes, for the banner and the
// About picture: a pill or rounded body with a gloss and a soft shadow.
struct SampleButton {
    Box box;
    Rgba top, bottom;  // body gradient
    bool pill = true;
    const char* caption = "";
};
void DrawSampleButton(Canvas& canvas, const SampleButton& button);

}  // namespace tabora::art
