#pragma once
#include <cstdint>
#include <optional>

#include "imaging/Formats.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// RGBA PNG with the button block as hex text in one "Tbra" tEXt chunk.
class PngCodec {
public:
    // Writes the part `rect` of `image` (whole image when absent). Without
    // keepAlpha every alpha byte is 255. Throws TaboraError("error writing PNG
    // file") on any library error or warning. A null block writes no text
    // chunk at all (a plain picture, such as a style's body image).
    static void Write(const ArgbImage& image, MacStream& out, bool keepAlpha,
                      std::optional<Rect> rect, const uint8_t* block, int16_t blockLength);
    // Finds the block: exactly one text chunk before the image data, keyword
    // "Tbra". Writes the decoded bytes into `out` and rewinds it. Throws
    // TaboraError("error reading PNG file") for a damaged or foreign file.
    static bool ReadData(MacStream& in, MacStream& out);
};

// The registry's exporter: opaque, or with the background removed the layers
// alone with their alpha. The chunk's keyword plays the signature's part, so
// the payload goes alone.
void ExportPng(const ExportJob& job, MacStream& out);

}  // namespace tabora
