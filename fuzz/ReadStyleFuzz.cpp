// The style loader on arbitrary resource bytes. A style it accepts must fit
// the canvas and render at every size the slider offers.
#include "fuzz/FuzzTarget.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PtrMacStream stream(data, uint32_t(size), false);
    std::unique_ptr<ButtonStyle> style = Archive::ReadStyle(stream);
    if (!style) return 0;
    const int32_t w = style->image.Width(), h = style->image.Height();
    TABORA_FUZZ_CHECK(w >= 1 && w <= Archive::kMaxStyleWidth);
    TABORA_FUZZ_CHECK(h >= 1 && h <= Archive::kMaxStyleHeight);
    TABORA_FUZZ_CHECK(style->stretchColumn >= -1 && style->stretchColumn < w);
    TABORA_FUZZ_CHECK(style->defaultStretch >= 0 && w + style->defaultStretch <= Archive::kMaxStyleWidth);

    // The button takes the style as it takes any: through a style source.
    struct OneStyle : StyleSource {
        ButtonStyle style;
        std::unique_ptr<ButtonStyle> Load(int32_t) const override {
            return std::make_unique<ButtonStyle>(style);
        }
    } source;
    source.style = std::move(*style);
    TaboraButton button(source);
    button.SetStyleNumber(1);
    // The smallest, the style's own and the largest size.
    for (int32_t size : {kMinButtonSize, button.DefaultButtonSize(), 200 + 2 * button.MaxExtraWidth()}) {
        button.SetButtonSize(size);
        button.PrepareExport();
        const Rect r = button.exportRect();
        TABORA_FUZZ_CHECK(!r.IsEmpty() && r.Intersect(kCanvasRect) == r);
    }
    return 0;
}
