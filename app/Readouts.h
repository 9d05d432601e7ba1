#pragma once
#include <cstdint>

namespace tabora {

// What the three read-outs show for a setting. The integer division comes
// first and truncates toward zero; the multiplication by 0.1 is done in double
// and the result kept as a float, which the read-out truncates again when it
// draws: hue 2048 shows +179°, brightness 100 shows +9.6%.
inline float SizeReadout(int32_t buttonSize) { return float(buttonSize / 2); }
inline float HueReadout(int32_t hueShift) { return float((hueShift * 10000 / 11398) * 0.1); }
inline float BrightnessReadout(int32_t brightness) {
    return float((brightness * 1000 / 1025) * 0.1);
}

// The style list: index → font style, and back.
uint32_t FontStyleOfIndex(int index);
int IndexOfFontStyle(uint32_t fontStyle);

// A font height of the size list → points: 72 × height / -pixelsPerInch,
// rounded. Character heights (negative) give their positive point size; a
// raster font's cell height (positive) gives a negative value.
int32_t PointsOfHeight(int32_t height);

}  // namespace tabora
