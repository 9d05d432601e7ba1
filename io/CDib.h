#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "io/MacStream.h"

namespace tabora {

// The 40-byte bitmap info header of a device-independent bitmap, as laid out
// in files and packed resources (little-endian; this is a little-endian
// machine, which the static_assert below and CDib.cpp check).
struct BitmapInfoHeader {
    uint32_t size = 40;
    int32_t width = 0;
    int32_t height = 0;  // rows are stored bottom-up
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;  // 0: plain rows
    uint32_t sizeImage = 0;    // 0: row size x height
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t clrUsed = 0;
    uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

struct PaletteEntry {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    uint8_t flags = 0;
};

struct DibSize {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const DibSize&, const DibSize&) = default;
};

// A device-independent bitmap: info header, optional colour table (4 bytes
// per entry: blue, green, red, 0) and bottom-up rows padded to 4 bytes. It
// either owns its pixels (AllocateImage) or views a packed block in place
// (AttachMemory, AttachResource).
class CDib {
public:
    // Anything larger is refused: our biggest bitmap is the archive strip
    // (196 x 1200 x 3 bytes); 256 MiB keeps every size sum far from 32 bits.
    static constexpr uint64_t kMaxImageBytes = 256u << 20;

    CDib() = default;
    // Header and zeroed colour table; no pixels until AllocateImage.
    CDib(int32_t width, int32_t height, int32_t bitCount);
    ~CDib() { Empty(); }
    CDib(const CDib&) = delete;
    CDib& operator=(const CDib&) = delete;

    DibSize GetDimensions() const;
    uint32_t GetRowBytes() const;
    // Owned, zeroed pixels of row size x height bytes. False (no pixels) when
    // there is no header or the size is negative or beyond kMaxImageBytes.
    bool AllocateImage();
    // Views a packed bitmap of `size` bytes in place. mustDelete hands over
    // a block allocated with new uint8_t[]. False when the header is not a
    // 40-byte info header or the block is too small for header, colour table
    // and pixels; the object is then empty (and a handed-over block has been
    // freed). The desktop application tells the user "AttachMemory error".
    bool AttachMemory(const void* packed, size_t size, bool mustDelete);
    // The named bitmap resource; false when there is none or it is unreadable.
    bool AttachResource(std::string_view name);
    // One entry per colour-table entry; false without colour entries.
    bool MakePalette();
    // The BMP file: file header, info header and colour table, the extra
    // block, the pixels (four writes). False, writing nothing, when there is
    // no header or no pixels.
    bool Write(MacStream& out, const uint8_t* extra, int16_t extraLength) const;
    void Empty();

    // Null when empty. The header of an attached block is a copy (resources
    // may sit at any alignment); the colour table and pixels are in place.
    BitmapInfoHeader* Header() { return hasHeader_ ? &header_ : nullptr; }
    const BitmapInfoHeader* Header() const { return hasHeader_ ? &header_ : nullptr; }
    // The first byte of the bottom row. The writable form is null for a
    // read-only view (an attached block not handed over, e.g. a resource).
    uint8_t* Bits() { return bitsWritable_ ? const_cast<uint8_t*>(bits_) : nullptr; }
    const uint8_t* Bits() const { return bits_; }
    const uint8_t* ColorTable() const { return colorTable_; }
    uint32_t ImageSize() const { return imageSize_; }
    int32_t ColorEntries() const { return colorEntries_; }
    const std::vector<PaletteEntry>& Palette() const { return palette_; }

private:
    bool ComputeMetrics();
    void SetColorEntries(uint32_t bitCount);

    const uint8_t* colorTable_ = nullptr;
    const uint8_t* bits_ = nullptr;
    BitmapInfoHeader header_;
    bool hasHeader_ = false;
    bool bitsWritable_ = false;
    std::unique_ptr<const uint8_t[]> adoptedBlock_;  // a block handed over by AttachMemory
    std::unique_ptr<uint8_t[]> ownBits_;             // pixels from AllocateImage
    std::vector<uint8_t> ownTable_;                  // colour table of a constructed bitmap
    uint32_t imageSize_ = 0;
    int32_t colorEntries_ = 0;
    std::vector<PaletteEntry> palette_;
};

}  // namespace tabora
