#include "tests/imaging/CodecTestSupport.h"

#include <gtest/gtest.h>

#include <gif_lib.h>
#include <png.h>

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include "platform/Error.h"

namespace tabora::test {

std::vector<PngChunk> PngChunks(const Bytes& file) {
    std::vector<PngChunk> chunks;
    static const uint8_t kSig[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (file.size() < 8 || std::memcmp(file.data(), kSig, 8) != 0) return chunks;
    size_t at = 8;
    while (at + 12 <= file.size()) {
        uint32_t length = Be32(&file[at]);
        if (at + 12 + length > file.size()) break;
        PngChunk chunk;
        chunk.type.assign(reinterpret_cast<const char*>(&file[at + 4]), 4);
        chunk.data.assign(file.begin() + long(at + 8), file.begin() + long(at + 8 + length));
        chunks.push_back(std::move(chunk));
        at += 12 + length;
    }
    return chunks;
}

bool DecodePng(const Bytes& file, int32_t& w, int32_t& h, Bytes& rgba) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return false;
    image.format = PNG_FORMAT_RGBA;
    rgba.assign(PNG_IMAGE_SIZE(image), 0);
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return false;
    w = int32_t(image.width);
    h = int32_t(image.height);
    return true;
}

namespace {
void AppendToVector(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}
}  // namespace

void WritePngInto(png_structp png, Bytes* out) { png_set_write_fn(png, out, AppendToVector, NoFlush); }

void SetPngTexts(png_structp png, png_infop info,
                 const std::vector<std::pair<std::string, std::string>>& texts) {
    if (texts.empty()) return;
    std::vector<png_text> records(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        records[i].compression = PNG_TEXT_COMPRESSION_NONE;
        records[i].key = const_cast<char*>(texts[i].first.c_str());
        records[i].text = const_cast<char*>(texts[i].second.c_str());
        records[i].text_length = texts[i].second.size();
    }
    png_set_text(png, info, records.data(), int(records.size()));
}

Bytes MakePng(const std::vector<std::pair<std::string, std::string>>& texts,
              const std::vector<std::pair<std::string, std::string>>& lateTexts) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    WritePngInto(png, &out);
    png_set_IHDR(png, info, 4, 2, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    SetPngTexts(png, info, texts);
    png_write_info(png, info);
    uint8_t row[12] = {};
    png_write_row(png, row);
    png_write_row(png, row);
    SetPngTexts(png, info, lateTexts);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool ParseGif(const Bytes& f, GifLayout& g) {
    size_t at = 0;
    auto need = [&](size_t n) { return at + n <= f.size(); };
    if (!need(13)) return false;
    g.version.assign(reinterpret_cast<const char*>(f.data()), 6);
    g.width = Le16(&f[6]);
    g.height = Le16(&f[8]);
    g.packed = f[10];
    g.background = f[11];
    g.aspect = f[12];
    at = 13;
    if (g.packed & 0x80) {
        size_t entries = size_t(2) << (g.packed & 7);
        if (!need(3 * entries)) return false;
        g.globalTable.assign(f.begin() + long(at), f.begin() + long(at + 3 * entries));
        at += 3 * entries;
    }
    auto subBlocks = [&](std::vector<Bytes>* into) {
        for (;;) {
            if (!need(1)) return false;
            uint8_t n = f[at++];
            if (n == 0) return true;
            if (!need(n)) return false;
            if (into) into->emplace_back(f.begin() + long(at), f.begin() + long(at + n));
            at += n;
        }
    };
    while (need(1)) {
        uint8_t introducer = f[at++];
        if (introducer == 0x3B) {
            g.trailer = true;
            return true;
        }
        if (introducer == 0x21) {
            if (!need(1)) return false;
            GifLayout::Extension ext;
            ext.label = f[at++];
            if (!subBlocks(&ext.subBlocks)) return false;
            if (g.images == 0) g.extensions.push_back(std::move(ext));
        } else if (introducer == 0x2C) {
            if (!need(10)) return false;
            if (g.images == 0) {
                g.imageLeft = Le16(&f[at]);
                g.imageTop = Le16(&f[at + 2]);
                g.imageWidth = Le16(&f[at + 4]);
                g.imageHeight = Le16(&f[at + 6]);
                g.imagePacked = f[at + 8];
                g.lzwMinimum = f[at + 9];
            }
            if (f[at + 8] & 0x80) at += 3 * (size_t(2) << (f[at + 8] & 7));
            at += 10;
            if (!subBlocks(nullptr)) return false;
            ++g.images;
        } else {
            return false;
        }
    }
    return false;
}

namespace {
struct MemoryReader {
    const Bytes* bytes;
    size_t at = 0;
};
int ReadMemory(GifFileType* gif, GifByteType* buf, int n) {
    auto* r = static_cast<MemoryReader*>(gif->UserData);
    size_t left = r->bytes->size() - r->at;
    size_t take = std::min(left, size_t(n));
    std::memcpy(buf, r->bytes->data() + r->at, take);
    r->at += take;
    return int(take);
}
}  // namespace

bool DecodeGif(const Bytes& file, int32_t& w, int32_t& h, Bytes& indices, Bytes& table) {
    MemoryReader reader{&file};
    int error = 0;
    GifFileType* gif = DGifOpen(&reader, ReadMemory, &error);
    if (!gif) return false;
    bool ok = DGifSlurp(gif) == GIF_OK && gif->ImageCount >= 1 && gif->SColorMap;
    if (ok) {
        const SavedImage& image = gif->SavedImages[0];
        w = image.ImageDesc.Width;
        h = image.ImageDesc.Height;
        indices.assign(image.RasterBits, image.RasterBits + size_t(w) * size_t(h));
        table.clear();
        for (int i = 0; i < gif->SColorMap->ColorCount; ++i) {
            table.push_back(gif->SColorMap->Colors[i].Red);
            table.push_back(gif->SColorMap->Colors[i].Green);
            table.push_back(gif->SColorMap->Colors[i].Blue);
        }
    }
    DGifCloseFile(gif, &error);
    return ok;
}

std::vector<JpegSegment> JpegSegments(const Bytes& f) {
    std::vector<JpegSegment> segments;
    if (f.size() < 2 || f[0] != 0xFF || f[1] != 0xD8) return segments;
    segments.push_back({0xD8, {}});
    size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF) {
        uint8_t marker = f[at + 1];
        uint16_t length = Be16(&f[at + 2]);
        if (length < 2 || at + 2 + length > f.size()) break;
        segments.push_back({marker, Bytes(f.begin() + long(at + 4), f.begin() + long(at + 2 + length))});
        at += 2 + length;
        if (marker == 0xDA) break;
    }
    return segments;
}

namespace {
struct TestJpegError {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};
void TestJpegExit(j_common_ptr info) { std::longjmp(reinterpret_cast<TestJpegError*>(info->err)->jump, 1); }
void TestJpegSilent(j_common_ptr) {}

bool DecodeJpegInto(jpeg_decompress_struct* d, const Bytes* file, int32_t* w, int32_t* h, Bytes* rgb,
                    TestJpegError* err) {
    if (setjmp(err->jump)) return false;
    jpeg_mem_src(d, file->data(), (unsigned long)file->size());
    jpeg_read_header(d, TRUE);
    d->out_color_space = JCS_RGB;
    jpeg_start_decompress(d);
    *w = int32_t(d->output_width);
    *h = int32_t(d->output_height);
    rgb->assign(size_t(*w) * size_t(*h) * 3, 0);
    while (d->output_scanline < d->output_height) {
        JSAMPROW row = rgb->data() + size_t(d->output_scanline) * size_t(*w) * 3;
        jpeg_read_scanlines(d, &row, 1);
    }
    jpeg_finish_decompress(d);
    return d->err->num_warnings == 0;
}
}  // namespace

bool DecodeJpeg(const Bytes& file, int32_t& w, int32_t& h, Bytes& rgb) {
    jpeg_decompress_struct d{};
    TestJpegError err{};
    d.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = TestJpegExit;
    err.pub.output_message = TestJpegSilent;
    jpeg_create_decompress(&d);
    bool ok = DecodeJpegInto(&d, &file, &w, &h, &rgb, &err);
    jpeg_destroy_decompress(&d);
    return ok;
}

Bytes MakeJpegFrom(const JpegRecipe& recipe) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = JDIMENSION(recipe.width);
    c.image_height = JDIMENSION(recipe.height);
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    if (recipe.quality > 0) jpeg_set_quality(&c, recipe.quality, TRUE);
    if (recipe.progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    for (const auto& [code, bytes] : recipe.markers)
        jpeg_write_marker(&c, code, bytes.data(), unsigned(bytes.size()));
    std::vector<JSAMPLE> row(size_t(recipe.width) * 3, 128);
    for (int y = 0; y < recipe.height; ++y) {
        for (int x = 0; recipe.gradient && x < recipe.width; ++x) {
            row[size_t(3 * x)] = JSAMPLE(10 * x);
            row[size_t(3 * x + 1)] = JSAMPLE(15 * y);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    Bytes out(buffer, buffer + size);
    free(buffer);
    return out;
}

Bytes MakeJpeg(const std::vector<Bytes>& app12Payloads) {
    JpegRecipe recipe;
    for (const Bytes& p : app12Payloads) recipe.markers.push_back({JPEG_APP0 + 12, p});
    return MakeJpegFrom(recipe);
}

OpenResult CheckOpen(TaboraButton& button, const std::string& path, const ExpectedOpen& expected) {
    const ButtonSettings before = button.settings();
    const OpenResult result = OpenButton(button, path);
    EXPECT_EQ(result.outcome, expected.outcome) << expected.name << ": " << result.detail;
    const std::string shown = expected.outcome == OpenOutcome::Unreadable
                                  ? result.detail.substr(0, std::strlen(expected.detail))
                                  : result.detail;
    EXPECT_EQ(shown, expected.detail) << expected.name;
    if (!result.opened()) {
        EXPECT_EQ(button.settings(), before) << expected.name;
    }
    return result;
}

void FailingStream::Write(const void*, uint32_t count) {
    if (written_ + count > limit_) throw FileError("disk full");
    written_ += count;
}

}  // namespace tabora::test
