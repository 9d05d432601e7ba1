#include "imaging/PngCodec.h"

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "imaging/LibraryCalls.h"
#include "imaging/PngOptimizer.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "platform/Error.h"

namespace tabora {

namespace {

constexpr std::array<char, 5> kKeyword = SignatureText();
const char kWriteError[] = "error writing PNG file";
const char kReadError[] = "error reading PNG file";

// A foreign PNG may carry large metadata; nothing of ours is bigger than a
// few kilobytes, and this bounds what a hostile chunk can make the library
// allocate.
constexpr png_alloc_size_t kMaxChunkBytes = 4u << 20;
// Everything in front of the image data but the header, counted with the
// framing of each chunk. Ours is one text chunk of about 1 KB; a file with
// more than this is not ours, and reading it no further bounds the time a
// file of endless small chunks can take.
constexpr uint64_t kMaxMetadataBytes = 16u << 20;
// The hex text of our block: at most 562 payload bytes, 1124 characters. A
// compressed text chunk is unpacked only this far (a few kilobytes of it
// could unpack to megabytes), and a longer text is not ours.
constexpr size_t kMaxBlockText = 4096;
// libpng keeps no chunk of ours (every chunk reaches OnChunk below and is
// dropped there); should it ever keep one, this is how many.
constexpr png_uint_32 kMaxCachedChunks = 8;

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
    int textChunks = 0;
    uint64_t metadataBytes = 0;
    // The read stopped early because the file cannot be ours.
    bool notOurs = false;
};

enum class TextVerdict { Ours, Other, Damaged, TooLong };

// The text of a zTXt chunk's compressed part, up to kMaxBlockText bytes.
// Like ReadText, it runs inside the library's callback, where an exception
// must not arise: `text` has room for kMaxBlockText + 1 bytes beforehand.
TextVerdict Inflate(const uint8_t* data, size_t size, std::string& text) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return TextVerdict::Damaged;
    text.resize(kMaxBlockText + 1);
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(size);
    z.next_out = reinterpret_cast<Bytef*>(text.data());
    z.avail_out = uInt(text.size());
    const int result = inflate(&z, Z_FINISH);
    text.resize(text.size() - z.avail_out);
    inflateEnd(&z);
    // Out of room, or the end only just reached in the last byte of it: more
    // text than a block can have.
    if (text.size() > kMaxBlockText && (result == Z_STREAM_END || result == Z_BUF_ERROR))
        return TextVerdict::TooLong;
    return result == Z_STREAM_END ? TextVerdict::Ours : TextVerdict::Damaged;
}

// A text chunk as the library used to take it: keyword, NUL, text (zTXt:
// compression method 0, then the text deflated). Only the keyword "Tbra"
// carries our block, and its text counts up to the first NUL. An
// international text (iTXt) never did: the library handed its text over in
// a field the reader never took.
TextVerdict ReadText(const png_unknown_chunk& chunk, std::string& text) {
    const auto* data = chunk.data;
    const size_t size = chunk.size;
    const size_t keyLength = data ? strnlen(reinterpret_cast<const char*>(data), size) : 0;
    const std::string_view type(reinterpret_cast<const char*>(chunk.name), 4);
    if (type == "iTXt" ||
        std::string_view(reinterpret_cast<const char*>(data), keyLength) != kKeyword.data()) {
        return TextVerdict::Other;
    }
    if (type == "tEXt") {
        const size_t start = std::min(size, keyLength + 1);
        const char* body = reinterpret_cast<const char*>(data) + start;
        const size_t length = strnlen(body, size - start);
        if (length > kMaxBlockText) return TextVerdict::TooLong;
        text.assign(body, length);
        return TextVerdict::Ours;
    }
    // zTXt: a method byte and at least one byte of compressed data.
    if (keyLength + 3 > size || data[keyLength + 1] != PNG_COMPRESSION_TYPE_BASE)
        return TextVerdict::Damaged;
    const TextVerdict verdict = Inflate(data + keyLength + 2, size - keyLength - 2, text);
    if (verdict == TextVerdict::Ours) text.resize(strnlen(text.data(), text.size()));
    return verdict;
}

// Every chunk in front of the image data but the header (and the palette
// and transparency, which the library checks and keeps small) comes here,
// one at a time, and is dropped: the library keeps none of them, so no
// number of chunks can add up in memory, and no compressed text is
// unpacked unless it may be our block. Returns 1 (handled), or 0 for an
// unknown critical chunk, which the library then rejects.
int OnChunk(png_structp png, png_unknown_chunkp chunk) {
    auto* job = static_cast<ReadJob*>(png_get_user_chunk_ptr(png));
    if ((chunk->name[0] & 0x20) == 0) return 0;
    job->metadataBytes += uint64_t(chunk->size) + 12;
    if (job->metadataBytes > kMaxMetadataBytes) {
        job->notOurs = true;
        png_error(png, "more metadata than a button carries");
    }
    const std::string_view type(reinterpret_cast<const char*>(chunk->name), 4);
    if (type != "tEXt" && type != "zTXt" && type != "iTXt") return 1;
    if ((chunk->location & PNG_HAVE_IHDR) == 0) png_error(png, "missing IHDR");
    // Our files have exactly one text chunk: a second one settles it.
    if (++job->textChunks > 1) {
        job->notOurs = true;
        png_error(png, "a second text chunk");
    }
    switch (ReadText(*chunk, *job->text)) {
        case TextVerdict::Ours:
            job->found = true;
            break;
        case TextVerdict::Other:
            break;
        case TextVerdict::TooLong:
            job->notOurs = true;
            png_error(png, "text too long for a button");
        case TextVerdict::Damaged:
            png_error(png, "damaged compressed text");
    }
    return 1;
}

bool RunRead(ReadJob* job) {
    if (setjmp(png_jmpbuf(job->png))) return false;
    png_read_info(job->png, job->info);
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
    if (job.optimize) {
        // The same text chunk, the same pixels, the fewest bytes.
        WriteSmallestPng(image, out, job.layers != nullptr, job.rect, kKeyword.data(),
                         HexEncode(job.payload.data(), job.payload.size()));
        return;
    }
    PngCodec::Write(image, out, job.layers != nullptr, job.rect, job.payload.data(),
                    int16_t(job.payload.size()));
}

bool PngCodec::ReadData(MacStream& in, MacStream& out) {
    LibraryStream io;
    io.stream = &in;
    std::string text;
    text.reserve(kMaxBlockText + 1);
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
    png_set_chunk_cache_max(job.png, kMaxCachedChunks);
    // Every ancillary chunk the library knows (text, palettes, profiles...)
    // and every unknown one goes to OnChunk instead.
    png_set_keep_unknown_chunks(job.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_read_user_chunk_fn(job.png, &job, OnChunk);

    bool ok = RunRead(&job);
    png_destroy_read_struct(&job.png, &job.info, nullptr);
    if (io.pending) ThrowLibraryFailure(io.pending, kReadError);
    if (job.notOurs) return false;
    if (!ok) throw TaboraError(kReadError);
    if (!job.found) return false;

    std::vector<uint8_t> bytes = HexDecode(text);
    out.Write(bytes.data(), uint32_t(bytes.size()));
    out.Seek(0);
    return true;
}

}  // namespace tabora
