#include "cli/CaptionFit.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "render/TaboraButton.h"

namespace tabora::cli {

namespace {

// Two colour values closer than this count as the same when looking for the
// flat middle of a body: enough for rounding in the drawn art, far below any
// visible edge.
constexpr int32_t kFlatTolerance = 6;

bool SameColumn(const ArgbImage& image, int32_t a, int32_t b) {
    for (int32_t y = 0; y < image.Height(); ++y) {
        const uint32_t p = image.At(a, y), q = image.At(b, y);
        for (int shift = 0; shift < 32; shift += 8) {
            if (std::abs(int32_t((p >> shift) & 0xFF) - int32_t((q >> shift) & 0xFF)) > kFlatTolerance) {
                return false;
            }
        }
    }
    return true;
}

// The columns of a style picture that anything is drawn in.
std::pair<int32_t, int32_t> OpaqueColumns(const ArgbImage& image) {
    int32_t left = image.Width(), right = -1;
    for (int32_t y = 0; y < image.Height(); ++y) {
        for (int32_t x = 0; x < image.Width(); ++x) {
            if (PixelAlpha(image.At(x, y)) != 0) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    return {left, right};
}

}  // namespace

int32_t FittedSize(TaboraButton& button) {
    const ButtonStyle* style = button.style();
    const int32_t current = button.settings().buttonSize;
    if (!style || style->stretchColumn < 0 || button.settings().caption.empty()) return current;
    const ArgbImage& image = style->image;
    const auto [left, right] = OpaqueColumns(image);
    const int32_t column = style->stretchColumn;
    if (right < left || column < left || column > right) return current;
    int32_t flatLeft = column, flatRight = column;
    while (flatLeft > left && SameColumn(image, flatLeft - 1, column)) --flatLeft;
    while (flatRight < right && SameColumn(image, flatRight + 1, column)) ++flatRight;

    button.Render();
    const Rect text = button.textBounds();
    if (text.IsEmpty()) return current;
    const int32_t needed = (flatLeft - left) + text.Width() + 2 * kCaptionPadding + (right - flatRight);
    const int32_t extra = std::max(0, needed - (right - left + 1));
    return std::min(kNaturalButtonSize + 2 * extra, button.MaxButtonSize());
}

}  // namespace tabora::cli
