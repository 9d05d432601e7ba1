#include <algorithm>

#include "render/Contrast.h"
#include "render/TaboraButton.h"

namespace tabora {

int32_t TaboraButton::CaptionOverflow() {
    Render();
    if (!style_ || settings_.caption.empty() || textBounds_.IsEmpty()) return 0;
    const Point at = BodyOffset();
    const Rect body = bodyBounds_.Offset(at.x, at.y);
    if (body.IsEmpty()) return 0;
    return std::max({body.left - textBounds_.left, textBounds_.right - body.right, 0});
}

double TaboraButton::CaptionBackdropLuminance() {
    Render();
    const Rect box = textBounds_.Intersect(base_.Extent());
    if (settings_.caption.empty() || box.IsEmpty()) return -1.0;
    double sum = 0;
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) sum += PixelLuminance(base_.At(x, y));
    }
    return sum / (double(box.Width()) * box.Height());
}

void TaboraButton::PlacedBodyAlpha(AlphaMask& out) {
    Render();
    out.Allocate(canvas_.Width(), canvas_.Height());
    if (!style_ || bodyRect_.IsEmpty()) return;
    const Point at = BodyOffset();
    tintedBody_.CopyAlphaTo(out, bodyRect_, bodyRect_.Offset(at.x, at.y));
}

}  // namespace tabora
