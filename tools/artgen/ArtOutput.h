#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "render/ArgbImage.h"

namespace tabora::art {

// Where the generator puts what it draws: resources into the blob that the
// programs embed, and review copies as PNG files under <outdir>/review/.
class ArtOutput {
public:
    explicit ArtOutput(std::string outDir);

    void AddRaw(int id, std::vector<uint8_t> bytes);
    // A raw resource drawn at `scale` (1 is AddRaw itself).
    void AddRaw(int id, int scale, std::vector<uint8_t> bytes);
    // An interface picture drawn at `scale` (2 or 3), stored whole as the 1x
    // loaders would assemble it, under its colour (or only) name.
    void AddPicture(const std::string& name, int scale, const ArgbImage& image);
    // Stores the colour of `image` as a 24-bit bitmap resource (alpha ignored).
    void AddColorBitmap(const std::string& name, const ArgbImage& image);
    // Stores a grey picture in which black means opaque: 255 - alpha in every
    // channel, the form the resource loaders turn back into alpha.
    void AddAlphaBitmap(const std::string& name, const ArgbImage& image);
    // A PNG of `image` (straight alpha kept) under review/, for people to look at.
    void Review(const std::string& fileName, const ArgbImage& image) const;
    // The same for an opaque picture meant for the repository: at most 256
    // colours, paletted, as small as it gets.
    void ReviewSmall(const std::string& fileName, const ArgbImage& image) const;

    // Any other file the build installs (the desktop icons), under <outdir>;
    // one level of folder is created as needed.
    void WriteFile(const std::string& relativePath, const void* data, size_t size) const;

    const std::string& OutDir() const { return outDir_; }
    // Writes tabora.res.
    void Finish();

private:
    std::string outDir_;
    ResourceBlobWriter writer_;
};

// The two halves of the art, each in its own files.
void GenerateStyleArt(ArtOutput& out);
void GenerateInterfacePictures(ArtOutput& out);

}  // namespace tabora::art
