// Loading images from the bitmap resources (packed device-independent
// bitmaps: info header, colour table, bottom-up rows).
#include <algorithm>
#include <utility>

#include "io/CDib.h"
#include "platform/Resources.h"
#include "render/ArgbImage.h"

namespace tabora {

namespace {

// The blue, green and red bytes of pixel x of a bitmap row. Palette bitmaps
// (1, 4, 8 bits) look their index up in the colour table; an index past its
// end reads as black. Other depths than these are refused by CanConvert.
struct RowReader {
    const CDib& dib;
    uint32_t bitCount = dib.Header()->bitCount;

    void Get(const uint8_t* row, int32_t x, uint8_t bgr[3]) const {
        if (bitCount == 24 || bitCount == 32) {
            const uint8_t* p = row + size_t(x) * (bitCount / 8);
            bgr[0] = p[0], bgr[1] = p[1], bgr[2] = p[2];
            return;
        }
        const size_t bit = size_t(x) * bitCount;
        const uint32_t shift = 8 - bitCount - uint32_t(bit % 8);
        const uint32_t index = (row[bit / 8] >> shift) & ((1u << bitCount) - 1);
        if (index >= uint32_t(dib.ColorEntries())) {
            bgr[0] = bgr[1] = bgr[2] = 0;
            return;
        }
        const uint8_t* e = dib.ColorTable() + 4 * size_t(index);
        bgr[0] = e[0], bgr[1] = e[1], bgr[2] = e[2];
    }
};

// Attaches the named bitmap in place.
ArgbImage::Load Attach(CDib& dib, std::string_view name) {
    ResourceBytes bytes = Resources().FindBitmap(name);
    if (bytes.empty()) return ArgbImage::Load::Missing;
    if (!dib.AttachMemory(bytes.data(), bytes.size(), false)) return ArgbImage::Load::Refused;
    return ArgbImage::Load::Loaded;
}

bool CanConvert(const CDib& dib) {
    const BitmapInfoHeader* h = dib.Header();
    if (!h || h->compression != 0 || h->width <= 0 || h->height <= 0) return false;
    const uint32_t b = h->bitCount;
    return b == 1 || b == 4 || b == 8 || b == 24 || b == 32;
}

}  // namespace

ArgbImage::Load ArgbImage::LoadFromResource(std::string_view name, bool greyAsAlpha) {
    Allocate(0, 0);
    CDib dib;
    if (const Load load = Attach(dib, name); load != Load::Loaded) return load;
    if (!CanConvert(dib)) return Load::Unconverted;
    const DibSize size = dib.GetDimensions();
    Allocate(size.width, size.height);
    const RowReader reader{dib};
    const uint32_t rowBytes = dib.GetRowBytes();
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t* row = std::as_const(dib).Bits() + size_t(height_ - 1 - y) * rowBytes;
        uint32_t* out = &At(0, y);
        for (int32_t x = 0; x < width_; ++x) {
            uint8_t bgr[3];
            reader.Get(row, x, bgr);
            // A grey picture in which black means opaque.
            const uint8_t alpha = greyAsAlpha ? uint8_t(255 - bgr[0]) : 255;
            out[x] = MakePixel(alpha, bgr[2], bgr[1], bgr[0]);
        }
    }
    return Load::Loaded;
}

ArgbImage::Load ArgbImage::LoadFromResources(std::string_view colorName, std::string_view maskName) {
    if (const Load load = LoadFromResource(colorName, false); load != Load::Loaded) return load;
    CDib mask;
    Load load = Attach(mask, maskName);
    if (load == Load::Loaded && !CanConvert(mask)) load = Load::Unconverted;
    if (load != Load::Loaded) {
        Allocate(0, 0);
        return load;
    }
    // The mask is used at the colour picture's size: where it is smaller the
    // rest is transparent.
    const DibSize size = mask.GetDimensions();
    const int32_t w = std::min(width_, size.width), h = std::min(height_, size.height);
    const RowReader reader{mask};
    const uint32_t rowBytes = mask.GetRowBytes();
    for (int32_t y = 0; y < height_; ++y) {
        uint32_t* out = &At(0, y);
        for (int32_t x = 0; x < width_; ++x) {
            uint8_t alpha = 0;
            if (y < h && x < w) {
                uint8_t bgr[3];
                reader.Get(std::as_const(mask).Bits() + size_t(size.height - 1 - y) * rowBytes, x, bgr);
                alpha = uint8_t(255 - bgr[0]);
            }
            out[x] = (out[x] & 0xFFFFFF00u) | alpha;
        }
    }
    return Load::Loaded;
}

}  // namespace tabora
