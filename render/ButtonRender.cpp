#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "render/ButtonBuffers.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {

// The work-area frame: 192 x 92, the canvas sits in it at (9, 9).
constexpr Rect kFrameWindow{9, 9, 9 + kCanvasWidth, 9 + kCanvasHeight};
// Body shadow: one right, two down, a 5 x 5 box at 40 %.
constexpr Point kShadowOffset{1, 2};
constexpr int32_t kShadowRadius = 2;
constexpr uint32_t kShadowGain = 40;
// Caption shadow: one right, two down, a 3 x 3 box at 60 %.
constexpr Point kTextShadowOffset{1, 2};
constexpr int32_t kTextShadowRadius = 1;
constexpr uint32_t kTextShadowGain = 60;
constexpr uint32_t kGainScale = 100;
// An export is never smaller than the central 8 x 8 pixels.
constexpr int32_t kSmallestExport = 8;
constexpr Color kShadowColor = 0;

// The work-area frame, loaded once per process and never changed afterwards,
// so every thread may read it. Inside the canvas window only the inner corner
// curves are not transparent; `pieces` are the parts of the window that hold
// them, so a render blends those instead of the whole canvas (a transparent
// pixel over the opaque background changes nothing). Missing art leaves the
// image empty and there is nothing to blend.
struct Frame {
    ArgbImage image;
    std::vector<Rect> pieces;
    bool refused = false;  // the bitmap class did not take a picture
};

const Frame& SharedFrame() {
    static const Frame frame = [] {
        Frame f;
        const ArgbImage::Load load = f.image.LoadFromResources("waoverlayi", "waoverlaym");
        f.refused = load == ArgbImage::Load::Refused;
        if (load != ArgbImage::Load::Loaded || f.image.Width() < kFrameWindow.right ||
            f.image.Height() < kFrameWindow.bottom) {
            return f;
        }
        const int32_t midX = kFrameWindow.left + kCanvasWidth / 2;
        const int32_t midY = kFrameWindow.top + kCanvasHeight / 2;
        const Rect quarters[] = {{kFrameWindow.left, kFrameWindow.top, midX, midY},
                                 {midX, kFrameWindow.top, kFrameWindow.right, midY},
                                 {kFrameWindow.left, midY, midX, kFrameWindow.bottom},
                                 {midX, midY, kFrameWindow.right, kFrameWindow.bottom}};
        for (const Rect& q : quarters) {
            Rect used{q.right, q.bottom, q.left, q.top};
            for (int32_t y = q.top; y < q.bottom; ++y)
                for (int32_t x = q.left; x < q.right; ++x)
                    if (PixelAlpha(f.image.At(x, y)) != 0)
                        used = {std::min(used.left, x), std::min(used.top, y),
                                std::max(used.right, x + 1), std::max(used.bottom, y + 1)};
            if (!used.IsEmpty()) f.pieces.push_back(used);
        }
        return f;
    }();
    return frame;
}

// The centred place of a layer of w x h, each quotient truncated toward zero.
Point CentredOffset(const Rect& r) {
    return {(kCanvasWidth - r.Width()) / 2, (kCanvasHeight - r.Height()) / 2};
}

}  // namespace

// The scratch masks are per thread: the command line renders buttons on every
// core at once, and a button is rendered by one thread at a time. With one
// GUI thread this is the same as one buffer per process.
AlphaMask& SharedScratchMask() {
    thread_local AlphaMask mask(kCanvasWidth, kCanvasHeight);
    return mask;
}

AlphaMask& SharedLargeTextMask() {
    thread_local AlphaMask mask(4 * kCanvasWidth, 4 * kCanvasHeight);
    return mask;
}

int PrepareSharedRenderBuffers() {
    SharedScratchMask();
    SharedLargeTextMask();
    static std::atomic<bool> reported{false};
    return SharedFrame().refused && !reported.exchange(true) ? 1 : 0;
}

Point TaboraButton::BodyOffset() const { return CentredOffset(bodyRect_); }

int32_t TaboraButton::Widening() const {
    const int32_t w = style_->image.Width();
    const int64_t size = settings_.buttonSize;
    if (size <= kNaturalButtonSize || style_->stretchColumn < 0 || style_->stretchColumn >= w)
        return 0;
    // Widening stops where the body would leave the canvas.
    return int32_t(std::min<int64_t>((size - kNaturalButtonSize) / 2, std::max(0, kCanvasWidth - w)));
}

Point TaboraButton::CaptionShift() const {
    if (!style_ || style_->captionArea.IsEmpty()) return {};
    const Rect a = style_->captionArea;
    const int32_t w = style_->image.Width(), h = style_->image.Height();
    // The middle of [lo, hi) against the middle of [0, extent), in whole
    // pixels truncated toward zero: an area centred in the picture gives 0.
    auto offset = [](int64_t lo, int64_t hi, int64_t extent) {
        return int32_t((lo + hi - extent) / 2);
    };
    const int64_t size = settings_.buttonSize;
    if (size < kNaturalButtonSize) {
        // Scaled as the body is, each edge truncated.
        const double f = size > 0 ? std::sqrt(double(size) * 50.0) * 0.01 : 0.0;
        auto scaled = [f](int32_t v) { return int64_t(v * f); };
        return {offset(scaled(a.left), scaled(a.right), scaled(w)),
                offset(scaled(a.top), scaled(a.bottom), scaled(h))};
    }
    // Edges right of the stretch column move out with the widening.
    const int32_t d = Widening(), c = style_->stretchColumn;
    auto widened = [d, c](int32_t edge) { return int64_t(edge > c ? edge + d : edge); };
    return {offset(widened(a.left), widened(a.right), int64_t(w) + d), offset(a.top, a.bottom, h)};
}

void TaboraButton::Render() {
    if (validLayers_ & kCanvasLayer) return;
    // The background, frame and body part of the canvas is kept apart, so
    // that a caption change (typing, or the next button of a batch) starts
    // from a copy of it instead of composing the body and its shadow again.
    if (style_) BuildBodyLayers();
    const BaseKey key{settings_.backgroundColor, settings_.shadow, style_ != nullptr,
                      BuildCount(kBodyLayer), BuildCount(kShadowLayer), BuildCount(kTintedLayer)};
    if (!baseValid_ || !(key == baseKey_)) {
        base_.Fill(settings_.backgroundColor);
        const Frame& frame = SharedFrame();
        for (const Rect& piece : frame.pieces) {
            frame.image.CompositeOver(base_, piece,
                                      piece.Offset(-kFrameWindow.left, -kFrameWindow.top));
        }
        ComposeBody(base_);
        baseKey_ = key;
        baseValid_ = true;
    }
    std::copy_n(base_.Pixels(), size_t(kCanvasWidth) * kCanvasHeight, canvas_.Pixels());
    ComposeCaption(canvas_);
    Built(kCanvasLayer);
}

void TaboraButton::ComposeLayers(ArgbImage& target) {
    if (target.Width() != kCanvasWidth || target.Height() != kCanvasHeight) {
        target.Allocate(kCanvasWidth, kCanvasHeight);
    }
    if (style_) BuildBodyLayers();
    ComposeBody(target);
    ComposeCaption(target);
}

void TaboraButton::BuildBodyLayers() {
    BuildBody();
    if (settings_.shadow || settings_.includeShadowArea) BuildShadowMask();
    BuildTintedBody();
}

void TaboraButton::ComposeBody(ArgbImage& target) {
    if (!style_) return;
    if (settings_.shadow) target.Fill(kShadowColor, shadowMask_);
    const Point at = BodyOffset();
    tintedBody_.CompositeOver(target, bodyRect_, bodyRect_.Offset(at.x, at.y));
}

void TaboraButton::ComposeCaption(ArgbImage& target) {
    if (settings_.caption.empty()) return;
    BuildTextMask();
    if (settings_.textShadow) {
        BuildTextShadowMask();
        target.Fill(kShadowColor, textShadowMask_);
    }
    target.Fill(settings_.textColor, textMask_);
    if (colourText_) textColour_.CompositeOver(target);
}

void TaboraButton::BuildBody() {
    if (validLayers_ & kBodyLayer) return;
    bodyImage_.Clear();
    const ArgbImage& image = style_->image;
    const int32_t w = image.Width(), h = image.Height();
    const int64_t size = settings_.buttonSize;
    bodyRect_ = styleRect_;
    const bool stretchable = style_->stretchColumn >= 0 && style_->stretchColumn < w;
    if (size == kNaturalButtonSize || (size > kNaturalButtonSize && !stretchable)) {
        image.CompositeOver(bodyImage_, std::nullopt, Rect{0, 0, w, h});
    } else if (size < kNaturalButtonSize) {
        // A size of 0 or below has no body at all.
        const double f = size > 0 ? std::sqrt(double(size) * 50.0) * 0.01 : 0.0;
        bodyRect_.right = int32_t(w * f);
        bodyRect_.bottom = int32_t(h * f);
        if (!bodyRect_.IsEmpty()) image.ReduceInto(bodyImage_, bodyRect_);
    } else {
        bodyRect_.right = w + Widening();
        image.StretchMiddle(bodyImage_, bodyRect_, style_->stretchColumn);
    }
    // A style larger than the canvas keeps only what the body layer holds, so
    // no later step reads past it.
    bodyRect_ = bodyRect_.Intersect(kCanvasRect);
    // Each layer's box is found when the layer is built, so an export after
    // a caption change scans only the caption's layers.
    bodyBounds_ = bodyImage_.Bounds();
    Built(kBodyLayer);
}

void TaboraButton::BuildShadowMask() {
    if (validLayers_ & kShadowLayer) return;
    AlphaMask& scratch = SharedScratchMask();
    scratch.Clear();
    shadowMask_.Clear();
    const Point at = BodyOffset();
    const Rect r = bodyRect_.Offset(at.x + kShadowOffset.x, at.y + kShadowOffset.y);
    bodyImage_.CopyAlphaTo(scratch, bodyRect_, r);
    scratch.BlurInto(shadowMask_, kShadowRadius, kShadowGain, kGainScale, kCanvasRect);
    shadowBounds_ = shadowMask_.Bounds();
    Built(kShadowLayer);
}

void TaboraButton::BuildTintedBody() {
    if (validLayers_ & kTintedLayer) return;
    tintedBody_.Clear();
    bodyImage_.CompositeOver(tintedBody_, bodyRect_, Rect{0, 0, kCanvasWidth, kCanvasHeight});
    tintedBody_.ShiftHueBrightness(bodyRect_, settings_.hueShift, settings_.brightness);
    Built(kTintedLayer);
}

void TaboraButton::BuildTextShadowMask() {
    if (validLayers_ & kTextShadowLayer) return;
    textShadowMask_.Clear();
    const AlphaMask* ink = &textMask_;
    if (colourText_) {
        // Colour glyphs cast their shadow from their alpha.
        AlphaMask& both = SharedScratchMask();
        std::copy_n(textMask_.Bytes(), size_t(kCanvasWidth) * kCanvasHeight, both.Bytes());
        const uint32_t* colour = textColour_.Pixels();
        for (size_t i = 0; i < size_t(kCanvasWidth) * kCanvasHeight; ++i) {
            both.Bytes()[i] = std::max(both.Bytes()[i], uint8_t(colour[i] & 0xFF));
        }
        ink = &both;
    }
    ink->BlurInto(textShadowMask_, kTextShadowRadius, kTextShadowGain, kGainScale,
                  kCanvasRect.Offset(kTextShadowOffset.x, kTextShadowOffset.y));
    textShadowBounds_ = textShadowMask_.Bounds();
    Built(kTextShadowLayer);
}

void TaboraButton::PrepareExport() {
    Render();
    const int32_t dx = (kCanvasWidth - kSmallestExport) / 2;
    const int32_t dy = (kCanvasHeight - kSmallestExport) / 2;
    Rect area = kCanvasRect.Inflate(-dx, -dy);
    if (style_) {
        if (settings_.shadow || settings_.includeShadowArea) area = area.Union(shadowBounds_);
        const Point at = BodyOffset();
        area = area.Union(bodyBounds_.Offset(at.x, at.y));
    }
    if (!settings_.caption.empty()) {
        if (settings_.textShadow) area = area.Union(textShadowBounds_);
        area = area.Union(textBounds_);
    }
    exportRect_ = area.Inflate(1, 1).Intersect(kCanvasRect);
}

}  // namespace tabora
