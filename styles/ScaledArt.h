#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Resources.h"
#include "render/ArgbImage.h"
#include "render/ScaledPicture.h"
#include "styles/Archive.h"

namespace tabora {

// The 2x and 3x styles and archive tiles; the pictures themselves, and the
// interface pictures, are read by render/ScaledPicture.h.
//
// A scaled style resource (raw, the 1x style's number at scale k) is a
// scaled picture followed by the widening values:
// 12+L 2  defaultStretch, in CSS pixels as at 1x (a settings default)
// 14+L 2  stretchColumn in device pixels: k times the 1x column, the first of
//         k identical columns; -1 when the style cannot be widened

// A style at `scale`: a ButtonStyle whose image is scale x the 1x width and
// height and whose stretchColumn is scale x the 1x column (widening at
// scale k repeats the k columns from there); defaultStretch stays in CSS
// pixels. Null as Archive::Load, and also when the scaled resource is
// missing, damaged or does not fit the 1x style of the catalogue.
std::unique_ptr<ButtonStyle> LoadScaledStyle(const Archive& archive, int32_t styleNumber,
                                             int scale);

// The JPEG bytes of archive tile `tile` (0..25) at `scale`: Archive::kStripWidth
// x Archive::kTileHeight times the scale, covering the same strip rows as the
// 1x tile. Empty when missing. A damaged tile fails in the JPEG decoder as the
// 1x tiles do.
ResourceBytes FindStripTile(int32_t tile, int scale);

// The reader and writer of the style resource. The reader checks every field
// against the scale asked for and the limits and returns null on anything
// else.
std::unique_ptr<ButtonStyle> ReadScaledStyle(std::span<const uint8_t> bytes, int scale);
std::vector<uint8_t> WriteScaledStyle(const ArgbImage& image, int scale, int16_t defaultStretch,
                                      int16_t stretchColumn);

}  // namespace tabora
