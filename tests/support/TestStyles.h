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

private:
    const StyleSource* fallback_;
    std::map<int32_t, ButtonStyle> styles_;
};

}  // namespace tabora::test
