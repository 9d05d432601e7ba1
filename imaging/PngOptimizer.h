#pragma once
#include <cstdint>
#include <string_view>

#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// The smallest PNG we can make of a picture without changing a pixel: the
// exact representation that needs the fewest bits (a palette, with
// transparency where needed, when there are 256 colours or fewer; grey or
// RGB when every pixel is opaque; RGBA otherwise), each row filter strategy
// tried, the strongest deflate. The text chunk `keyword` / `text` is written
// exactly as the ordinary writer writes it. Pixels outside `rect` are not
// looked at; without `keepAlpha` every pixel counts as opaque.
void WriteSmallestPng(const ArgbImage& image, MacStream& out, bool keepAlpha, Rect rect,
                      std::string_view keyword, std::string_view text);

}  // namespace tabora
