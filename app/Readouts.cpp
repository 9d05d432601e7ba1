#include "app/Readouts.h"

#include "platform/Fonts.h"
#include "io/ButtonSettings.h"

namespace tabora {

uint32_t FontStyleOfIndex(int index) {
    switch (index) {
    case 1: return kFontBold;
    case 2: return kFontItalic;
    case 3: return kFontBold | kFontItalic;
    default: return kFontRegular;
    }
}

int IndexOfFontStyle(uint32_t fontStyle) {
    switch (fontStyle) {
    case kFontItalic: return 2;
    case kFontBold: return 1;
    case kFontBold | kFontItalic: return 3;
    default: return 0;
    }
}

int32_t PointsOfHeight(int32_t height) { return MulDiv(72, height, -kPixelsPerInch); }

}  // namespace tabora
