#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "render/ArgbImage.h"

namespace tabora {

// Pictures for screens with two or three device pixels per CSS pixel. The
// generator draws every style, archive tile and interface picture again at
// 2x and 3x from the same description, so a k-times picture is exactly k
// times the 1x one in both directions and looks like it, only sharper. The
// 1x art and its loaders are untouched; the loaders here answer for scale 1
// as well, so one code path serves every scale.
constexpr int kMinArtScale = 1;
constexpr int kMaxArtScale = 3;
constexpr bool IsArtScale(int scale) { return scale >= kMinArtScale && scale <= kMaxArtScale; }
// A rectangle in CSS pixels in the device pixels of a scale.
constexpr Rect ScaleRect(const Rect& r, int scale) {
    return {r.left * scale, r.top * scale, r.right * scale, r.bottom * scale};
}

// A scaled picture resource, all values big-endian:
//   0  2  format version (kScaledArtVersion)
//   2  2  scale k
//   4  2  width in device pixels (k times the 1x width)
//   6  2  height in device pixels
//   8  4  length L of the packed pixels
//  12  L  the pixels deflated (platform/PackedPixels.h): width x height
//         words, rows from the top, bytes A, R, G, B as an ArgbImage holds them
// A scaled style (styles/ScaledArt.h) continues after the pixels.
constexpr uint16_t kScaledArtVersion = 1;
// The About picture, the largest of the interface, is 400 x 350 CSS pixels;
// anything much larger is damage, not art.
constexpr int32_t kMaxPictureSide = 512;

// Reads the header and the pixels of a scaled picture of at most maxWidth x
// maxHeight CSS pixels; `end` is where the packed pixels end. Sizes must be
// whole multiples of the scale: a k-times picture has a 1x twin. False, with
// an empty image, on anything else.
bool ReadScaledPixels(std::span<const uint8_t> bytes, int scale, int32_t maxWidth,
                      int32_t maxHeight, ArgbImage& image, uint32_t& end);
// A whole scaled picture resource: the pixels and nothing after them.
bool ReadScaledPicture(std::span<const uint8_t> bytes, int scale, ArgbImage& image);
std::vector<uint8_t> WriteScaledPicture(const ArgbImage& image, int scale);

// An interface picture at `scale`, by the names the 1x loaders take: at scale
// 1 these are ArgbImage::LoadFromResources (a colour picture and its mask) and
// LoadFromResource (one picture); at 2 and 3 the picture is stored whole
// (colour and alpha as the 1x loader assembles them) under its colour or only
// name, and the mask name and greyAsAlpha only serve scale 1. False, with an
// empty image, when it is missing or damaged.
bool LoadScaledPicturePair(ArgbImage& image, std::string_view colorName, std::string_view maskName,
                           int scale);
bool LoadScaledPicture(ArgbImage& image, std::string_view name, bool greyAsAlpha, int scale);

}  // namespace tabora
