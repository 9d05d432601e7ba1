#pragma once
#include <map>
#include <memory>
#include <utility>

#include "render/ButtonStyle.h"

namespace tabora::test {

// Styles of a test's own making under numbers it chooses, handed to a button
// as its style source; a number the test did not fill is asked of
// `fallback` (the catalogue) when there is one. A button takes them through
// SetStyleNumber, as it takes any style.
class TestStyles : public StyleSource {
public:
    explicit TestStyles(const StyleSource* fallback = nullptr) : fallback_(fallback) {}

    // Puts a style under number n (1..930) and returns n.
    int16_t Put(int16_t n, ButtonStyle style) {
        styles_[n] = std::move(style);
        return n;
    }

    std::unique_ptr<ButtonStyle> Load(int32_t styleNumber) const override {
        auto it = styles_.find(styleNumber);
        if (it != styles_.end()) return std::make_unique<ButtonStyle>(it->second);
        return fallback_ ? fallback_->Load(styleNumber) : nullptr;
    }

    // A test's own style at k x is its picture with each pixel made a k x k
    // block, so a reduction by k gives the 1x picture back exactly.
    std::unique_ptr<ButtonStyle> LoadScaled(int32_t styleNumber, int scale) const override {
        auto it = styles_.find(styleNumber);
        if (it == styles_.end())
            return fallback_ ? fallback_->LoadScaled(styleNumber, scale) : nullptr;
        const ButtonStyle& one = it->second;
        auto style = std::make_unique<ButtonStyle>(one);
        style->image.Allocate(one.image.Width() * scale, one.image.Height() * scale);
        for (int32_t y = 0; y < style->image.Height(); ++y)
            for (int32_t x = 0; x < style->image.Width(); ++x)
                style->image.At(x, y) = one.image.At(x / scale, y / scale);
        if (one.stretchColumn >= 0) style->stretchColumn = int16_t(one.stretchColumn * scale);
        return style;
    }

private:
    const StyleSource* fallback_;
    std::map<int32_t, ButtonStyle> styles_;
};

}  // namespace tabora::test
