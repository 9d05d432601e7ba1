#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

#include "render/ButtonBuffers.h"
#include "render/ScaledPicture.h"
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

// The work-area frame at one scale, loaded once per process and never
// changed afterwards, so every thread may read it. Inside the canvas window
// only the inner corner curves are not transparent; `pieces` are the parts of
// the window that hold them, so a render blends those instead of the whole
// canvas (a transparent pixel over the opaque background changes nothing).
// Missing art leaves the image empty and there is nothing to blend.
struct Frame {
    ArgbImage image;
    Rect window;  // the canvas within the frame picture
    std::vector<Rect> pieces;
    bool refused = false;  // the bitmap class did not take a picture
};

Frame LoadFrame(int scale) {
    Frame f;
    const Rect window = ScaleRect(kFrameWindow, scale);
    f.window = window;
    bool loaded = false;
    if (scale == 1) {
        const ArgbImage::Load load = f.image.LoadFromResources("waoverlayi", "waoverlaym");
        f.refused = load == ArgbImage::Load::Refused;
        loaded = load == ArgbImage::Load::Loaded;
    } else {
        loaded = LoadScaledPicturePair(f.image, "waoverlayi", "waoverlaym", scale);
    }
    if (!loaded || f.image.Width() < window.right || f.image.Height() < window.bottom) return f;
    const int32_t midX = window.left + window.Width() / 2;
    const int32_t midY = window.top + window.Height() / 2;
    const Rect quarters[] = {{window.left, window.top, midX, midY},
                             {midX, window.top, window.right, midY},
                             {window.left, midY, midX, window.bottom},
                             {midX, midY, window.right, window.bottom}};
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
}

// Each scale's frame is loaded when a button of that scale first needs it.
const Frame& SharedFrame(int scale) {
    switch (scale) {
    case 2: {
        static const Frame frame = LoadFrame(2);
        return frame;
    }
    case 3: {
        static const Frame frame = LoadFrame(3);
        return frame;
    }
    default: {
        static const Frame frame = LoadFrame(1);
        return frame;
    }
    }
}

// The centred place of a layer of w x h, each quotient truncated toward zero.
Point CentredOffset(const Rect& r) {
    return {(kCanvasWidth - r.Width()) / 2, (kCanvasHeight - r.Height()) / 2};
}

// A thread's buffer for each scale, made when first asked for.
template <typename Buffer>
Buffer& PerScale(std::unique_ptr<Buffer> (&buffers)[kMaxArtScale], int scale, int32_t width,
                 int32_t height) {
    std::unique_ptr<Buffer>& buffer = buffers[scale - 1];
    if (!buffer) buffer = std::make_unique<Buffer>(width * scale, height * scale);
    return *buffer;
}

}  // namespace

// The scratch masks are per thread: the command line renders buttons on every
// core at once, and a button is rendered by one thread at a time. With one
// GUI thread this is the same as one buffer per process.
AlphaMask& SharedScratchMask(int scale) {
    thread_local std::unique_ptr<AlphaMask> masks[kMaxArtScale];
    return PerScale(masks, scale, kCanvasWidth, kCanvasHeight);
}

AlphaMask& SharedLargeTextMask(int scale) {
    thread_local std::unique_ptr<AlphaMask> masks[kMaxArtScale];
    return PerScale(masks, scale, kAntialiasScale * kCanvasWidth, kAntialiasScale * kCanvasHeight);
}

int PrepareSharedRenderBuffers(int scale) {
    SharedScratchMask(scale);
    SharedLargeTextMask(scale);
    static std::atomic<bool> reported{false};
    return SharedFrame(scale).refused && !reported.exchange(true) ? 1 : 0;
}

Point TaboraButton::BodyOffset() const {
    const Point at = CentredOffset(layoutBodyRect_);
    return {at.x * scale_, at.y * scale_};
}

TaboraButton& TaboraButton::Layout() {
    TaboraButton& one = *layout_;
    one.ApplySettings(settings_);
    if (one.style_) one.BuildBodyLayers();
    if (!settings_.caption.empty()) {
        one.BuildTextMask();
        if (settings_.textShadow) one.BuildTextShadowMask();
    }
    return one;
}

int32_t TaboraButton::Widening() const {
    // In CSS pixels, from the 1x width of the picture at any scale.
    const int32_t w = style_->image.Width() / scale_;
    const int64_t size = settings_.buttonSize;
    if (size <= kNaturalButtonSize || style_->stretchColumn < 0 ||
        style_->stretchColumn >= style_->image.Width())
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
        const Frame& frame = SharedFrame(scale_);
        for (const Rect& piece : frame.pieces) {
            frame.image.CompositeOver(base_, piece,
                                      piece.Offset(-frame.window.left, -frame.window.top));
        }
        ComposeBody(base_);
        baseKey_ = key;
        baseValid_ = true;
    }
    std::copy_n(base_.Pixels(), size_t(canvas_.Width()) * size_t(canvas_.Height()),
                canvas_.Pixels());
    ComposeCaption(canvas_);
    Built(kCanvasLayer);
}

void TaboraButton::ComposeLayers(ArgbImage& target) {
    if (target.Width() != canvas_.Width() || target.Height() != canvas_.Height()) {
        target.Allocate(canvas_.Width(), canvas_.Height());
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
    const int32_t k = scale_;
    // The body is laid out in CSS pixels, from the 1x size of the picture.
    const int32_t w = image.Width() / k, h = image.Height() / k;
    const int64_t size = settings_.buttonSize;
    Rect body{0, 0, w, h};
    const bool stretchable = style_->stretchColumn >= 0 && style_->stretchColumn < image.Width();
    if (size == kNaturalButtonSize || (size > kNaturalButtonSize && !stretchable)) {
        image.CompositeOver(bodyImage_, std::nullopt, image.Extent());
    } else if (size < kNaturalButtonSize) {
        // A size of 0 or below has no body at all.
        const double f = size > 0 ? std::sqrt(double(size) * 50.0) * 0.01 : 0.0;
        body.right = int32_t(w * f);
        body.bottom = int32_t(h * f);
        // At k x the k x picture is reduced into k times the 1x rectangle.
        if (!body.IsEmpty()) image.ReduceInto(bodyImage_, ScaleRect(body, k));
    } else {
        // At k x the k identical columns from the stretch column are
        // repeated k d times.
        body.right = w + Widening();
        image.StretchMiddle(bodyImage_, ScaleRect(body, k), style_->stretchColumn);
    }
    // A style larger than the canvas keeps only what the body layer holds, so
    // no later step reads past it.
    layoutBodyRect_ = body.Intersect(kCanvasRect);
    bodyRect_ = ScaleRect(layoutBodyRect_, k);
    // Each layer's box is found when the layer is built, so an export after
    // a caption change scans only the caption's layers.
    bodyBounds_ = bodyImage_.Bounds();
    Built(kBodyLayer);
}

void TaboraButton::BuildShadowMask() {
    if (validLayers_ & kShadowLayer) return;
    AlphaMask& scratch = SharedScratchMask(scale_);
    scratch.Clear();
    shadowMask_.Clear();
    const Point at = BodyOffset();
    const Rect r =
        bodyRect_.Offset(at.x + kShadowOffset.x * scale_, at.y + kShadowOffset.y * scale_);
    bodyImage_.CopyAlphaTo(scratch, bodyRect_, r);
    scratch.BlurInto(shadowMask_, kShadowRadius * scale_, kShadowGain, kGainScale, CanvasRect());
    shadowBounds_ = shadowMask_.Bounds();
    Built(kShadowLayer);
}

void TaboraButton::BuildTintedBody() {
    if (validLayers_ & kTintedLayer) return;
    tintedBody_.Clear();
    bodyImage_.CompositeOver(tintedBody_, bodyRect_, CanvasRect());
    tintedBody_.ShiftHueBrightness(bodyRect_, settings_.hueShift, settings_.brightness);
    Built(kTintedLayer);
}

void TaboraButton::BuildTextShadowMask() {
    if (validLayers_ & kTextShadowLayer) return;
    textShadowMask_.Clear();
    const AlphaMask* ink = &textMask_;
    if (colourText_) {
        // Colour glyphs cast their shadow from their alpha.
        AlphaMask& both = SharedScratchMask(scale_);
        const size_t count = size_t(textMask_.Width()) * size_t(textMask_.Height());
        std::copy_n(textMask_.Bytes(), count, both.Bytes());
        const uint32_t* colour = textColour_.Pixels();
        for (size_t i = 0; i < count; ++i) {
            both.Bytes()[i] = std::max(both.Bytes()[i], uint8_t(colour[i] & 0xFF));
        }
        ink = &both;
    }
    ink->BlurInto(textShadowMask_, kTextShadowRadius * scale_, kTextShadowGain, kGainScale,
                  CanvasRect().Offset(kTextShadowOffset.x * scale_, kTextShadowOffset.y * scale_));
    textShadowBounds_ = textShadowMask_.Bounds();
    Built(kTextShadowLayer);
}

Rect TaboraButton::ExportArea() const {
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
    return area.Inflate(1, 1).Intersect(kCanvasRect);
}

void TaboraButton::PrepareExport() {
    Render();
    // At k x the 1x layout decides: the rectangle is exactly k times its own,
    // whatever the finer layers' edges do.
    exportRect_ = layout_ ? ScaleRect(Layout().ExportArea(), scale_) : ExportArea();
}

}  // namespace tabora
