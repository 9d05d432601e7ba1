// The files committed under tests/data: buttons as older versions of the
// program saved them, and pictures laid out the way other programs write
// them, some carrying a button's settings. They are written by the code
// below (never copied from elsewhere); the tests open the committed bytes.
// To write them again:
//   TABORA_WRITE_FIXTURES=tests/data build/tests/tabora_tests --gtest_filter='Fixtures.*'
#include "tests/imaging/FixtureFiles.h"

#include <gif_lib.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <jpeglib.h>

#include "imaging/Formats.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "platform/File.h"
#include "render/TaboraButton.h"
#include "tests/support/SampleSettings.h"
#include "tests/support/TestStyles.h"

namespace tabora::test {

namespace {

namespace fs = std::filesystem;

void Save(const std::string& path, const Bytes& bytes) {
    fs::create_directories(fs::path(path).parent_path());
    WriteWholeFile(path, bytes.data(), bytes.size());
}

Bytes Payload(const ButtonSettings& settings) {
    PtrMacStream out;
    WriteSettings(out, settings);
    return BytesOf(out);
}

// The payload as a writer of `version` produced it: the same fields, ended
// where that version ended, the size only as the scale before 0x0102.
Bytes OlderPayload(const ButtonSettings& settings, int16_t version) {
    Bytes payload = Payload(settings);
    const size_t dropped = version == kPayloadFirstVersion    ? 12
                           : version == kPayloadExportOptions ? 6
                                                              : 2;
    payload.erase(payload.end() - std::ptrdiff_t(dropped), payload.end());
    payload[0] = uint8_t(version >> 8);
    payload[1] = uint8_t(version);
    return payload;
}

// A plain picture to carry a block: a body without a caption, so writing
// the files again needs no font.
struct Picture {
    ArgbImage shown;
    ArgbImage layers;
    Rect rect;
};
Picture PlainPicture() {
    TestStyles styles;
    ButtonStyle style;
    style.image.Allocate(40, 16);
    style.image.Fill(MakeColor(40, 110, 200));
    styles.Put(1, std::move(style));
    TaboraButton button(styles);
    button.SetStyleNumber(1);
    button.PrepareExport();
    Picture picture;
    picture.shown = button.canvas();
    button.ComposeLayers(picture.layers);
    picture.rect = button.exportRect();
    return picture;
}

// ---- PNG: libpng, as a paint program writes it ----

// A palette picture, interlaced, with gamma, colour space and resolution
// chunks and the image data in many small chunks; the given text chunks.
Bytes PaintProgramPng(const std::vector<std::pair<std::string, std::string>>& texts) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    WritePngInto(png, &out);
    png_set_compression_buffer_size(png, 64);
    const int w = 24, h = 12;
    png_set_IHDR(png, info, w, h, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_ADAM7,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[4] = {{255, 255, 255}, {40, 110, 200}, {0, 0, 0}, {250, 200, 0}};
    png_set_PLTE(png, info, palette, 4);
    png_set_gAMA(png, info, 1.0 / 2.2);
    png_set_sRGB(png, info, PNG_sRGB_INTENT_PERCEPTUAL);
    png_set_pHYs(png, info, 2835, 2835, PNG_RESOLUTION_METER);
    SetPngTexts(png, info, texts);
    png_write_info(png, info);
    const int passes = png_set_interlace_handling(png);
    std::vector<uint8_t> row(w);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) row[size_t(x)] = uint8_t((x / 6 + y / 4) % 4);
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

// ---- GIF: giflib, as an animation program writes it ----

int GifToBytes(GifFileType* gif, const GifByteType* data, int count) {
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + count);
    return count;
}

void PutComment(GifFileType* gif, const std::string& text) {
    EGifPutExtensionLeader(gif, COMMENT_EXT_FUNC_CODE);
    for (size_t at = 0; at < text.size(); at += 255) {
        const std::string part = text.substr(at, 255);
        EGifPutExtensionBlock(gif, int(part.size()), part.data());
    }
    EGifPutExtensionTrailer(gif);
}

void PutLoop(GifFileType* gif) {
    const char application[] = "NETSCAPE2.0";
    const uint8_t loop[3] = {1, 0, 0};  // loop for ever
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, application);
    EGifPutExtensionBlock(gif, 3, loop);
    EGifPutExtensionTrailer(gif);
}

// Two frames with their own colour tables and a delay each, the first
// interlaced; the comment first, second or not at all.
enum class CommentPlace { First, Second, None };
Bytes AnimationGif(const std::string& comment, CommentPlace place, bool version89) {
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, GifToBytes, &error);
    EGifSetGifVersion(gif, version89);
    GifColorType colours[4] = {{255, 255, 255}, {200, 40, 40}, {0, 0, 0}, {40, 200, 40}};
    ColorMapObject* global = GifMakeMapObject(4, colours);
    const int w = 16, h = 8;
    EGifPutScreenDesc(gif, w, h, 2, 0, global);
    if (place == CommentPlace::First) PutComment(gif, comment);
    if (version89) PutLoop(gif);
    if (place == CommentPlace::Second) PutComment(gif, comment);
    for (int frame = 0; frame < 2; ++frame) {
        if (version89) {
            const uint8_t control[4] = {0x04, 10, 0, 0};  // keep, 0.1 s
            EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
        }
        ColorMapObject* local = GifMakeMapObject(4, colours);
        EGifPutImageDesc(gif, 0, 0, w, h, frame == 0, local);
        GifFreeMapObject(local);
        std::vector<GifPixelType> line(w);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) line[size_t(x)] = GifPixelType((x + y + frame) % 4);
            EGifPutLine(gif, line.data(), w);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(global);
    return out;
}

// ---- JPEG: libjpeg, as a camera and a photo editor write it ----

Bytes Marker(const char* text, size_t size) {
    return Bytes(reinterpret_cast<const uint8_t*>(text), reinterpret_cast<const uint8_t*>(text) + size);
}

// Progressive, with Exif, a colour profile marker, an editor's own APP12
// ("Ducky") and APP13, and `ourBlock` as one more APP12 when given.
Bytes EditorJpeg(const Bytes& ourBlock) {
    JpegRecipe recipe;
    recipe.width = 24;
    recipe.height = 16;
    recipe.quality = 85;
    recipe.progressive = true;
    recipe.gradient = true;
    const char exif[] = "Exif\0\0II*\0\x08\0\0\0\0\0\0\0\0\0";
    recipe.markers.push_back({JPEG_APP0 + 1, Marker(exif, sizeof exif - 1)});
    Bytes icc = Marker("ICC_PROFILE\0\x01\x01", 14);
    icc.resize(icc.size() + 128, 0x11);
    recipe.markers.push_back({JPEG_APP0 + 2, icc});
    const char ducky[] = "Ducky\0\x01\0\x04\0\0\0\x3C\0\0";
    recipe.markers.push_back({JPEG_APP0 + 12, Marker(ducky, sizeof ducky - 1)});
    const char photoshop[] = "Photoshop 3.0\08BIM\x04\x04\0\0\0\0\0\0";
    recipe.markers.push_back({JPEG_APP0 + 13, Marker(photoshop, sizeof photoshop - 1)});
    if (!ourBlock.empty()) recipe.markers.push_back({JPEG_APP0 + 12, ourBlock});
    return MakeJpegFrom(recipe);
}

// ---- BMP: by hand, as other programs lay it out ----

void Put(Bytes& b, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) b.push_back(uint8_t(value >> (8 * i)));
}

// A file header, an info header of `headerSize` bytes (40, or 124 for the
// fifth version), `extra` between the headers and the pixels (a colour
// table, or our block), then the rows.
Bytes Bitmap(uint32_t headerSize, int32_t w, int32_t h, uint16_t bits, const Bytes& extra) {
    const uint32_t rowBytes = (uint32_t(w) * bits + 31) / 32 * 4;
    const uint32_t rows = uint32_t(h < 0 ? -h : h);
    const uint32_t offset = 14 + headerSize + uint32_t(extra.size());
    Bytes b = {'B', 'M'};
    Put(b, offset + rowBytes * rows, 4);
    Put(b, 0, 4);
    Put(b, offset, 4);
    Put(b, headerSize, 4);
    Put(b, uint32_t(w), 4);
    Put(b, uint32_t(h), 4);
    Put(b, 1, 2);
    Put(b, bits, 2);
    Put(b, headerSize == 40 ? 0 : 3, 4);  // plain rows, or bit fields
    Put(b, 0, 4);                          // image size left to the reader
    Put(b, 2835, 4);                       // 72 pixels per inch
    Put(b, 2835, 4);
    Put(b, bits == 8 ? 256 : 0, 4);
    Put(b, 0, 4);
    if (headerSize > 40) {
        for (uint32_t mask : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u}) Put(b, mask, 4);
        Put(b, 0x73524742, 4);  // sRGB
        b.resize(14 + headerSize, 0);
    }
    b.insert(b.end(), extra.begin(), extra.end());
    for (uint32_t y = 0; y < rows; ++y) {
        for (uint32_t x = 0; x < rowBytes; ++x) b.push_back(uint8_t(x * 9 + y * 31));
    }
    return b;
}

}  // namespace

ButtonSettings ForeignSettings() {
    ButtonSettings s = SampleSettings();
    s.styleNumber = 620;
    s.buttonSize = 200;
    s.caption = "Made elsewhere";
    s.fontStyle = kFontItalic;
    s.includeShadowArea = false;
    return s;
}

std::string PayloadFixture(int version, const FormatEntry& format) {
    char name[40];
    std::snprintf(name, sizeof name, "payloads/v%04X.%s", unsigned(version), format.extension);
    return name;
}

void WriteFixtures(const std::string& folder) {
    const Picture picture = PlainPicture();
    for (int16_t version : {kPayloadFirstVersion, kPayloadExportOptions, kPayloadExactSize}) {
        const Bytes payload = OlderPayload(SampleSettings(), version);
        for (const FormatEntry& format : Formats()) {
            // The exporters take any payload: an older one is written as the
            // writer of that version wrote it.
            const bool transparent = format.keepsTransparency;
            const ExportJob job{picture.shown, transparent ? &picture.layers : nullptr,
                                picture.rect, payload, 60};
            PtrMacStream out;
            format.write(job, out);
            Save(folder + "/" + PayloadFixture(version, format), BytesOf(out));
        }
    }

    const Bytes payload = Payload(ForeignSettings());
    const Bytes signedBlock = tabora::SignedBlock(payload);
    const std::string hexPayload = HexEncode(payload.data(), payload.size());
    const std::string hexSigned = HexEncode(signedBlock.data(), signedBlock.size());
    const std::string foreign = folder + "/foreign/";
    Save(foreign + "paint-with-block.png", PaintProgramPng({{"Tbra", hexPayload}}));
    Save(foreign + "paint-no-block.png",
         PaintProgramPng({{"Software", "a paint program"}, {"Title", "Sketch"}}));
    Save(foreign + "animation-with-block.gif",
         AnimationGif(hexSigned, CommentPlace::First, true));
    Save(foreign + "animation-comment-second.gif",
         AnimationGif(hexSigned, CommentPlace::Second, true));
    Save(foreign + "animation-no-block.gif", AnimationGif("", CommentPlace::None, false));
    Save(foreign + "editor-with-block.jpg", EditorJpeg(signedBlock));
    Save(foreign + "editor-no-block.jpg", EditorJpeg({}));
    Save(foreign + "top-down-with-block.bmp", Bitmap(40, 6, -4, 24, signedBlock));
    Save(foreign + "v5-header.bmp", Bitmap(124, 6, 4, 32, {}));
    Save(foreign + "palette.bmp", Bitmap(40, 6, 4, 8, Bytes(1024, 0x40)));
}

}  // namespace tabora::test
