#pragma once
#include <cstdint>
#include <memory>

#include "platform/Geometry.h"
#include "render/ArgbImage.h"

namespace tabora {

// One loaded built-in style: the body picture with straight alpha and how it
// may be widened.
struct ButtonStyle {
    ArgbImage image;
    int16_t defaultStretch = 0;  // widening a newly chosen style starts with
    int16_t stretchColumn = -1;  // column repeated to widen; -1: cannot widen
    // The part of the picture the caption is centred on, in its pixels; empty:
    // the whole picture, as for a style from a file or a test.
    Rect captionArea;
};

// Where a button gets the style of a number: the catalogue in the programs,
// pictures of their own in tests and benchmarks.
class StyleSource {
public:
    virtual ~StyleSource() = default;
    // A new style for number n (1..kLastStyleNumber), or null when there is
    // none. Number 0 (no style) is never asked for.
    virtual std::unique_ptr<ButtonStyle> Load(int32_t styleNumber) const = 0;
    // The style drawn at `scale` device pixels per CSS pixel (1..3): an image
    // exactly scale times the 1x one, stretchColumn scale times its column
    // (the first of scale identical columns), defaultStretch in CSS pixels.
    // Null when there is none at that scale; a source without finer art
    // answers only for scale 1.
    virtual std::unique_ptr<ButtonStyle> LoadScaled(int32_t styleNumber, int scale) const {
        return scale == 1 ? Load(styleNumber) : nullptr;
    }
};

}  // namespace tabora
