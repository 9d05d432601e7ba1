#include "io/CDib.h"

#include <bit>
#include <cstring>

#include "platform/Resources.h"

namespace tabora {

// The header is copied to and from memory as it lies: the format is
// little-endian and so is every machine we build for.
static_assert(std::endian::native == std::endian::little);

namespace {

constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kFileHeaderSize = 14;

bool KnownBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Row size in bytes, in 64 bits so that a hostile width cannot wrap it.
uint64_t RowBytes64(int32_t width, uint32_t bitCount) {
    if (width < 0) return 0;
    return (uint64_t(bitCount) * uint64_t(width) + 31) / 32 * 4;
}

void Put16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i));
}

}  // namespace

CDib::CDib(int32_t width, int32_t height, int32_t bitCount) {
    SetColorEntries(uint32_t(bitCount));
    header_ = BitmapInfoHeader{};
    header_.width = width;
    header_.height = height;
    header_.bitCount = uint16_t(bitCount);
    header_.clrUsed = header_.clrImportant = uint32_t(colorEntries_);
    hasHeader_ = true;
    ownTable_.assign(size_t(colorEntries_) * 4, 0);
    colorTable_ = ownTable_.data();
    ComputeMetrics();
}

void CDib::SetColorEntries(uint32_t bitCount) {
    if (hasHeader_ && header_.clrUsed != 0) {
        // A hostile count is caught by the block-size check of AttachMemory.
        colorEntries_ = header_.clrUsed > uint32_t(INT32_MAX) ? -1 : int32_t(header_.clrUsed);
        return;
    }
    switch (bitCount) {
    case 1: colorEntries_ = 2; break;
    case 4: colorEntries_ = 16; break;
    case 8: colorEntries_ = 256; break;
    case 16:
    case 24:
    case 32: colorEntries_ = 0; break;
    default: break;  // left as it was
    }
}

bool CDib::ComputeMetrics() {
    imageSize_ = 0;
    if (header_.size != kInfoHeaderSize) return false;
    if (header_.width < 0 || header_.height < 0) return false;  // top-down rows: not ours
    uint64_t needed = RowBytes64(header_.width, header_.bitCount) * uint64_t(header_.height);
    uint64_t size = header_.sizeImage != 0 ? header_.sizeImage : needed;
    if (size > kMaxImageBytes || needed > kMaxImageBytes) return false;
    // Plain rows must all be there, whatever the size field claims.
    if (header_.compression == 0 && size < needed) return false;
    imageSize_ = uint32_t(size);
    return true;
}

DibSize CDib::GetDimensions() const {
    if (!hasHeader_) return {};
    return {header_.width, header_.height};
}

uint32_t CDib::GetRowBytes() const {
    if (!hasHeader_) return 0;
    uint64_t row = RowBytes64(header_.width, header_.bitCount);
    return row > kMaxImageBytes ? 0 : uint32_t(row);
}

bool CDib::AllocateImage() {
    if (!hasHeader_ || header_.width < 0 || header_.height < 0) return false;
    uint64_t size = RowBytes64(header_.width, header_.bitCount) * uint64_t(header_.height);
    if (size > kMaxImageBytes) return false;
    ownBits_.reset();
    imageSize_ = uint32_t(size);
    header_.sizeImage = imageSize_;
    // Zeroed: a bitmap written before every row was filled must not leak
    // whatever the heap held.
    ownBits_.reset(new uint8_t[size_t(size)]());
    bits_ = ownBits_.get();
    bitsWritable_ = true;
    return true;
}

bool CDib::AttachMemory(const void* packed, size_t size, bool mustDelete) {
    Empty();
    const auto* block = static_cast<const uint8_t*>(packed);
    if (mustDelete) adoptedBlock_.reset(block);
    bool ok = block && size >= kInfoHeaderSize;
    if (ok) {
        std::memcpy(&header_, block, kInfoHeaderSize);
        hasHeader_ = true;
        SetColorEntries(header_.bitCount);
        ok = colorEntries_ >= 0 && KnownBitCount(header_.bitCount) && ComputeMetrics();
    }
    uint64_t tableBytes = ok ? uint64_t(colorEntries_) * 4 : 0;
    if (ok && kInfoHeaderSize + tableBytes + imageSize_ > size) ok = false;
    if (!ok) {
        Empty();
        return false;
    }
    colorTable_ = block + kInfoHeaderSize;
    bits_ = block + kInfoHeaderSize + tableBytes;
    bitsWritable_ = mustDelete;
    MakePalette();
    return true;
}

bool CDib::AttachResource(std::string_view name) {
    ResourceBytes bytes = Resources().FindBitmap(name);
    if (bytes.empty()) {
        Empty();
        return false;
    }
    return AttachMemory(bytes.data(), bytes.size(), false);
}

bool CDib::MakePalette() {
    if (colorEntries_ <= 0 || !colorTable_) return false;
    palette_.clear();
    palette_.reserve(size_t(colorEntries_));
    for (int32_t i = 0; i < colorEntries_; ++i) {
        const uint8_t* e = colorTable_ + 4 * size_t(i);
        palette_.push_back({e[2], e[1], e[0], 0});
    }
    return true;
}

bool CDib::Write(MacStream& out, const uint8_t* extra, int16_t extraLength) const {
    if (!hasHeader_ || !bits_ || colorEntries_ < 0) return false;
    const uint32_t extraBytes = extra && extraLength > 0 ? uint32_t(extraLength) : 0;
    const uint32_t tableBytes = uint32_t(colorEntries_) * 4;
    const uint32_t offset = kFileHeaderSize + kInfoHeaderSize + tableBytes + extraBytes;

    uint8_t fileHeader[kFileHeaderSize] = {'B', 'M'};
    Put32(fileHeader + 2, offset + imageSize_);
    Put16(fileHeader + 6, 0);
    Put16(fileHeader + 8, 0);
    Put32(fileHeader + 10, offset);
    out.Write(fileHeader, kFileHeaderSize);

    std::vector<uint8_t> info(kInfoHeaderSize + tableBytes);
    std::memcpy(info.data(), &header_, kInfoHeaderSize);
    if (tableBytes) std::memcpy(info.data() + kInfoHeaderSize, colorTable_, tableBytes);
    out.Write(info.data(), uint32_t(info.size()));

    // Always four writes; an absent block is a write of nothing.
    out.Write(extraBytes ? extra : fileHeader, extraBytes);
    out.Write(bits_, imageSize_);
    return true;
}

void CDib::Empty() {
    colorTable_ = nullptr;
    bits_ = nullptr;
    header_ = BitmapInfoHeader{};
    hasHeader_ = false;
    bitsWritable_ = false;
    adoptedBlock_.reset();
    ownBits_.reset();
    ownTable_.clear();
    imageSize_ = 0;
    colorEntries_ = 0;
    palette_.clear();
}

}  // namespace tabora
