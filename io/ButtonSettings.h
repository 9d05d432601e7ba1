#pragma once
#include <cstdint>
#include <string>

#include "platform/Geometry.h"

namespace tabora {

// The fixed canvas every button is composed on.
constexpr int32_t kCanvasWidth = 174;
constexpr int32_t kCanvasHeight = 74;
constexpr Rect kCanvasRect{0, 0, kCanvasWidth, kCanvasHeight};

// Style numbers of the catalogue run 1..930; 0 is no style.
constexpr int16_t kLastStyleNumber = 930;

// 200 is the style image at its own size; the size slider starts at 20.
constexpr int32_t kNaturalButtonSize = 200;
constexpr int32_t kMinButtonSize = 20;
// Payloads older than 0x0102 carry the size only as a float scale, and 20
// comes back from it as 19. The program writes such a size back exactly, so
// it is a size the settings may hold.
constexpr int32_t kMinStoredButtonSize = 19;
// A widened body never exceeds 166 pixels: the canvas less 4 on each side.
constexpr int32_t kWidestBody = kCanvasWidth - 8;
// The largest size any style can have: a one-pixel style widened to the
// widest body. Each style's own largest is TaboraButton::MaxButtonSize.
constexpr int32_t kLargestButtonSize = kNaturalButtonSize + 2 * kWidestBody;
// Hue slider 0..4096; brightness slider 0..410 shown as -205..+205.
constexpr int32_t kMaxHueShift = 4096;
constexpr int32_t kMaxBrightness = 205;
// The arrow buttons have no limit of their own, but a caption moved further
// than this is off the canvas in either mode whatever its size, and the bound
// keeps offset x 4 and every placement sum far from overflow.
constexpr int32_t kMaxTextOffset = 1000;
// A 300-point character is 400 canvas pixels tall, more than five times the
// canvas: nothing larger can show more than a fragment of one glyph, and the
// bound keeps the glyphs the rasteriser has to draw at four times the size
// to a sensible size. The size list offers at most 48.
constexpr int32_t kMaxFontPoints = 300;
// JPEG quality as the options slider offers it; the library takes 0 as 1.
constexpr int16_t kMaxJpegQuality = 100;
// Text fields hold at most this many bytes of UTF-8 (one length byte in the
// data block).
constexpr size_t kMaxSettingText = 255;

// Font style values as the style list writes them: regular 0x40, bold 0x20,
// italic 0x01. Rendering looks only at the bold and italic bits; stored data
// reads regular back as 0.
constexpr uint32_t kFontRegular = 0x40, kFontBold = 0x20, kFontItalic = 0x01;

// Everything the user chooses for one button.
struct ButtonSettings {
    int16_t styleNumber = 0;  // 0 = no style
    Color backgroundColor = 0xFFFFFF;
    int32_t buttonSize = kNaturalButtonSize;
    int32_t hueShift = 0;
    int32_t brightness = 0;
    bool shadow = true;
    bool antialias = false;
    bool textShadow = true;
    std::string fontName = "Arial";  // UTF-8, at most 255 bytes
    int16_t fontSize = 12;           // points; negative = a raster font's cell height
    uint32_t fontStyle = kFontRegular;
    std::string caption;  // UTF-8, at most 255 bytes
    Point textOffset;     // canvas pixels from the centred place
    Color textColor = 0xFFFFFF;
    bool removeBackground = false;
    bool includeShadowArea = false;
    int16_t jpegQuality = kMaxJpegQuality;
    // Export choices that no stored file carries (a file of any payload
    // version opens leaving them as they are): the smallest exact file for
    // the formats that can make one, and a lossy WebP at jpegQuality instead
    // of a lossless one.
    bool optimize = false;
    bool lossy = false;

    friend bool operator==(const ButtonSettings&, const ButtonSettings&) = default;
};

}  // namespace tabora
