#pragma once
#include <cstdint>
#include <vector>

#include "render/ArgbImage.h"

// Small review pictures for the repository: an opaque picture reduced to at
// most 256 colours (median cut over its exact colours, weighted by how often
// each occurs) and written as a paletted PNG at the best compression.
namespace tabora::art {

std::vector<uint8_t> PalettedPng(const ArgbImage& opaque);

}  // namespace tabora::art
