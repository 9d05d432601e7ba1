#include "render/TaboraButton.h"

#include <algorithm>
#include <bit>

#include "io/ButtonData.h"
#include "render/ButtonBuffers.h"
#include "render/ScaledPicture.h"

namespace tabora {

TaboraButton::TaboraButton(const StyleSource& styles, int scale)
    : styles_(styles), scale_(std::clamp(scale, kMinArtScale, kMaxArtScale)) {
    if (scale_ > 1) layout_ = std::make_unique<TaboraButton>(styles, 1);
    InitDefaults();
}

TaboraButton::~TaboraButton() = default;

void TaboraButton::InitDefaults() {
    const int32_t width = CanvasRect().Width(), height = CanvasRect().Height();
    canvas_.Allocate(width, height);
    base_.Allocate(width, height);
    baseValid_ = false;
    bodyImage_.Allocate(width, height);
    tintedBody_.Allocate(width, height);
    shadowMask_.Allocate(width, height);
    textMask_.Allocate(width, height);
    textShadowMask_.Allocate(width, height);
    refusedPictures_ = PrepareSharedRenderBuffers(scale_);
    if (layout_) layout_->InitDefaults();

    // Until the first render the canvas shows the work-area background. The
    // picture is copied, not blended, and only as far as it fits.
    ArgbImage background;
    if (scale_ == 1) {
        const ArgbImage::Load load = background.LoadFromResource("wabackm", true);
        if (load == ArgbImage::Load::Refused) ++refusedPictures_;
    } else {
        LoadScaledPicture(background, "wabackm", true, scale_);
    }
    if (background.Width() > 0) {
        const int32_t w = std::min(background.Width(), width);
        const int32_t h = std::min(background.Height(), height);
        for (int32_t y = 0; y < h; ++y) {
            std::copy_n(background.Pixels() + size_t(y) * size_t(background.Width()), w,
                        canvas_.Pixels() + size_t(y) * size_t(width));
        }
    }

    settings_ = ButtonSettings{};
    style_.reset();
    styleRect_ = bodyRect_ = exportRect_ = layoutBodyRect_ = captionRect_ = Rect{};
    bodyBounds_ = shadowBounds_ = textBounds_ = textShadowBounds_ = Rect{};
    validLayers_ = 0;
    font_.reset();
}

uint32_t TaboraButton::BuildCount(uint8_t layer) const {
    if (!std::has_single_bit(unsigned(layer)) || layer > kTextShadowLayer) return 0;
    return buildCounts_[std::countr_zero(unsigned(layer))];
}

void TaboraButton::Built(uint8_t layer) {
    validLayers_ |= layer;
    ++buildCounts_[std::countr_zero(unsigned(layer))];
}

namespace {

template <typename T>
bool Update(T& field, const T& value, uint8_t& validLayers, uint8_t cleared) {
    if (field == value) return false;
    field = value;
    validLayers &= uint8_t(~cleared);
    return true;
}

constexpr uint8_t kCaptionLayers =
    TaboraButton::kCanvasLayer | TaboraButton::kTextLayer | TaboraButton::kTextShadowLayer;

}  // namespace

bool TaboraButton::SetButtonSize(int32_t size) {
    size = std::clamp(size, kMinStoredButtonSize, MaxButtonSize());
    const bool changed = Update(settings_.buttonSize, size, validLayers_,
                                kCanvasLayer | kBodyLayer | kShadowLayer | kTintedLayer);
    // The caption follows its area as the body is widened or shrunk.
    // At k x the caption's place comes from the 1x layout, which may move.
    if (changed && (layout_ || CaptionShift() != captionShift_))
        Invalidate(kTextLayer | kTextShadowLayer);
    return changed;
}

bool TaboraButton::SetHueShift(int32_t steps) {
    return Update(settings_.hueShift, std::clamp(steps, 0, kMaxHueShift), validLayers_,
                  kCanvasLayer | kTintedLayer);
}

bool TaboraButton::SetBrightness(int32_t steps) {
    return Update(settings_.brightness, std::clamp(steps, -kMaxBrightness, kMaxBrightness),
                  validLayers_, kCanvasLayer | kTintedLayer);
}

bool TaboraButton::SetFontSize(int16_t points) {
    const auto clamped = int16_t(std::clamp<int32_t>(points, -kMaxFontPoints, kMaxFontPoints));
    return Update(settings_.fontSize, clamped, validLayers_, kCaptionLayers);
}

bool TaboraButton::SetFontStyle(uint32_t style) {
    return Update(settings_.fontStyle, style, validLayers_, kCaptionLayers);
}

bool TaboraButton::SetShadow(bool on) {
    // The shadow mask does not depend on the switch, only its drawing does.
    return Update(settings_.shadow, on, validLayers_, kCanvasLayer);
}

bool TaboraButton::SetAntialias(bool on) {
    return Update(settings_.antialias, on, validLayers_, kCaptionLayers);
}

bool TaboraButton::SetTextShadow(bool on) {
    return Update(settings_.textShadow, on, validLayers_, kCanvasLayer);
}

bool TaboraButton::SetIncludeShadowArea(bool on) {
    return Update(settings_.includeShadowArea, on, validLayers_,
                  on ? uint8_t(kCanvasLayer | kShadowLayer) : uint8_t(0));
}

void TaboraButton::SetBackgroundColor(Color color) {
    settings_.backgroundColor = color & 0xFFFFFF;
    Invalidate(kCanvasLayer);
}

void TaboraButton::SetTextColor(Color color) {
    settings_.textColor = color & 0xFFFFFF;
    Invalidate(kCanvasLayer);
}

void TaboraButton::SetFontName(const std::string& name) {
    settings_.fontName = SettingText(name);
    Invalidate(kCaptionLayers);
}

void TaboraButton::SetCaption(const std::string& caption) {
    settings_.caption = SettingText(caption);
    Invalidate(kCaptionLayers);
}

void TaboraButton::SetTextOffset(Point offset) {
    settings_.textOffset = {std::clamp(offset.x, -kMaxTextOffset, kMaxTextOffset),
                            std::clamp(offset.y, -kMaxTextOffset, kMaxTextOffset)};
    Invalidate(kCaptionLayers);
}

void TaboraButton::SetJpegQuality(int16_t quality) {
    settings_.jpegQuality = int16_t(std::clamp<int32_t>(quality, 0, kMaxJpegQuality));
}

void TaboraButton::ApplySettings(const ButtonSettings& s) {
    SetStyleNumber(s.styleNumber);
    SetButtonSize(s.buttonSize);
    SetHueShift(s.hueShift);
    SetBrightness(s.brightness);
    SetShadow(s.shadow);
    SetAntialias(s.antialias);
    SetTextShadow(s.textShadow);
    // The direct updates always clear their layers; skip them when nothing
    // changes.
    if (settings_.fontName != s.fontName) SetFontName(s.fontName);
    SetFontSize(s.fontSize);
    SetFontStyle(s.fontStyle);
    if (settings_.caption != s.caption) SetCaption(s.caption);
    if (!(settings_.textOffset == s.textOffset)) SetTextOffset(s.textOffset);
    if (settings_.backgroundColor != s.backgroundColor) SetBackgroundColor(s.backgroundColor);
    if (settings_.textColor != s.textColor) SetTextColor(s.textColor);
    SetRemoveBackground(s.removeBackground);
    SetIncludeShadowArea(s.includeShadowArea);
    SetJpegQuality(s.jpegQuality);
    SetOptimize(s.optimize);
    SetLossy(s.lossy);
}

bool TaboraButton::SetStyleNumber(int16_t n) {
    if (n < 0 || n > kLastStyleNumber) n = 0;
    if (n == settings_.styleNumber) return false;
    style_ = n == 0 ? nullptr : scale_ == 1 ? styles_.Load(n) : styles_.LoadScaled(n, scale_);
    if (style_) styleRect_ = style_->image.Extent();
    settings_.styleNumber = n;
    // A size beyond what the new style reaches comes down to its largest, so
    // the button is the one the same settings open as.
    settings_.buttonSize = std::min(settings_.buttonSize, MaxButtonSize());
    validLayers_ = 0;
    return true;
}

namespace {
// A style can be widened only about a column it has.
bool Stretchable(const ButtonStyle& style) {
    return style.stretchColumn >= 0 && style.stretchColumn < style.image.Width();
}
}  // namespace

int16_t TaboraButton::MaxExtraWidth() const {
    if (!style_ || !Stretchable(*style_)) return 0;
    // A style wider than a widened body may be cannot be widened at all.
    return int16_t(std::max(0, kWidestBody - style_->image.Width() / scale_));
}

int32_t TaboraButton::DefaultButtonSize() const {
    if (!style_) return kNaturalButtonSize;
    return kNaturalButtonSize + 2 * int32_t(style_->defaultStretch);
}

int32_t TaboraButton::MaxButtonSize() const {
    return std::max(kNaturalButtonSize + 2 * int32_t(MaxExtraWidth()), DefaultButtonSize());
}

}  // namespace tabora
