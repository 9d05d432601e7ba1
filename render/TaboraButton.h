#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "io/ButtonSettings.h"
#include "platform/Fonts.h"
#include "platform/Geometry.h"
#include "render/AlphaMask.h"
#include "render/ArgbImage.h"
#include "render/ButtonStyle.h"

namespace tabora {

// The button under design: its settings, the loaded style and the cached
// layers the finished 174 x 74 picture is composed from. Plain core class;
// the GUI's preview hosts one and paints `canvas()`.
//
// A button made for a scale k of 2 or 3 (device pixels per CSS pixel) draws
// the same button for a high-density screen: every picture is k times the
// 174 x 74 one, from the style drawn at k x. The 1x layout decides where
// everything goes: the body rectangle after shrinking or widening, its
// place, the caption's place and the export rectangle are k times those of
// the same settings at 1x (a 1x button of its own lays them out), so a k x
// file is exactly k times the 1x file and a page can swap one for the other.
//
// Setters compare, store, clear the `validLayers` bits of the layers that
// depend on the field and report whether anything changed. `Render` rebuilds
// only the layers whose bits are clear. One button is used by one thread at
// a time; buttons on different threads are independent.
class TaboraButton {
public:
    // Bits of `validLayers`.
    static constexpr uint8_t kCanvasLayer = 0x01;
    static constexpr uint8_t kBodyLayer = 0x02;
    static constexpr uint8_t kShadowLayer = 0x04;
    static constexpr uint8_t kTintedLayer = 0x08;
    static constexpr uint8_t kTextLayer = 0x10;
    static constexpr uint8_t kTextShadowLayer = 0x20;
    static constexpr uint8_t kAllLayers = 0x3F;

    // Runs InitDefaults. Styles come from `styles`, which must outlive the
    // button; `scale` is 1, 2 or 3 (anything else is taken as the nearest).
    explicit TaboraButton(const StyleSource& styles, int scale = 1);
    ~TaboraButton();
    TaboraButton(const TaboraButton&) = delete;
    TaboraButton& operator=(const TaboraButton&) = delete;

    // Defaults, no style, every layer stale; the canvas shows the work-area
    // background until the first render.
    void InitDefaults();

    const ButtonSettings& settings() const { return settings_; }
    uint8_t validLayers() const { return validLayers_; }
    // Marks layers stale without changing a setting (at k x, those of the
    // 1x layout as well).
    void Invalidate(uint8_t layers) {
        validLayers_ &= uint8_t(~layers);
        if (layout_) layout_->Invalidate(layers);
    }
    // Device pixels per CSS pixel of every picture of this button.
    int scale() const { return scale_; }

    // Compare-and-set: false (and nothing cleared) when the value is already
    // there. Values outside what the controls produce are clamped first.
    bool SetButtonSize(int32_t size);
    bool SetHueShift(int32_t steps);
    bool SetBrightness(int32_t steps);
    bool SetFontSize(int16_t points);
    bool SetFontStyle(uint32_t style);
    bool SetShadow(bool on);
    bool SetAntialias(bool on);
    bool SetTextShadow(bool on);
    // Switching on clears the shadow mask (it is then built for the export
    // rectangle even without a shadow); switching off clears nothing.
    bool SetIncludeShadowArea(bool on);
    // Direct updates: store and clear without comparing (a colour confirmed
    // unchanged still recomposes and still counts as a change).
    void SetBackgroundColor(Color color);
    void SetTextColor(Color color);
    // UTF-8, cut to 255 bytes at a character boundary and at the first NUL;
    // text that is not UTF-8 is taken as Windows-1252.
    void SetFontName(const std::string& name);
    void SetCaption(const std::string& caption);
    void SetTextOffset(Point offset);  // each coordinate kept to +-kMaxTextOffset
    // Export options; no layer depends on them.
    void SetRemoveBackground(bool on) { settings_.removeBackground = on; }
    void SetJpegQuality(int16_t quality);
    void SetOptimize(bool on) { settings_.optimize = on; }
    void SetLossy(bool on) { settings_.lossy = on; }

    // Brings the button to these settings through the setters above, so
    // only what differs is rebuilt: opening a file, undo and redo, the next
    // button of a batch. The style comes first, since the size's range
    // depends on it.
    void ApplySettings(const ButtonSettings& settings);

    // Loads style n from the style source unless it is the current number.
    // Numbers outside the catalogue mean no style and are stored as 0.
    bool SetStyleNumber(int16_t n);
    const ButtonStyle* style() const { return style_.get(); }
    // Extra width a stretchable style can take, so the size slider can reach
    // 200 + 2 x MaxExtraWidth. Sizes are in CSS pixels at every scale.
    int16_t MaxExtraWidth() const;
    // The size a newly chosen style starts with.
    int32_t DefaultButtonSize() const;
    // The largest size of this style: the size slider's maximum, or the
    // style's starting size if that is more.
    int32_t MaxButtonSize() const;

    // Brings the canvas up to date.
    void Render();
    // The layers without the background: body shadow, body, caption shadow,
    // caption. A target of another size is first made a clear canvas-sized
    // image.
    void ComposeLayers(ArgbImage& target);
    // Render, then the part of the canvas an export writes: at k x exactly k
    // times the 1x rectangle of the same settings.
    void PrepareExport();
    const ArgbImage& canvas() const { return canvas_; }
    Rect exportRect() const { return exportRect_; }
    Rect bodyRect() const { return bodyRect_; }
    Rect bodyBounds() const { return bodyBounds_; }
    Rect textBounds() const { return textBounds_; }
    const ArgbImage& bodyImage() const { return bodyImage_; }
    const ArgbImage& tintedBody() const { return tintedBody_; }
    const AlphaMask& shadowMask() const { return shadowMask_; }
    const AlphaMask& textMask() const { return textMask_; }
    const AlphaMask& textShadowMask() const { return textShadowMask_; }
    // Glyphs drawn in their own colours (emoji), over the caption; valid
    // when hasColourText().
    const ArgbImage& textColour() const { return textColour_; }
    bool hasColourText() const { return colourText_; }
    // How often a layer (one bit) has been rebuilt; lets tests see that a
    // change rebuilds only what depends on it.
    uint32_t BuildCount(uint8_t layer) const;

    // The font record the caption is drawn with (4 times the pixel height
    // when antialiased, and the scale times that).
    FontRecord CaptionFontRecord() const;
    // Characters of the caption that no installed face has, each once in
    // caption order; they are drawn as the caption face's box.
    std::vector<char32_t> MissingCaptionCharacters();

    // What is looked at before a button ships (ButtonChecks.cpp); each
    // renders first.
    // How far the caption's ink reaches beyond the left or right edge of the
    // body, in pixels (the larger side); 0 when it fits, or without a caption
    // or a body.
    int32_t CaptionOverflow();
    // The relative luminance (0 black .. 1 white, in linear light) of what
    // lies under the caption: the canvas without it, averaged over the
    // caption's box. Negative without a caption.
    double CaptionBackdropLuminance();
    // The body's alpha where the canvas shows it, in a canvas-sized mask.
    void PlacedBodyAlpha(AlphaMask& out);

    // How many of the renderer's own pictures (the work-area background and
    // frame) the bitmap class refused while this button was set up; a front
    // end tells the user.
    int RefusedPictures() const { return refusedPictures_; }

private:
    void BuildBody();
    void BuildBodyLayers();  // body, its shadow when used, the tinted body
    void ComposeBody(ArgbImage& target);
    void ComposeCaption(ArgbImage& target);
    void BuildShadowMask();
    void BuildTintedBody();
    void BuildTextMask();
    void BuildTextShadowMask();
    Font& CaptionFont();  // made or kept for the current font record
    Point BodyOffset() const;
    // How far the style's widening at the current size repeats its stretch
    // column: 0 when it is not widened.
    int32_t Widening() const;
    // How far the caption moves from the middle of the body to sit in the
    // middle of the style's caption area, at the current size; (0, 0) for a
    // style without one.
    Point CaptionShift() const;
    void Built(uint8_t layer);
    // The picture of the canvas at this button's scale.
    Rect CanvasRect() const { return {0, 0, kCanvasWidth * scale_, kCanvasHeight * scale_}; }
    // The export rectangle from the layers' boxes (which must be built).
    Rect ExportArea() const;
    // At k x: the 1x button brought to these settings, with the layers the
    // layout reads built (not its canvas).
    TaboraButton& Layout();

    const StyleSource& styles_;
    const int scale_;
    // The 1x button whose layout a k x button draws; null at 1x.
    std::unique_ptr<TaboraButton> layout_;
    // The body rectangle at 1x, whatever the scale: its place is centred at
    // 1x and multiplied, so that no rounding at k x can move it.
    Rect layoutBodyRect_;
    // Where the caption was drawn: the rectangle given to the font, in the
    // units of the mask it was drawn into (4 per pixel when antialiased).
    Rect captionRect_;
    ButtonSettings settings_;
    std::unique_ptr<ButtonStyle> style_;
    Rect styleRect_;
    Rect bodyRect_;
    Rect exportRect_;
    // Boxes of the layers' non-zero pixels, found as each layer is built.
    Rect bodyBounds_;
    Rect shadowBounds_;
    Rect textBounds_;
    Rect textShadowBounds_;
    ArgbImage canvas_;
    ArgbImage bodyImage_;
    ArgbImage tintedBody_;
    AlphaMask shadowMask_;
    AlphaMask textMask_;
    AlphaMask textShadowMask_;
    Point captionShift_;    // the caption shift the caption mask was built with
    ArgbImage textColour_;  // allocated with the first colour glyph
    bool colourText_ = false;
    uint8_t validLayers_ = 0;
    uint32_t buildCounts_[6] = {};
    int refusedPictures_ = 0;

    // The canvas without the caption: background, frame, body shadow and
    // body. It stays valid while what it is made of does: the same
    // background and shadow switch, and body layers not rebuilt since.
    struct BaseKey {
        Color background = 0;
        bool shadow = false;
        bool hasStyle = false;
        uint32_t bodyBuilds = 0, shadowBuilds = 0, tintedBuilds = 0;
        friend bool operator==(const BaseKey&, const BaseKey&) = default;
    };
    ArgbImage base_;
    BaseKey baseKey_;
    bool baseValid_ = false;

    // The caption font, kept while its record stays the same so a keystroke
    // does not pay for a font lookup.
    std::unique_ptr<Font> font_;
    FontRecord fontKey_;
};

}  // namespace tabora
