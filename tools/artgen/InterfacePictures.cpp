#include <stdexcept>
#include <string>
#include <vector>

#include "styles/ScaledArt.h"
#include "tools/artgen/Pictures.h"

namespace tabora::art {

void PictureSet::AddWhole(const std::string& name, const ArgbImage& loaded) {
    loaded_[name] = loaded;
    Review(name, loaded);
    if (scale_ != 1) out_.AddPicture(name, scale_, loaded);
}

void PictureSet::AddPair(const std::string& colorName, const std::string& maskName,
                         const ArgbImage& image) {
    if (scale_ == 1) {
        out_.AddColorBitmap(colorName, image);
        out_.AddAlphaBitmap(maskName, image);
    }
    AddWhole(colorName, image);
}

void PictureSet::AddGrey(const std::string& name, const ArgbImage& image) {
    if (scale_ == 1) out_.AddAlphaBitmap(name, image);
    ArgbImage loaded(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t a = PixelAlpha(image.At(x, y));
            const uint8_t grey = uint8_t(255 - a);
            loaded.At(x, y) = MakePixel(a, grey, grey, grey);
        }
    AddWhole(name, loaded);
}

void PictureSet::AddColor(const std::string& name, const ArgbImage& image) {
    if (scale_ == 1) out_.AddColorBitmap(name, image);
    ArgbImage loaded = image;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) loaded.At(x, y) |= 0xFF;
    AddWhole(name, loaded);
}

void PictureSet::AddSharedMask(const std::string& maskName, const ArgbImage& image) {
    if (scale_ == 1) out_.AddAlphaBitmap(maskName, image);
    masks_[maskName] = image;
}

void PictureSet::AddColorOverMask(const std::string& colorName, const std::string& maskName,
                                  const ArgbImage& image) {
    const ArgbImage& mask = masks_.at(maskName);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (PixelAlpha(image.At(x, y)) != PixelAlpha(mask.At(x, y)))
                throw std::runtime_error(colorName + " does not fit the mask " + maskName);
    if (scale_ == 1) out_.AddColorBitmap(colorName, image);
    AddWhole(colorName, image);
}

const ArgbImage& PictureSet::Loaded(const std::string& name) const {
    auto it = loaded_.find(name);
    if (it == loaded_.end()) throw std::runtime_error("picture not made: " + name);
    return it->second;
}

void PictureSet::Review(const std::string& name, const ArgbImage& image) const {
    out_.Review(scale_ == 1 ? name + ".png" : name + "@" + std::to_string(scale_) + "x.png", image);
}

namespace {

// A few pictures at 1x, 2x and 3x side by side on the window's face: do the
// finer ones look like the 1x ones, only sharper?
ArgbImage ScalesSheet(const std::vector<PictureSet>& sets) {
    constexpr int kGap = 12;
    const char* const kNames[] = {"banner",     "orange3i", "gificoni",  "TABORA48i",
                                  "waoverlayi", "choosei",  "placement", "ttype"};
    int width = kGap, height = kGap;
    for (const PictureSet& set : sets) width += set.Loaded("banner").Width() + kGap;
    for (const char* name : kNames) height += sets.back().Loaded(name).Height() + kGap;
    Canvas sheet({width, height, 1});
    sheet.FillAll(palette::kWindow);
    int y = kGap;
    for (const char* name : kNames) {
        int x = kGap;
        for (const PictureSet& set : sets) {
            sheet.Draw(set.Loaded(name), x, y);
            x += set.Loaded("banner").Width() + kGap;
        }
        y += sets.back().Loaded(name).Height() + kGap;
    }
    return sheet.ToImage();
}

}  // namespace

void GenerateInterfacePictures(ArtOutput& out) {
    std::vector<PictureSet> sets;
    for (int scale = kMinArtScale; scale <= kMaxArtScale; ++scale) {
        PictureSet& set = sets.emplace_back(out, scale);
        MakeStepPictures(set);
        MakeCaptionPictures(set);
        MakeIconPictures(set);
        MakeWorkAreaPictures(set);
        MakeBannerPictures(set);
        MakeMockup(set);
    }
    out.Review("interface-scales.png", ScalesSheet(sets));
}

}  // namespace tabora::art
