#include "render/StatePictures.h"

#include <algorithm>
#include <cstdlib>

#include "render/TaboraButton.h"

namespace tabora {

namespace {

// The focus ring: the body's alpha spread outwards by the ring's width over
// a round pen, less the body itself, so the ring hugs any outline (a pill,
// a circle, an arrow) and never covers the body.
void RingMask(const AlphaMask& body, int32_t width, AlphaMask& ring) {
    ring.Allocate(body.Width(), body.Height());
    const Rect bounds = body.Bounds();
    if (bounds.IsEmpty()) return;
    std::vector<Point> pen;
    for (int32_t dy = -width; dy <= width; ++dy) {
        for (int32_t dx = -width; dx <= width; ++dx) {
            if (dx * dx + dy * dy <= width * width + width) pen.push_back({dx, dy});
        }
    }
    const Rect area = bounds.Inflate(width, width).Intersect({0, 0, body.Width(), body.Height()});
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            uint8_t spread = 0;
            for (const Point& p : pen) {
                const int32_t sx = x + p.x, sy = y + p.y;
                if (sx < 0 || sy < 0 || sx >= body.Width() || sy >= body.Height()) continue;
                spread = std::max(spread, body.At(sx, sy));
            }
            const uint8_t own = body.At(x, y);
            ring.At(x, y) = spread > own ? uint8_t(spread - own) : 0;
        }
    }
}

uint8_t Faded(uint8_t value, uint8_t under, int32_t opacity) {
    const int32_t d = (int32_t(value) - under) * opacity;
    return uint8_t(under + (d >= 0 ? (d + kOpaque / 2) / kOpaque : -((-d + kOpaque / 2) / kOpaque)));
}

// The picture seen through the state's opacity: over the background for the
// picture as shown, less alpha for the layers alone.
void ApplyOpacity(int32_t opacity, Color background, ArgbImage& shown, ArgbImage& layers) {
    if (opacity >= kOpaque) return;
    const uint32_t bg = ColorPixel(background);
    uint32_t* p = shown.Pixels();
    for (size_t i = 0, n = size_t(shown.Width()) * size_t(shown.Height()); i < n; ++i) {
        p[i] = MakePixel(PixelAlpha(p[i]), Faded(PixelRed(p[i]), PixelRed(bg), opacity),
                         Faded(PixelGreen(p[i]), PixelGreen(bg), opacity),
                         Faded(PixelBlue(p[i]), PixelBlue(bg), opacity));
    }
    uint32_t* l = layers.Pixels();
    for (size_t i = 0, n = size_t(layers.Width()) * size_t(layers.Height()); i < n; ++i) {
        l[i] = (l[i] & ~0xFFu) | Faded(PixelAlpha(l[i]), 0, opacity);
    }
}

Rect Scaled(const Rect& r, int k) { return {r.left * k, r.top * k, r.right * k, r.bottom * k}; }

}  // namespace

Rect DrawStateTouches(TaboraButton& button, const StateDelta& delta, ArgbImage& shown,
                      ArgbImage& layers) {
    Rect ringBox;
    if (delta.focusRing) {
        AlphaMask body, ring;
        button.PlacedBodyAlpha(body);
        RingMask(body, kFocusRingWidth * button.scale(), ring);
        shown.Fill(*delta.focusRing, ring);
        if (layers.Width() == ring.Width() && layers.Height() == ring.Height()) {
            layers.Fill(*delta.focusRing, ring);
        }
        ringBox = ring.Bounds();
        if (ringBox.IsEmpty()) ringBox = {};
    }
    ApplyOpacity(delta.opacity, button.settings().backgroundColor, shown, layers);
    return ringBox;
}

StateRenderer::StateRenderer(const StyleSource& styles) : styles_(styles) {}
StateRenderer::~StateRenderer() = default;

TaboraButton& StateRenderer::ButtonAt(int scale) {
    if (scale < 1 || scale > kMaxStateScale) std::abort();  // a caller's mistake
    std::unique_ptr<TaboraButton>& button = buttons_[size_t(scale - 1)];
    if (!button) button = std::make_unique<TaboraButton>(styles_, scale);
    return *button;
}

StateSet StateRenderer::Render(const ButtonSettings& normal, const ButtonStates& states,
                               std::span<const ButtonState> which, int scale, bool withLayers,
                               const StateSet* oneTimes) {
    // A finer set is cut to the 1x rectangles times the scale, so each of its
    // pictures is exactly k times its 1x twin; the ring's rounding at the
    // finer scale must not move it by a pixel.
    StateSet drawn;
    if (scale > 1 && !oneTimes) drawn = Render(normal, states, which, 1, false);
    const StateSet& one = oneTimes ? *oneTimes : drawn;
    TaboraButton& button = ButtonAt(scale);
    StateSet set;
    set.scale = scale;
    set.normal = normal;
    set.pictures.reserve(which.size());
    for (ButtonState state : which) {
        StatePicture& picture = set.pictures.emplace_back();
        const StateDelta delta = states.Delta(state, normal);
        picture.state = state;
        picture.settings = StateSettings(normal, delta);
        button.ApplySettings(picture.settings);
        button.PrepareExport();
        picture.shown = button.canvas();
        if (withLayers) button.ComposeLayers(picture.layers);
        const Rect ring = DrawStateTouches(button, delta, picture.shown, picture.layers);
        picture.rect = button.exportRect();
        if (!ring.IsEmpty()) {
            picture.rect = picture.rect.Union(ring.Inflate(1, 1).Intersect(picture.shown.Extent()));
        }
        picture.captionOverflow = button.CaptionOverflow();
        picture.backdropLuminance = button.CaptionBackdropLuminance();
        if (scale > 1) picture.rect = Scaled(one.pictures[set.pictures.size() - 1].rect, scale);
        set.rect = set.rect.Union(picture.rect);
    }
    if (scale > 1) set.rect = Scaled(one.rect, scale);
    return set;
}

}  // namespace tabora
