#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// The image data of one picture, compressed on its own and left open: its
// first row filtered without looking above it, the compression reaching
// no further back than the picture, and the data ended on a byte boundary
// without a final block. A PNG of the picture is its run closed; a sprite
// of pictures one above the other is their runs one after another, closed.
// So each picture is compressed once for its own file and the sprite.
struct PngRun {
    uint32_t width = 0;
    uint32_t height = 0;
    bool alpha = false;             // RGBA; RGB without
    std::vector<uint8_t> deflated;  // raw deflate blocks
    uint32_t adler = 1;             // the check of the filtered rows
    size_t filteredLength = 0;      // how many filtered bytes they are
};

// The run of the part `rect` of `image`; without `keepAlpha` every pixel
// counts as opaque and the rows are RGB.
PngRun MakePngRun(const ArgbImage& image, Rect rect, bool keepAlpha);

// Writes a PNG whose picture is the runs' pictures top to bottom (all of
// one width and kind), with the text chunk `keyword` / `text`.
void WritePngOfRuns(std::span<const PngRun* const> runs, std::string_view keyword,
                    std::string_view text, MacStream& out);

}  // namespace tabora
