#include "tools/artgen/ArtOutput.h"

#include <sys/stat.h>

#include "imaging/PngCodec.h"
#include "io/MacStream.h"
#include "platform/File.h"
#include "styles/ScaledArt.h"
#include "tools/artgen/PalettePng.h"

namespace tabora::art {

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x);
    v[at + 1] = uint8_t(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}

// A packed 24-bit device-independent bitmap: info header, then bottom-up rows
// of blue, green, red padded to 4 bytes.
std::vector<uint8_t> PackedDib(const ArgbImage& image, bool alphaAsGrey) {
    const int32_t w = image.Width(), h = image.Height();
    const size_t rowBytes = (size_t(w) * 3 + 3) & ~size_t(3);
    std::vector<uint8_t> dib(40 + rowBytes * size_t(h), 0);
    Put32(dib, 0, 40);
    Put32(dib, 4, uint32_t(w));
    Put32(dib, 8, uint32_t(h));
    Put16(dib, 12, 1);
    Put16(dib, 14, 24);
    Put32(dib, 20, uint32_t(rowBytes * size_t(h)));
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = dib.data() + 40 + rowBytes * size_t(h - 1 - y);
        for (int32_t x = 0; x < w; ++x) {
            uint32_t p = image.At(x, y);
            if (alphaAsGrey) {
                uint8_t g = uint8_t(255 - PixelAlpha(p));
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = g;
            } else {
                row[3 * x] = PixelBlue(p);
                row[3 * x + 1] = PixelGreen(p);
                row[3 * x + 2] = PixelRed(p);
            }
        }
    }
    return dib;
}

}  // namespace

ArtOutput::ArtOutput(std::string outDir) : outDir_(std::move(outDir)) {
    ::mkdir(outDir_.c_str(), 0777);
    ::mkdir((outDir_ + "/review").c_str(), 0777);
}

void ArtOutput::AddRaw(int id, std::vector<uint8_t> bytes) { writer_.AddRaw(id, std::move(bytes)); }

void ArtOutput::AddRaw(int id, int scale, std::vector<uint8_t> bytes) {
    writer_.AddRaw(id, scale, std::move(bytes));
}

void ArtOutput::AddPicture(const std::string& name, int scale, const ArgbImage& image) {
    writer_.AddPicture(name, scale, WriteScaledPicture(image, scale));
}

void ArtOutput::AddColorBitmap(const std::string& name, const ArgbImage& image) {
    writer_.AddBitmap(name, PackedDib(image, false));
}

void ArtOutput::AddAlphaBitmap(const std::string& name, const ArgbImage& image) {
    writer_.AddBitmap(name, PackedDib(image, true));
}

void ArtOutput::Review(const std::string& fileName, const ArgbImage& image) const {
    PtrMacStream png;
    PngCodec::Write(image, png, true, std::nullopt, nullptr, 0);
    WriteWholeFile(outDir_ + "/review/" + fileName, png.Data(), png.Length());
}

void ArtOutput::ReviewSmall(const std::string& fileName, const ArgbImage& image) const {
    const std::vector<uint8_t> png = PalettedPng(image);
    WriteWholeFile(outDir_ + "/review/" + fileName, png.data(), png.size());
}

void ArtOutput::WriteFile(const std::string& relativePath, const void* data, size_t size) const {
    const size_t slash = relativePath.rfind('/');
    if (slash != std::string::npos)
        ::mkdir((outDir_ + "/" + relativePath.substr(0, slash)).c_str(), 0777);
    WriteWholeFile(outDir_ + "/" + relativePath, data, size);
}

void ArtOutput::Finish() {
    auto blob = writer_.Finish();
    WriteWholeFile(outDir_ + "/tabora.res", blob.data(), blob.size());
}

}  // namespace tabora::art
