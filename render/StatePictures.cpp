#include "render/StatePictures.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "render/Contrast.h"
#include "render/ScaledPicture.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {

// The focus ring: the body's alpha spread outwards by the ring's width over
// a round pen, less the body itself, so the ring hugs any outline (a pill,
// a circle, an arrow) and never covers the body. The pen is taken row by
// row: each of its rows is a span of some half-width, so the spread is the
// largest of the body's maxima over spans of those half-widths in the rows
// above and below, found once per row and half-width.
void RingMask(const AlphaMask& body, int32_t width, AlphaMask& ring) {
    ring.Allocate(body.Width(), body.Height());
    const Rect bounds = body.Bounds();
    if (bounds.IsEmpty()) return;
    // The half-width of the pen's row dy, for dy = 0..width.
    std::vector<int32_t> half(size_t(width) + 1, 0);
    for (int32_t dy = 0; dy <= width; ++dy) {
        while (half[size_t(dy)] + 1 <= width &&
               (half[size_t(dy)] + 1) * (half[size_t(dy)] + 1) + dy * dy <= width * width + width) {
            ++half[size_t(dy)];
        }
    }
    const Rect whole{0, 0, body.Width(), body.Height()};
    const Rect area = bounds.Inflate(width, width).Intersect(whole);
    // spans[h][row][x]: the body's maximum over x-h..x+h of the row, for the
    // rows and columns the area reaches through the pen.
    const Rect reach = area.Inflate(0, width).Intersect(whole);
    const int32_t columns = area.Width(), rows = reach.Height();
    std::vector<uint8_t> spans(size_t(width + 1) * size_t(rows) * size_t(columns));
    auto span = [&](int32_t h, int32_t y) {
        return spans.data() + (size_t(h) * size_t(rows) + size_t(y - reach.top)) * size_t(columns);
    };
    for (int32_t y = reach.top; y < reach.bottom; ++y) {
        const uint8_t* source = body.Bytes() + size_t(y) * size_t(body.Width());
        std::copy_n(source + area.left, columns, span(0, y));
        for (int32_t h = 1; h <= width; ++h) {
            const uint8_t* narrower = span(h - 1, y);
            uint8_t* wider = span(h, y);
            for (int32_t i = 0; i < columns; ++i) {
                const int32_t x = area.left + i;
                uint8_t m = narrower[i];
                if (x - h >= 0) m = std::max(m, source[x - h]);
                if (x + h < body.Width()) m = std::max(m, source[x + h]);
                wider[i] = m;
            }
        }
    }
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint8_t* out = &ring.At(area.left, y);
        const uint8_t* own = body.Bytes() + size_t(y) * size_t(body.Width()) + size_t(area.left);
        std::copy_n(span(half[0], y), columns, out);
        for (int32_t dy = 1; dy <= width; ++dy) {
            for (int32_t sy : {y - dy, y + dy}) {
                if (sy < reach.top || sy >= reach.bottom) continue;
                const uint8_t* row = span(half[size_t(dy)], sy);
                for (int32_t i = 0; i < columns; ++i) out[i] = std::max(out[i], row[i]);
            }
        }
        for (int32_t i = 0; i < columns; ++i)
            out[i] = out[i] > own[i] ? uint8_t(out[i] - own[i]) : 0;
    }
}

uint8_t Faded(uint8_t value, uint8_t under, int32_t opacity) {
    const int32_t d = (int32_t(value) - under) * opacity;
    return uint8_t(under + (d >= 0 ? (d + kOpaque / 2) / kOpaque : -((-d + kOpaque / 2) / kOpaque)));
}

// Every value of a channel faded toward `under`, looked up per pixel.
std::array<uint8_t, 256> FadeTable(uint8_t under, int32_t opacity) {
    std::array<uint8_t, 256> table;
    for (int32_t v = 0; v < 256; ++v) table[size_t(v)] = Faded(uint8_t(v), under, opacity);
    return table;
}

// The picture seen through the state's opacity: over the background for the
// picture as shown, less alpha for the layers alone.
void ApplyOpacity(int32_t opacity, Color background, ArgbImage& shown, ArgbImage& layers) {
    if (opacity >= kOpaque) return;
    const uint32_t bg = ColorPixel(background);
    const auto red = FadeTable(PixelRed(bg), opacity), green = FadeTable(PixelGreen(bg), opacity),
               blue = FadeTable(PixelBlue(bg), opacity), alpha = FadeTable(0, opacity);
    uint32_t* p = shown.Pixels();
    for (size_t i = 0, n = size_t(shown.Width()) * size_t(shown.Height()); i < n; ++i) {
        p[i] = MakePixel(PixelAlpha(p[i]), red[PixelRed(p[i])], green[PixelGreen(p[i])],
                         blue[PixelBlue(p[i])]);
    }
    uint32_t* l = layers.Pixels();
    for (size_t i = 0, n = size_t(layers.Width()) * size_t(layers.Height()); i < n; ++i) {
        l[i] = (l[i] & ~0xFFu) | alpha[PixelAlpha(l[i])];
    }
}

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
    // The states that keep the normal settings (only their touches differ)
    // are drawn first, one after another, so the button's layers are built
    // once for them all; the others follow. The pictures keep `which`'s order.
    set.pictures.resize(which.size());
    std::vector<size_t> order(which.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::vector<StateDelta> deltas;
    for (ButtonState state : which) deltas.push_back(states.Delta(state, normal));
    std::stable_partition(order.begin(), order.end(),
                          [&](size_t i) { return deltas[i].patch.Empty(); });
    for (size_t i : order) {
        StatePicture& picture = set.pictures[i];
        const StateDelta& delta = deltas[i];
        picture.state = which[i];
        picture.settings = StateSettings(normal, delta);
        button.ApplySettings(picture.settings);
        button.PrepareExport();
        picture.shown = button.canvas();
        if (withLayers) button.ComposeLayers(picture.layers);
        const Rect ring = DrawStateTouches(button, delta, picture.shown, picture.layers);
        if (scale > 1) {
            // A finer picture is cut and checked as its 1x twin: the checks
            // are read in CSS pixels, and measuring again would only cost.
            const StatePicture& twin = one.pictures[i];
            picture.rect = ScaleRect(twin.rect, scale);
            picture.captionOverflow = twin.captionOverflow;
            picture.backdropLuminance = twin.backdropLuminance;
            continue;
        }
        picture.rect = button.exportRect();
        if (!ring.IsEmpty()) {
            picture.rect = picture.rect.Union(ring.Inflate(1, 1).Intersect(picture.shown.Extent()));
        }
        picture.captionOverflow = button.CaptionOverflow();
        picture.backdropLuminance = button.CaptionBackdropLuminance();
        set.rect = set.rect.Union(picture.rect);
    }
    if (scale > 1) set.rect = ScaleRect(one.rect, scale);
    return set;
}

bool ChooseCaptionColorForStates(std::span<const StatePicture> pictures, ButtonSettings& normal) {
    std::vector<double> backdrops;
    for (const StatePicture& picture : pictures) {
        // A disabled state need not meet the mark; a state with a colour of
        // its own keeps it; a state without a caption has nothing to read.
        if (picture.state == ButtonState::Disabled) continue;
        if (picture.settings.textColor != normal.textColor) continue;
        if (picture.backdropLuminance < 0) continue;
        backdrops.push_back(picture.backdropLuminance);
    }
    const Color chosen = BetterCaptionColor(backdrops);
    if (backdrops.empty() || chosen == normal.textColor) return false;
    normal.textColor = chosen;
    return true;
}

}  // namespace tabora
