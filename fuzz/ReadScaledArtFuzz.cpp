// The readers of the art drawn at 2x and 3x on arbitrary resource bytes, each
// input read as a style and as an interface picture at both scales. What a
// reader accepts must have a 1x twin on the CSS pixel grid and fit its limits.
#include "fuzz/FuzzTarget.h"
#include "styles/ScaledArt.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> bytes(data, size);
    for (int scale : {2, 3}) {
        if (auto style = ReadScaledStyle(bytes, scale)) {
            const int32_t w = style->image.Width(), h = style->image.Height();
            TABORA_FUZZ_CHECK(w % scale == 0 && h % scale == 0);
            TABORA_FUZZ_CHECK(w >= scale && w <= Archive::kMaxStyleWidth * scale);
            TABORA_FUZZ_CHECK(h >= scale && h <= Archive::kMaxStyleHeight * scale);
            const int32_t c = style->stretchColumn;
            TABORA_FUZZ_CHECK(c == -1 || (c >= 0 && c % scale == 0 && c + scale <= w));
            TABORA_FUZZ_CHECK(style->defaultStretch >= 0 &&
                              w / scale + style->defaultStretch <= Archive::kMaxStyleWidth);
        }
        ArgbImage picture;
        if (ReadScaledPicture(bytes, scale, picture)) {
            const int32_t w = picture.Width(), h = picture.Height();
            TABORA_FUZZ_CHECK(w % scale == 0 && h % scale == 0 && w >= scale && h >= scale);
            TABORA_FUZZ_CHECK(w <= kMaxPictureSide * scale && h <= kMaxPictureSide * scale);
        } else {
            TABORA_FUZZ_CHECK(picture.Width() == 0 && picture.Height() == 0);
        }
    }
    return 0;
}
