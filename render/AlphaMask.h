#pragma once
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/Geometry.h"

namespace tabora {

// An 8-bit coverage image, rows top to bottom without gaps. 0 = none,
// 255 = full.
class AlphaMask {
public:
    AlphaMask() = default;
    AlphaMask(int32_t width, int32_t height) { Allocate(width, height); }

    // Reallocates (contents zero). Negative sizes count as 0.
    void Allocate(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    uint8_t* Bytes() { return bytes_.data(); }
    const uint8_t* Bytes() const { return bytes_.data(); }
    uint8_t& At(int32_t x, int32_t y) { return bytes_[size_t(y) * size_t(width_) + size_t(x)]; }
    uint8_t At(int32_t x, int32_t y) const { return bytes_[size_t(y) * size_t(width_) + size_t(x)]; }

    void Clear();
    // Area-averaging reduction into `rect` of dest (whole dest when absent).
    void ReduceInto(AlphaMask& dest, std::optional<Rect> rect = {}) const;
    // Box blur of radius `radius` with gain num/den, written at `placement`.
    void BlurInto(AlphaMask& dest, int32_t radius, uint32_t num, uint32_t den,
                  std::optional<Rect> placement = {}) const;
    // Bounding box of the non-zero bytes; (1000, 1000, -999, -999) when none.
    Rect Bounds() const;

private:
    std::vector<uint8_t> bytes_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

}  // namespace tabora
