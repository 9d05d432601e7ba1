#pragma once
#include <cstdint>
#include <optional>

#include "imaging/Formats.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// 24-bit BMP with the signed block between the headers and the pixels.
class BmpCodec {
public:
    // Throws TaboraError("error writing BMP file") when the image cannot be
    // built; stream failures propagate as they are (FileError).
    static void Write(const ArgbImage& image, MacStream& out, std::optional<Rect> rect,
                      const uint8_t* block, int16_t blockLength);
    // True when the 4 bytes after the 54 header bytes are "Tbra"; `out` then
    // holds the settings (without the signature), rewound.
    static bool ReadData(MacStream& in, MacStream& out);
};

// The registry's exporter.
void ExportBmp(const ExportJob& job, MacStream& out);

}  // namespace tabora
