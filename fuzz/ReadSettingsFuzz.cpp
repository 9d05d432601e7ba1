// ReadSettings on arbitrary bytes: the payload of a data block from a file of
// unknown origin. Whatever it reads must be settings the controls could have
// made, must render, and must survive a write and a second read unchanged.
#include "fuzz/FuzzTarget.h"
#include "io/ButtonData.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::QuietDialogs quiet;
    PtrMacStream stream(data, uint32_t(size), false);
    TaboraButton button;
    const ButtonSettings before = button.settings();
    if (!button.ReadSettings(stream)) {
        TABORA_FUZZ_CHECK(button.settings() == before);
        return 0;
    }
    const ButtonSettings& s = button.settings();
    TABORA_FUZZ_CHECK(s.hueShift >= 0 && s.hueShift <= kMaxHueShift);
    TABORA_FUZZ_CHECK(s.brightness >= -kMaxBrightness && s.brightness <= kMaxBrightness);
    TABORA_FUZZ_CHECK(s.buttonSize >= 1);
    TABORA_FUZZ_CHECK(s.jpegQuality >= 0 && s.jpegQuality <= 100);
    TABORA_FUZZ_CHECK(s.caption.size() <= kMaxSettingText && IsValidUtf8(s.caption));
    TABORA_FUZZ_CHECK(s.fontName.size() <= kMaxSettingText && IsValidUtf8(s.fontName));
    TABORA_FUZZ_CHECK(button.validLayers() == 0);

    // What was read is written as the current version and reads back as is.
    PtrMacStream block;
    button.WriteSettings(block);
    PtrMacStream again(block.Data(), block.Length(), false);
    TaboraButton copy;
    TABORA_FUZZ_CHECK(copy.ReadSettings(again));
    TABORA_FUZZ_CHECK(copy.settings() == s);

    // An opened button is shown at once: the settings must render.
    button.PrepareExport();
    const Rect r = button.exportRect();
    TABORA_FUZZ_CHECK(!r.IsEmpty() && r.Intersect(kCanvasRect) == r);
    return 0;
}
