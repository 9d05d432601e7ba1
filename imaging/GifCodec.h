#pragma once
#include <cstdint>
#include <optional>

#include "imaging/Formats.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// Single-image GIF89a, 256-entry global table, the signed block as hex text
// in a comment extension that comes first.
class GifCodec {
public:
    // `image` carries the colours to show; its alpha only says background
    // (0) or not. Throws TaboraError("error writing GIF file") when any step
    // fails, so a half-written file never passes as saved.
    static void Write(const ArgbImage& image, MacStream& out, bool removeBackground,
                      std::optional<Rect> rect, const uint8_t* block, int16_t blockLength);
    // Decodes the first comment into `out` and checks the signature, leaving
    // `out` just after it. False for anything else; never throws for a bad file.
    static bool ReadData(MacStream& in, MacStream& out);
};

// The registry's exporter: the preview's colours; with the background
// removed, transparent wherever no layer is.
void ExportGif(const ExportJob& job, MacStream& out);

}  // namespace tabora
