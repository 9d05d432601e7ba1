#pragma once
// What the tests of the smaller files share: buttons of several families,
// and one decoder for every format that keeps its pixels exactly.
#include <png.h>
#include <webp/decode.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/ButtonFile.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"

namespace tabora::test {

// How many designs DesignForSmallFiles knows.
constexpr int kSmallFileDesigns = 4;

// The n-th catalogue style with data, counting from `from`: styles far apart
// in the catalogue are of different families.
inline int16_t StyleFrom(int32_t from) {
    for (int32_t n = from; n <= Archive::kEntryCount; ++n) {
        if (GetArchive().HasStyleData(n)) return int16_t(n);
    }
    return 0;
}

// Buttons of different families and looks: a plain one, a large
// antialiased one without shadow, a tinted one with a caption shadow and
// few colours, and one with no style at all.
inline void DesignForSmallFiles(TaboraButton& b, int which, bool removeBackground) {
    static const int32_t kFrom[kSmallFileDesigns] = {1, 300, 650, 0};
    b.SetStyleNumber(kFrom[which] ? StyleFrom(kFrom[which]) : 0);
    b.SetFontName("DejaVu Sans");
    b.SetCaption(which == 3 ? "" : "Products");
    // Regular comes back from a file as no style bits at all.
    b.SetFontStyle(which == 2 ? kFontBold | kFontItalic : kFontBold);
    b.SetAntialias(which == 1);
    b.SetShadow(which != 1);
    b.SetHueShift(which == 2 ? 1800 : 0);
    if (which == 1) b.SetButtonSize(b.MaxButtonSize());
    b.SetRemoveBackground(removeBackground);
    b.SetJpegQuality(int16_t(70 + 10 * which));
}

inline Bytes ExportAs(TaboraButton& b, const FormatEntry& format) {
    PtrMacStream out;
    ExportButton(b, format, out);
    return BytesOf(out);
}

// A PNG of any colour type and depth expanded to 8-bit RGBA through
// libpng's own transforms, with no colour conversion of any kind.
inline bool DecodePngExactly(const Bytes& file, int32_t& w, int32_t& h, Bytes& rgba) {
    struct Source {
        const Bytes* file;
        size_t at;
    } source{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    std::vector<png_bytep> rows;
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &source, [](png_structp p, png_bytep data, png_size_t length) {
        auto* s = static_cast<Source*>(png_get_io_ptr(p));
        if (s->at + length > s->file->size()) png_error(p, "short");
        std::memcpy(data, s->file->data() + s->at, length);
        s->at += length;
    });
    png_read_info(png, info);
    png_set_expand(png);  // palette to RGB, small depths to 8, tRNS to alpha
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(png, info);
    w = int32_t(png_get_image_width(png, info));
    h = int32_t(png_get_image_height(png, info));
    rgba.assign(size_t(w) * size_t(h) * 4, 0);
    for (int32_t y = 0; y < h; ++y) rows.push_back(rgba.data() + size_t(y) * size_t(w) * 4);
    png_read_image(png, rows.data());
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

struct Decoded {
    bool ok = false;
    int32_t w = 0, h = 0;
    Bytes rgba;  // 4 bytes a pixel; a JPEG's alpha is 255
};

// Decodes a PNG, a WebP or a JPEG by its first bytes.
inline Decoded DecodeAny(const Bytes& file) {
    Decoded d;
    if (file.size() >= 4 && std::memcmp(file.data(), "RIFF", 4) == 0) {
        int w = 0, h = 0;
        uint8_t* pixels = WebPDecodeRGBA(file.data(), file.size(), &w, &h);
        if (!pixels) return d;
        d.rgba.assign(pixels, pixels + size_t(w) * size_t(h) * 4);
        WebPFree(pixels);
        d.w = w;
        d.h = h;
        d.ok = true;
    } else if (file.size() >= 2 && file[0] == 0xFF && file[1] == 0xD8) {
        Bytes rgb;
        d.ok = DecodeJpeg(file, d.w, d.h, rgb);
        for (size_t i = 0; i + 2 < rgb.size(); i += 3)
            d.rgba.insert(d.rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    } else {
        d.ok = DecodePngExactly(file, d.w, d.h, d.rgba);
    }
    return d;
}

}  // namespace tabora::test
