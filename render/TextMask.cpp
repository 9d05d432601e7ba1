#include <algorithm>

#include "io/ButtonData.h"
#include "io/ButtonSettings.h"
#include "render/ButtonBuffers.h"
#include "render/ScaledPicture.h"
#include "render/TaboraButton.h"

namespace tabora {

namespace {

// The font record holds at most 31 bytes of face name.
constexpr size_t kMaxFaceBytes = 31;
constexpr int32_t kRegularWeight = 400;
constexpr int32_t kBoldWeight = 700;

bool SameRecord(const FontRecord& a, const FontRecord& b) {
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic &&
           a.faceName == b.faceName;
}

CoverageView ViewOf(AlphaMask& mask) {
    return {mask.Bytes(), mask.Width(), mask.Height(), mask.Width()};
}

ColourView ColourViewOf(ArgbImage& image) {
    return {image.Pixels(), image.Width(), image.Height(), image.Width()};
}

// 696 x 296 times the scale, for antialiased colour glyphs drawn at four
// times the size, with the box written last, which alone needs clearing. Per
// thread and scale, and made only when a caption first has colour glyphs.
struct LargeColourText {
    ArgbImage image;
    Rect written;
};
LargeColourText& SharedLargeColourText(int scale) {
    thread_local LargeColourText large[kMaxArtScale];
    LargeColourText& mine = large[scale - 1];
    if (mine.image.Width() == 0)
        mine.image.Allocate(kAntialiasScale * kCanvasWidth * scale,
                            kAntialiasScale * kCanvasHeight * scale);
    return mine;
}

void ClearBox(ArgbImage& image, Rect box) {
    for (int32_t y = box.top; y < box.bottom; ++y) {
        std::fill_n(&image.At(box.left, y), box.Width(), 0u);
    }
}

// Averages the 4 x 4 blocks of premultiplied colour under `box` of the
// large image into `dest`, as the caption's mask is reduced; other pixels
// of dest are left clear.
void ReduceColour(const ArgbImage& large, Rect box, ArgbImage& dest) {
    const int32_t k = kAntialiasScale;
    for (int32_t y = box.top / k; y < (box.bottom + k - 1) / k; ++y) {
        for (int32_t x = box.left / k; x < (box.right + k - 1) / k; ++x) {
            uint32_t sum[4] = {};
            for (int32_t dy = 0; dy < k; ++dy) {
                for (int32_t dx = 0; dx < k; ++dx) {
                    const uint32_t p = large.At(x * k + dx, y * k + dy);
                    for (int c = 0; c < 4; ++c) sum[c] += p >> (8 * c) & 0xFF;
                }
            }
            uint32_t out = 0;
            for (int c = 0; c < 4; ++c) out |= sum[c] / (k * k) << (8 * c);
            dest.At(x, y) = out;
        }
    }
}

// Colour glyphs are drawn premultiplied, so that reducing them averages
// colour by coverage; the layer is kept with straight alpha like every
// other image.
void Unpremultiply(ArgbImage& image, Rect box) {
    for (int32_t y = box.top; y < box.bottom; ++y) {
        for (int32_t x = box.left; x < box.right; ++x) {
            uint32_t& p = image.At(x, y);
            const uint32_t a = p & 0xFF;
            if (a == 0 || a == 255) continue;
            uint32_t out = a;
            for (int shift = 8; shift < 32; shift += 8) {
                out |= std::min<uint32_t>(255, (((p >> shift) & 0xFF) * 255 + a / 2) / a) << shift;
            }
            p = out;
        }
    }
}

// Coordinates of the text rectangle: far beyond any view, but never near
// the ends of a 32-bit value whatever the caption measures.
int32_t Placement(int64_t v) { return int32_t(std::clamp<int64_t>(v, -(1 << 28), 1 << 28)); }

}  // namespace

FontRecord TaboraButton::CaptionFontRecord() const {
    const int32_t k = settings_.antialias ? kAntialiasScale : 1;
    FontRecord record;
    record.height = MulDiv(-kPixelsPerInch, settings_.fontSize, 72) * k * scale_;
    record.weight = (settings_.fontStyle & kFontBold) ? kBoldWeight : kRegularWeight;
    record.italic = (settings_.fontStyle & kFontItalic) != 0;
    // Cut at a character boundary so the lookup never sees half a character.
    record.faceName = std::string(CutUtf8(settings_.fontName, kMaxFaceBytes));
    return record;
}

Font& TaboraButton::CaptionFont() {
    FontRecord record = CaptionFontRecord();
    if (!font_ || !SameRecord(record, fontKey_)) {
        font_ = Font::Create(record);
        fontKey_ = std::move(record);
    }
    return *font_;
}

std::vector<char32_t> TaboraButton::MissingCaptionCharacters() {
    if (settings_.caption.empty()) return {};
    return CaptionFont().Layout(settings_.caption).missing;
}

void TaboraButton::BuildTextMask() {
    if (validLayers_ & kTextLayer) return;
    // A style may ask for its caption off the body's middle (the tail of an
    // arrow, the label beside a glyph); the shift is moved like the user's
    // own offset, in whole canvas pixels.
    captionShift_ = CaptionShift();
    const bool antialias = settings_.antialias;
    const int32_t k = antialias ? kAntialiasScale : 1;
    CaptionFont();

    // Plain captions are drawn straight into the caption mask; antialiased
    // ones into the large mask, then reduced by averaging 4 x 4 blocks.
    AlphaMask& work = antialias ? SharedLargeTextMask(scale_) : textMask_;
    work.Clear();
    // Emoji keep their own colours in a layer of their own, over the caption.
    colourText_ = font_ && font_->HasColourGlyphs(settings_.caption);
    ArgbImage* colourWork = nullptr;
    if (colourText_) {
        if (textColour_.Width() != canvas_.Width())
            textColour_.Allocate(canvas_.Width(), canvas_.Height());
        textColour_.Clear();
        if (antialias) {
            LargeColourText& large = SharedLargeColourText(scale_);
            ClearBox(large.image, large.written);
            large.written = {};
            colourWork = &large.image;
        } else {
            colourWork = &textColour_;
        }
    }
    Rect colourBox;
    if (font_) {
        const TextExtent extent = font_->Extent(settings_.caption);
        int64_t left = (int64_t(work.Width()) - extent.cx) / 2 +
                       (int64_t(settings_.textOffset.x) + captionShift_.x) * k;
        int64_t top = (int64_t(work.Height()) - extent.cy) / 2 +
                      (int64_t(settings_.textOffset.y) + captionShift_.y) * k;
        if (layout_) {
            // At k x the caption is centred on k times the centre of the 1x
            // caption (which has the style's caption shift), so the rounding
            // of the finer layout cannot move it.
            TaboraButton& one = *layout_;
            one.ApplySettings(settings_);
            one.BuildTextMask();
            const Rect at = one.captionRect_;
            left = int64_t(at.left) * scale_ + (int64_t(at.Width()) * scale_ - extent.cx) / 2;
            top = int64_t(at.top) * scale_ + (int64_t(at.Height()) * scale_ - extent.cy) / 2;
        }
        const Rect rect{Placement(left), Placement(top), Placement(left + extent.cx),
                        Placement(top + extent.cy)};
        captionRect_ = rect;
        colourBox =
            font_->DrawCaption(settings_.caption, rect, ViewOf(work),
                               colourWork ? ColourViewOf(*colourWork) : ColourView{}, false);
    }
    if (antialias) work.ReduceInto(textMask_);
    textBounds_ = textMask_.Bounds();
    if (colourText_ && !colourBox.IsEmpty()) {
        if (antialias) {
            SharedLargeColourText(scale_).written = colourBox;
            ReduceColour(*colourWork, colourBox, textColour_);
            const int32_t k = kAntialiasScale;
            colourBox = {colourBox.left / k, colourBox.top / k, (colourBox.right + k - 1) / k,
                         (colourBox.bottom + k - 1) / k};
        }
        Unpremultiply(textColour_, colourBox);
        textBounds_ = textBounds_.Union(textColour_.Bounds());
    }
    Built(kTextLayer);
}

}  // namespace tabora
