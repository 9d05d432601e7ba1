#pragma once
#include <cstdint>
#include <span>

#include "platform/Geometry.h"

namespace tabora {

// Readability of a caption by the usual web measure: relative luminance in
// linear light (0 black .. 1 white) and the ratio (L1 + 0.05) / (L2 + 0.05)
// of the lighter to the darker, from 1 (none) to 21 (black on white).
double ColorLuminance(Color color);
// An ArgbImage pixel's colour, its alpha ignored.
double PixelLuminance(uint32_t pixel);
double ContrastRatio(double luminanceA, double luminanceB);

// The ratio a caption needs: 4.5, or 3 for large text (18 points, or 14
// points bold).
double RequiredContrast(int32_t fontPoints, bool bold);

// Black or white, whichever reads better over a backdrop of this luminance.
Color BetterCaptionColor(double backdropLuminance);
// The same choice for one caption over several backdrops (a button's
// states): black or white, whichever reads better over the worst of them.
// Negative luminances (no caption) are passed over; none left gives black.
Color BetterCaptionColor(std::span<const double> backdropLuminances);

}  // namespace tabora
