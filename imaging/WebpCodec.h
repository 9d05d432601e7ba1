#pragma once
#include <cstdint>
#include <optional>
#include <span>

#include "imaging/Formats.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// WebP through libwebp: lossless by default (every pixel exact, transparent
// ones included), or lossy at a quality with the alpha kept whole. The signed
// block (signature and payload, as in JPEG and BMP) sits in a RIFF chunk of
// its own whose tag is the signature; readers of the format skip chunks they
// do not know.
class WebpCodec {
public:
    struct Options {
        bool keepAlpha = false;  // without it every pixel is opaque
        bool lossy = false;
        int quality = 100;  // lossy only, 0..100
    };
    // Writes the part `rect` of `image` (whole image when absent). An empty
    // block writes no chunk of ours (a plain picture). Throws
    // TaboraError("error writing WebP file") when the library fails.
    static void Write(const ArgbImage& image, MacStream& out, const Options& options,
                      std::optional<Rect> rect, std::span<const uint8_t> block);
    // Walks the file's chunks, never their contents, to the first chunk of
    // ours that starts with the signature and copies it into `out`, leaving
    // `out` just after the signature. False without one, or when it is cut
    // short. Throws TaboraError("error reading WebP file") for a file that
    // is not a WebP file.
    static bool ReadData(MacStream& in, MacStream& out);
};

// The registry's exporter.
void ExportWebp(const ExportJob& job, MacStream& out);

}  // namespace tabora
