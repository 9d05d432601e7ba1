#pragma once
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "platform/Resources.h"
#include "render/ArgbImage.h"
#include "styles/Archive.h"

namespace tabora {

// The art for screens with two or three device pixels per CSS pixel. The
// generator draws every style, archive tile and interface picture again at
// 2x and 3x from the same description, so a k-times picture is exactly k
// times the 1x one in both directions and looks like it, only sharper. The
// 1x art and its loaders are untouched; the loaders here answer for scale 1
// as well, so one code path serves every scale.
constexpr int kMinArtScale = 1;
constexpr int kMaxArtScale = 3;
constexpr bool IsArtScale(int scale) { return scale >= kMinArtScale && scale <= kMaxArtScale; }

// A scaled picture resource, all values big-endian:
//   0  2  format version (kScaledArtVersion)
//   2  2  scale k
//   4  2  width in device pixels (k times the 1x width)
//   6  2  height in device pixels
//   8  4  length L of the packed pixels
//  12  L  the pixels deflated (platform/PackedPixels.h): width x height
//         words, rows from the top, bytes A, R, G, B as an ArgbImage holds them
// A scaled style resource (raw, the 1x style's number at scale k) is a
// scaled picture followed by the widening values:
// 12+L 2  defaultStretch, in CSS pixels as at 1x (a settings default)
// 14+L 2  stretchColumn in device pixels: k times the 1x column, the first of
//         k identical columns; -1 when the style cannot be widened
constexpr uint16_t kScaledArtVersion = 1;
// The About picture, the largest of the interface, is 400 x 350 CSS pixels;
// anything much larger is damage, not art.
constexpr int32_t kMaxPictureSide = 512;

// A style at `scale`: a ButtonStyle whose image is scale x the 1x width and
// height and whose stretchColumn is scale x the 1x column (widening at
// scale k repeats the k columns from there); defaultStretch stays in CSS
// pixels. Null as Archive::Load, and also when the scaled resource is
// missing, damaged or does not fit the 1x style of the catalogue.
std::unique_ptr<ButtonStyle> LoadScaledStyle(const Archive& archive, int32_t styleNumber,
                                             int scale);

// An interface picture at `scale`, by the names the 1x loaders take: at scale
// 1 these are ArgbImage::LoadFromResources (a colour picture and its mask) and
// LoadFromResource (one picture); at 2 and 3 the picture is stored whole
// (colour and alpha as the 1x loader assembles them) under its colour or only
// name, and the mask name and greyAsAlpha only serve scale 1. False, with an
// empty image, when it is missing or damaged.
bool LoadScaledPicturePair(ArgbImage& image, std::string_view colorName, std::string_view maskName,
                           int scale);
bool LoadScaledPicture(ArgbImage& image, std::string_view name, bool greyAsAlpha, int scale);

// The JPEG bytes of archive tile `tile` (0..25) at `scale`: Archive::kStripWidth
// x Archive::kTileHeight times the scale, covering the same strip rows as the
// 1x tile. Empty when missing. A damaged tile fails in the JPEG decoder as the
// 1x tiles do.
ResourceBytes FindStripTile(int32_t tile, int scale);

// The readers and writers of the two resource kinds. The readers check every
// field against the scale asked for and the limits above and return null or
// false on anything else.
std::unique_ptr<ButtonStyle> ReadScaledStyle(std::span<const uint8_t> bytes, int scale);
bool ReadScaledPicture(std::span<const uint8_t> bytes, int scale, ArgbImage& image);
std::vector<uint8_t> WriteScaledStyle(const ArgbImage& image, int scale, int16_t defaultStretch,
                                      int16_t stretchColumn);
std::vector<uint8_t> WriteScaledPicture(const ArgbImage& image, int scale);

}  // namespace tabora
