#include "render/ArgbImage.h"

#include <algorithm>
#include <cstring>

#include "render/RasterDetail.h"

namespace tabora {

using detail::CopySpan;

void ArgbImage::Allocate(int32_t width, int32_t height) {
    width_ = std::max(width, 0);
    height_ = std::max(height, 0);
    pixels_.assign(size_t(width_) * size_t(height_), 0);
}

void ArgbImage::Clear() { std::fill(pixels_.begin(), pixels_.end(), 0u); }

void ArgbImage::Fill(Color color) { std::fill(pixels_.begin(), pixels_.end(), ColorPixel(color)); }

void ArgbImage::Fill(Color color, const AlphaMask& mask) {
    const uint32_t rs = RedOf(color), gs = GreenOf(color), bs = BlueOf(color);
    // Callers pass a mask of the image's size; any other mask is applied
    // where the two overlap, so a mismatch can never read past either.
    const int32_t w = std::min(width_, mask.Width()), h = std::min(height_, mask.Height());
    for (int32_t y = 0; y < h; ++y) {
        uint32_t* p = pixels_.data() + size_t(y) * size_t(width_);
        const uint8_t* m = mask.Bytes() + size_t(y) * size_t(mask.Width());
        if (detail::RowIsClear(m, w)) {
            for (int32_t x = 0; x < w; ++x) p[x] = (p[x] & 0xFF) ? p[x] : 0;
            continue;
        }
        int32_t x = 0;
        while (x < w) {
            // Runs of eight uncovered pixels are common (most of the canvas
            // has no text): only transparent words change there, to 0.
            uint64_t eight;
            if (x + 8 <= w && (std::memcpy(&eight, m + x, 8), eight == 0)) {
                for (int k = 0; k < 8; ++k) p[x + k] = (p[x + k] & 0xFF) ? p[x + k] : 0;
                x += 8;
                continue;
            }
            p[x] = detail::SourceOver(p[x], rs, gs, bs, m[x]);
            ++x;
        }
    }
}

void ArgbImage::CompositeOver(ArgbImage& dest, std::optional<Rect> sourceRegion,
                              std::optional<Rect> destRect) const {
    CopySpan span =
        detail::RegionSpan(sourceRegion, destRect, width_, height_, dest.width_, dest.height_);
    if (span.Empty()) return;
    for (int32_t i = 0; i < span.height; ++i) {
        const uint32_t* s = PixelAddress(span.srcX, span.srcY + i);
        uint32_t* d = &dest.At(span.dstX, span.dstY + i);
        for (int32_t j = 0; j < span.width; ++j) {
            const uint32_t sp = s[j];
            const uint32_t a = sp & 0xFF;
            if (a == 255) {
                d[j] = sp;
            } else if (a == 0) {
                if ((d[j] & 0xFF) == 0) d[j] = 0;
            } else {
                d[j] = detail::SourceOver(d[j], (sp >> 8) & 0xFF, (sp >> 16) & 0xFF, sp >> 24, a);
            }
        }
    }
}

void ArgbImage::CopyAlphaTo(AlphaMask& dest, std::optional<Rect> sourceRegion,
                            std::optional<Rect> destRect) const {
    CopySpan span =
        detail::RegionSpan(sourceRegion, destRect, width_, height_, dest.Width(), dest.Height());
    for (int32_t i = 0; i < span.height; ++i) {
        const uint32_t* s = PixelAddress(span.srcX, span.srcY + i);
        uint8_t* d = &dest.At(span.dstX, span.dstY + i);
        // A plain loop: the compiler packs it into wide moves.
        for (int32_t j = 0; j < span.width; ++j) d[j] = uint8_t(s[j]);
    }
}

void ArgbImage::StretchMiddle(ArgbImage& dest, Rect rect, int32_t column) const {
    if (width_ <= 0) return;
    const int64_t srcW = width_;
    // The stretch column must be a source column; the nearest one is taken.
    const int64_t c = std::clamp<int64_t>(column, 0, srcW - 1);
    const int64_t d = detail::Width64(rect), e = d - srcW;
    const int64_t left = rect.left, top = rect.top;
    // Destination columns that exist: j in [jlo, jhi).
    const int64_t jlo = std::max(int64_t(0), -left), jhi = std::min(d, dest.width_ - left);
    const int64_t rows = std::min(detail::Height64(rect), int64_t(height_));
    const int64_t ilo = std::max(int64_t(0), -top), ihi = std::min(rows, dest.height_ - top);
    if (jhi <= jlo || ihi <= ilo) return;
    // Three runs of j: [0, c) copies column j; [c, c + e] repeats column c;
    // the rest copies column j - e. A narrower rectangle (e < 0) drops the
    // columns after c instead, still reading only source columns.
    const int64_t runA = std::min(c, d), runB = std::max(c + e + 1, c);
    for (int64_t i = ilo; i < ihi; ++i) {
        const uint32_t* s = pixels_.data() + i * srcW;
        uint32_t* o = dest.pixels_.data() + (top + i) * dest.width_ + left;
        int64_t j0 = jlo, j1 = std::min(runA, jhi);
        if (j1 > j0) std::memcpy(o + j0, s + j0, size_t(j1 - j0) * 4);
        j0 = std::max(jlo, c), j1 = std::min(runB, jhi);
        if (j1 > j0) std::fill(o + j0, o + j1, s[c]);
        j0 = std::max(jlo, runB), j1 = jhi;
        if (j1 > j0) std::memcpy(o + j0, s + (j0 - e), size_t(j1 - j0) * 4);
    }
}

void ArgbImage::ReduceInto(ArgbImage& dest, std::optional<Rect> rect) const {
    detail::ReducePixels(reinterpret_cast<const uint8_t*>(pixels_.data()), width_, height_,
                         reinterpret_cast<uint8_t*>(dest.pixels_.data()), dest.width_,
                         dest.height_, 4, rect);
}

void ArgbImage::ShiftHueBrightness(Rect region, int32_t hueSteps, int32_t valueSteps) {
    CopySpan span = detail::ClipSpan(region.left, region.top, region.left, region.top,
                                     detail::Width64(region), detail::Height64(region), width_,
                                     height_, width_, height_);
    // Bodies are mostly runs of a few colours: remember the last conversion.
    uint32_t lastIn = 0, lastOut = 0;
    bool haveLast = false;
    for (int32_t i = 0; i < span.height; ++i) {
        uint32_t* p = &At(span.srcX, span.srcY + i);
        for (int32_t j = 0; j < span.width; ++j) {
            const uint32_t colour = p[j] & 0xFFFFFF00u;
            if (!haveLast || colour != lastIn) {
                Hsv hsv = RgbToHsv(colour);
                int32_t h = hsv.h + hueSteps;
                if (h > kHueCircle) h -= kHueCircle;
                // Only a shift of 4093 or more gets here; the circle closes
                // at 4092, so reduce once more. Anything stranger (a negative
                // shift) is brought into the circle the same way.
                if (h > kHueCircle) h -= kHueCircle;
                if (h < 0 || h > kHueCircle) h = (h % kHueCircle + kHueCircle) % kHueCircle;
                const int32_t v = std::clamp(hsv.v + valueSteps, 0, 1023);
                uint32_t out = 0;
                HsvToRgb(h, hsv.s, v, out);
                lastIn = colour;
                lastOut = out & 0xFFFFFF00u;
                haveLast = true;
            }
            p[j] = lastOut | (p[j] & 0xFF);
        }
    }
}

Rect ArgbImage::Bounds() const { return detail::BoundsOf(pixels_.data(), width_, height_); }

void ArgbImage::DrawOnto(RgbSurface surface, Rect rect) const {
    if (!surface.pixels || surface.stride < surface.width) return;
    CopySpan span = detail::ClipSpan(0, 0, rect.left, rect.top,
                                     std::min(detail::Width64(rect), int64_t(width_)),
                                     std::min(detail::Height64(rect), int64_t(height_)), width_,
                                     height_, surface.width, surface.height);
    for (int32_t i = 0; i < span.height; ++i) {
        const uint32_t* s = PixelAddress(span.srcX, span.srcY + i);
        uint32_t* d = surface.pixels + int64_t(span.dstY + i) * surface.stride + span.dstX;
        for (int32_t j = 0; j < span.width; ++j) {
            const uint32_t a = PixelAlpha(s[j]), ia = 255 - a;
            const uint32_t dr = (d[j] >> 16) & 0xFF, dg = (d[j] >> 8) & 0xFF, db = d[j] & 0xFF;
            const uint32_t r = (dr * ia + PixelRed(s[j]) * a) / 255;
            const uint32_t g = (dg * ia + PixelGreen(s[j]) * a) / 255;
            const uint32_t b = (db * ia + PixelBlue(s[j]) * a) / 255;
            d[j] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
}

}  // namespace tabora
