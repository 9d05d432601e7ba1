// ReadSettings on arbitrary bytes: the payload of a data block from a file of
// unknown origin. Whatever it reads must be settings the controls could have
// made, must render, and must survive a write and a second read unchanged.
#include "fuzz/FuzzTarget.h"
#include "io/ButtonData.h"
#include "io/ButtonStates.h"
#include "io/MacStream.h"
#include "render/StatePictures.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PtrMacStream stream(data, uint32_t(size), false);
    const ButtonSettings before;
    ButtonSettings s = before;
    if (!ReadSettings(stream, s)) {
        TABORA_FUZZ_CHECK(s == before);
        return 0;
    }
    TABORA_FUZZ_CHECK(s.styleNumber >= 0 && s.styleNumber <= kLastStyleNumber);
    TABORA_FUZZ_CHECK(s.hueShift >= 0 && s.hueShift <= kMaxHueShift);
    TABORA_FUZZ_CHECK(s.brightness >= -kMaxBrightness && s.brightness <= kMaxBrightness);
    TABORA_FUZZ_CHECK(s.buttonSize >= kMinStoredButtonSize && s.buttonSize <= kLargestButtonSize);
    TABORA_FUZZ_CHECK(s.jpegQuality >= 0 && s.jpegQuality <= kMaxJpegQuality);
    TABORA_FUZZ_CHECK(s.caption.size() <= kMaxSettingText && IsValidUtf8(s.caption));
    TABORA_FUZZ_CHECK(s.fontName.size() <= kMaxSettingText && IsValidUtf8(s.fontName));

    // What was read is written as the current version and reads back as is.
    PtrMacStream block;
    WriteSettings(block, s);
    PtrMacStream again(block.Data(), block.Length(), false);
    ButtonSettings copy;
    TABORA_FUZZ_CHECK(ReadSettings(again, copy).has_value());
    TABORA_FUZZ_CHECK(copy == s);

    // An opened button is shown at once: the settings must render.
    TaboraButton button(GetArchive());
    button.ApplySettings(s);
    button.PrepareExport();
    const Rect r = button.exportRect();
    TABORA_FUZZ_CHECK(!r.IsEmpty() && r.Intersect(kCanvasRect) == r);

    // A state table after the settings: whatever it holds reads back as
    // written, and every state renders within the canvas.
    PtrMacStream withStates(data, uint32_t(size), false);
    ButtonSettings normal;
    ButtonStates states;
    TABORA_FUZZ_CHECK(ReadSettings(withStates, normal, states).has_value());
    TABORA_FUZZ_CHECK(normal == s);
    if (!states.AllDefault()) {
        PtrMacStream table;
        WriteSettings(table, normal, states);
        PtrMacStream tableAgain(table.Data(), table.Length(), false);
        ButtonSettings normalAgain;
        ButtonStates statesAgain;
        TABORA_FUZZ_CHECK(ReadSettings(tableAgain, normalAgain, statesAgain).has_value());
        TABORA_FUZZ_CHECK(normalAgain == normal && statesAgain == states);
        StateRenderer renderer(GetArchive());
        const StateSet set = renderer.Render(normal, states, kAllStates, 1, true);
        TABORA_FUZZ_CHECK(!set.rect.IsEmpty() && set.rect.Intersect(kCanvasRect) == set.rect);
    }
    return 0;
}
