#pragma once
// Settings for tests, away from the defaults in almost every field. The
// committed files of older versions carry these (tests/data/payloads), so
// they stay as they are.
#include "io/ButtonSettings.h"

namespace tabora::test {

inline ButtonSettings SampleSettings() {
    ButtonSettings s;
    s.styleNumber = 12;
    s.backgroundColor = MakeColor(0xF0, 0xE8, 0xD0);
    s.buttonSize = 240;
    s.hueShift = 1500;
    s.brightness = -40;
    s.shadow = false;
    s.antialias = true;
    s.textShadow = true;
    s.fontName = "Arial";
    s.fontSize = 14;
    s.fontStyle = kFontBold;
    s.caption = "Old file";
    s.textOffset = {2, -1};
    s.textColor = MakeColor(20, 20, 90);
    s.removeBackground = true;
    s.includeShadowArea = true;
    s.jpegQuality = 60;
    return s;
}

}  // namespace tabora::test
