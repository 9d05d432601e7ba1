#pragma once
#include <algorithm>
#include <cstdint>

namespace tabora {

// A colour as the colour controls deliver it: red in bits 0-7, green in
// 8-15, blue in 16-23, the top byte zero.
using Color = uint32_t;

constexpr Color MakeColor(uint8_t red, uint8_t green, uint8_t blue) {
    return Color(red) | (Color(green) << 8) | (Color(blue) << 16);
}
constexpr uint8_t RedOf(Color c) { return uint8_t(c & 0xFF); }
constexpr uint8_t GreenOf(Color c) { return uint8_t((c >> 8) & 0xFF); }
constexpr uint8_t BlueOf(Color c) { return uint8_t((c >> 16) & 0xFF); }

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// Right and bottom are exclusive.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(int32_t x, int32_t y) const {
        return left <= x && x < right && top <= y && y < bottom;
    }
    constexpr Rect Offset(int32_t dx, int32_t dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr Rect Inflate(int32_t dx, int32_t dy) const {
        return {left - dx, top - dy, right + dx, bottom + dy};
    }
    // An empty rectangle takes no part in a union.
    constexpr Rect Union(const Rect& o) const {
        if (o.IsEmpty()) return *this;
        if (IsEmpty()) return o;
        return {std::min(left, o.left), std::min(top, o.top),
                std::max(right, o.right), std::max(bottom, o.bottom)};
    }
    // The empty result is normalised to (0, 0, 0, 0).
    constexpr Rect Intersect(const Rect& o) const {
        Rect r{std::max(left, o.left), std::max(top, o.top),
               std::min(right, o.right), std::min(bottom, o.bottom)};
        return r.IsEmpty() ? Rect{} : r;
    }
    friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace tabora
