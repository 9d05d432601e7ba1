#include "imaging/PngCodec.h"

#include <png.h>

#include <array>
#include <csetjmp>
#include <cstring>
#include <string>
#include <vector>

#include "imaging/LibraryCalls.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "platform/Error.h"

namespace tabora {

namespace {

constexpr std::array<char, 5> kKeyword = SignatureText();
const char kWriteError[] = "error writing PNG file";
const char kReadError[] = "error reading PNG file";

// A foreign PNG may carry large metadata; nothing of ours is bigger than a
// few kilobytes, and this bounds what a hostile chunk (or a compressed text
// bomb) can make the library allocate.
constexpr png_alloc_size_t kMaxChunkBytes = 4u << 20;

// libpng reports errors by longjmp. Everything with a destructor lives
// outside the frame that calls setjmp, and a C++ exception raised by our
// stream is parked in the LibraryStream and re-thrown once libpng is out of
// the way.

void OnPngError(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

// A warning aborts the operation just as an error does.
void OnPngWarning(png_structp png, png_const_charp) {
    png_longjmp(png, 1);
}

void WriteToStream(png_structp png, png_bytep data, png_size_t length) {
    auto* io = static_cast<LibraryStream*>(png_get_io_ptr(png));
    if (!CallParked(io->pending, [&] { io->stream->Write(data, uint32_t(length)); }))
        png_error(png, "write failed");
}

void FlushStream(png_structp) {}

void ReadFromStream(png_structp png, png_bytep data, png_size_t length) {
    auto* io = static_cast<LibraryStream*>(png_get_io_ptr(png));
    uint32_t got = 0;
    if (!CallParked(io->pending, [&] { got = io->stream->Read(data, uint32_t(length)); }))
        png_error(png, "read failed");
    // A truncated file ends the read here rather than feeding zeros.
    if (got < length) png_error(png, "unexpected end of file");
}

struct WriteJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    uint32_t width = 0;
    uint32_t height = 0;
    png_text text{};
    bool withText = true;
    png_bytepp rows = nullptr;
};

// Returns false when libpng jumped out with an error.
bool RunWrite(WriteJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_set_IHDR(job->png, job->info, job->width, job->height, 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (job->withText) png_set_text(job->png, job->info, &job->text, 1);
    png_write_info(job->png, job->info);
    png_set_swap_alpha(job->png);
    png_write_image(job->png, job->rows);
    png_write_end(job->png, job->info);
    return true;
}

struct ReadJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    bool found = false;
    std::string* text = nullptr;
};

bool RunRead(ReadJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_read_info(job->png, job->info);
    png_textp texts = nullptr;
    int count = png_get_text(job->png, job->info, &texts, nullptr);
    if (count == 1 && texts && std::strcmp(texts[0].key, kKeyword.data()) == 0) {
        job->found = true;
        job->text->assign(texts[0].text ? texts[0].text : "", texts[0].text ? texts[0].text_length : 0);
    }
    return true;
}

}  // namespace

void PngCodec::Write(const ArgbImage& image, MacStream& out, bool keepAlpha,
                     std::optional<Rect> rect, const uint8_t* block, int16_t blockLength) {
    Rect r = rect.value_or(image.Extent()).Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError(kWriteError);

    std::string hex = HexEncode(block, block && blockLength > 0 ? size_t(blockLength) : 0);
    const uint32_t width = uint32_t(r.Width()), height = uint32_t(r.Height());
    std::vector<uint8_t> pixels(size_t(width) * height * 4);
    std::vector<png_bytep> rowPointers(height);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = pixels.data() + size_t(y) * width * 4;
        rowPointers[y] = row;
        const uint32_t* src = image.Pixels() + size_t(r.top + int32_t(y)) * size_t(image.Width()) + r.left;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t p = src[x];
            // Handed over as alpha, red, green, blue; libpng swaps to RGBA.
            row[4 * x] = keepAlpha ? PixelAlpha(p) : 255;
            row[4 * x + 1] = PixelRed(p);
            row[4 * x + 2] = PixelGreen(p);
            row[4 * x + 3] = PixelBlue(p);
        }
    }

    LibraryStream io;
    io.stream = &out;
    WriteJob job;
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!job.png) throw TaboraError(kWriteError);
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_write_struct(&job.png, nullptr);
        throw TaboraError(kWriteError);
    }
    png_set_write_fn(job.png, &io, WriteToStream, FlushStream);
    job.width = width;
    job.height = height;
    job.text.compression = PNG_TEXT_COMPRESSION_NONE;
    job.text.key = const_cast<char*>(kKeyword.data());
    job.text.text = hex.data();
    job.text.text_length = hex.size();
    job.withText = block != nullptr;
    job.rows = rowPointers.data();

    bool ok = RunWrite(&job);
    png_destroy_write_struct(&job.png, &job.info);
    if (!ok || io.pending) ThrowLibraryFailure(io.pending, kWriteError);
}

void ExportPng(const ExportJob& job, MacStream& out) {
    const ArgbImage& image = job.layers ? *job.layers : job.shown;
    PngCodec::Write(image, out, job.layers != nullptr, job.rect, job.payload.data(),
                    int16_t(job.payload.size()));
}

bool PngCodec::ReadData(MacStream& in, MacStream& out) {
    LibraryStream io;
    io.stream = &in;
    std::string text;
    ReadJob job;
    job.text = &text;
    job.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, OnPngError, OnPngWarning);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) {
        png_destroy_read_struct(&job.png, nullptr, nullptr);
        return false;
    }
    png_set_read_fn(job.png, &io, ReadFromStream);
    png_set_chunk_malloc_max(job.png, kMaxChunkBytes);

    bool ok = RunRead(&job);
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    if (!ok || io.pending) ThrowLibraryFailure(io.pending, kReadError);
    if (!job.found) return false;

    std::vector<uint8_t> bytes = HexDecode(text);
    out.Write(bytes.data(), uint32_t(bytes.size()));
    out.Seek(0);
    return true;
}

}  // namespace tabora
