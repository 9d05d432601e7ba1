#include <stdexcept>

#include "tools/artgen/Pictures.h"

namespace tabora::art {

void PictureSet::AddPair(const std::string& colorName, const std::string& maskName,
                         const ArgbImage& image) {
    out_.AddColorBitmap(colorName, image);
    out_.AddAlphaBitmap(maskName, image);
    loaded_[colorName] = image;
    Review(colorName, image);
}

void PictureSet::AddGrey(const std::string& name, const ArgbImage& image) {
    out_.AddAlphaBitmap(name, image);
    ArgbImage loaded(image.Width(), image.Height());
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) {
            const uint8_t a = PixelAlpha(image.At(x, y));
            const uint8_t grey = uint8_t(255 - a);
            loaded.At(x, y) = MakePixel(a, grey, grey, grey);
        }
    loaded_[name] = loaded;
    Review(name, loaded);
}

void PictureSet::AddColor(const std::string& name, const ArgbImage& image) {
    out_.AddColorBitmap(name, image);
    ArgbImage loaded = image;
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) loaded.At(x, y) |= 0xFF;
    loaded_[name] = loaded;
    Review(name, loaded);
}

void PictureSet::AddSharedMask(const std::string& maskName, const ArgbImage& image) {
    out_.AddAlphaBitmap(maskName, image);
    masks_[maskName] = image;
}

void PictureSet::AddColorOverMask(const std::string& colorName, const std::string& maskName,
                                  const ArgbImage& image) {
    const ArgbImage& mask = masks_.at(maskName);
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            if (PixelAlpha(image.At(x, y)) != PixelAlpha(mask.At(x, y)))
                throw std::runtime_error(colorName + " does not fit the mask " + maskName);
    out_.AddColorBitmap(colorName, image);
    loaded_[colorName] = image;
    Review(colorName, image);
}

const ArgbImage& PictureSet::Loaded(const std::string& name) const {
    auto it = loaded_.find(name);
    if (it == loaded_.end()) throw std::runtime_error("picture not made: " + name);
    return it->second;
}

void PictureSet::Review(const std::string& name, const ArgbImage& image) const {
    out_.Review(name + ".png", image);
    out_.Review(name + "@2x.png", Enlarge(image, 2));
}

void GenerateInterfacePictures(ArtOutput& out) {
    PictureSet set(out);
    MakeStepPictures(set);
    MakeCaptionPictures(set);
    MakeIconPictures(set);
    MakeWorkAreaPictures(set);
    MakeBannerPictures(set);
    MakeMockup(set);
}

}  // namespace tabora::art
