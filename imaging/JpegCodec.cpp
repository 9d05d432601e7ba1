#include "imaging/JpegCodec.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <exception>
#include <utility>
#include <vector>

#include "imaging/LibraryCalls.h"
#include "io/ButtonData.h"
#include "io/ButtonSettings.h"
#include "io/CDib.h"
#include "platform/Error.h"

namespace tabora {

namespace {

constexpr int kApp12 = JPEG_APP0 + 12;
// The stream buffer size of the file format's reference reader.
constexpr uint32_t kBufferBytes = 4096;
// A button picture is at most 174 x 74 pixels and an archive tile 196 x 600;
// a hostile header must not make the library reserve more than this.
constexpr long kMaxLibraryMemory = 64L << 20;

const char kFatal[] = "fatal JPEG error";

}  // namespace

// Everything libjpeg sees lives here, outside any frame that calls setjmp.
// libjpeg reports a fatal error by calling error_exit, which jumps back to
// the recovery point of the running call; an exception raised by one of our
// stream callbacks is parked in `io` and re-thrown once the library is
// released.
struct JpegCodec::State {
    struct ErrorManager {
        jpeg_error_mgr pub;
        std::jmp_buf recovery;
    };
    struct Destination {
        jpeg_destination_mgr pub;
        State* state;
        JOCTET* buffer;
    };
    struct Source {
        jpeg_source_mgr pub;
        State* state;
        JOCTET* buffer;
    };

    ErrorManager error{};
    jpeg_compress_struct compressor{};
    jpeg_decompress_struct decompressor{};
    bool haveCompressor = false;
    bool haveDecompressor = false;
    LibraryStream io;
    Destination destination{};
    Source source{};
    // What the APP12 reader keeps: the first marker that starts with the
    // signature, and nothing of any other.
    std::vector<uint8_t> block;
    bool haveBlock = false;

    void ReleaseAll() {
        if (haveCompressor) jpeg_destroy_compress(&compressor);
        if (haveDecompressor) jpeg_destroy_decompress(&decompressor);
        haveCompressor = haveDecompressor = false;
    }
};

namespace {

using State = JpegCodec::State;

[[noreturn]] void OnFatal(j_common_ptr info) {
    auto* error = reinterpret_cast<State::ErrorManager*>(info->err);
    std::longjmp(error->recovery, 1);
}

// The library's messages never reach the terminal; warnings are counted by
// the library and otherwise ignored.
void OnMessage(j_common_ptr) {}

State* StateOf(j_compress_ptr info) { return static_cast<State*>(info->client_data); }
State* StateOf(j_decompress_ptr info) { return static_cast<State*>(info->client_data); }

// Passes bytes to the stream. A stream failure is parked and the library is
// stopped.
void Flush(j_compress_ptr info, const JOCTET* bytes, size_t count) {
    LibraryStream& io = StateOf(info)->io;
    if (!CallParked(io.pending, [&] { io.stream->Write(bytes, uint32_t(count)); }))
        ERREXIT(info, JERR_FILE_WRITE);
}

void InitDestination(j_compress_ptr info) {
    State* state = StateOf(info);
    auto& dest = state->destination;
    dest.buffer = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_IMAGE, kBufferBytes));
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kBufferBytes;
}

boolean EmptyDestination(j_compress_ptr info) {
    auto& dest = StateOf(info)->destination;
    Flush(info, dest.buffer, kBufferBytes);
    dest.pub.next_output_byte = dest.buffer;
    dest.pub.free_in_buffer = kBufferBytes;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto& dest = StateOf(info)->destination;
    size_t used = kBufferBytes - dest.pub.free_in_buffer;
    if (used > 0) Flush(info, dest.buffer, used);
}

void InitSource(j_decompress_ptr) {}

// Never suspends. At the end of the stream it hands over an end-of-image
// marker, so a truncated file finishes (with a warning) instead of waiting
// for bytes that will never come.
boolean FillSource(j_decompress_ptr info) {
    State* state = StateOf(info);
    auto& src = state->source;
    LibraryStream& io = state->io;
    uint32_t got = 0;
    if (!CallParked(io.pending, [&] { got = io.stream->Read(src.buffer, kBufferBytes); }))
        ERREXIT(info, JERR_FILE_READ);
    if (got == 0) {
        WARNMS(info, JWRN_JPEG_EOF);
        src.buffer[0] = 0xFF;
        src.buffer[1] = JPEG_EOI;
        got = 2;
    }
    src.pub.next_input_byte = src.buffer;
    src.pub.bytes_in_buffer = got;
    return TRUE;
}

// Skips within the buffer, and past it by moving the stream, so a file full
// of large foreign markers costs no reading of their contents.
void SkipSource(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    State* state = StateOf(info);
    auto& src = state->source.pub;
    if (size_t(count) <= src.bytes_in_buffer) {
        src.next_input_byte += count;
        src.bytes_in_buffer -= size_t(count);
        return;
    }
    uint64_t beyond = uint64_t(count) - src.bytes_in_buffer;
    src.bytes_in_buffer = 0;
    MacStream& stream = *state->io.stream;
    if (!CallParked(state->io.pending, [&] {
            uint64_t target = uint64_t(stream.Position()) + beyond;
            uint64_t length = stream.GetLength();
            stream.Seek(uint32_t(target < length ? target : length));
        }))
        ERREXIT(info, JERR_FILE_READ);
}

void TermSource(j_decompress_ptr) {}

uint8_t NextByte(j_decompress_ptr info) {
    auto& src = *info->src;
    if (src.bytes_in_buffer == 0) (*src.fill_input_buffer)(info);
    --src.bytes_in_buffer;
    return *src.next_input_byte++;
}

// Replaces the library's keep-every-marker reader for APP12: a file may hold
// any number of foreign APP12 markers of up to 64 KB each, and keeping them
// all would let a small file claim a large amount of memory. Only the first
// marker that starts with the signature is kept; the rest are skipped.
boolean ReadApp12(j_decompress_ptr info) {
    State* state = StateOf(info);
    int32_t length = (int32_t(NextByte(info)) << 8) | NextByte(info);
    length -= 2;
    if (length < 0) length = 0;
    if (state->haveBlock || length < 4) {
        SkipSource(info, length);
        return TRUE;
    }
    uint8_t head[4];
    for (uint8_t& b : head) b = NextByte(info);
    uint32_t tag = (uint32_t(head[0]) << 24) | (uint32_t(head[1]) << 16) |
                   (uint32_t(head[2]) << 8) | head[3];
    if (tag != kBlockSignature) {
        SkipSource(info, length - 4);
        return TRUE;
    }
    // At most 65533 bytes, the largest marker the format allows.
    state->block.resize(size_t(length));
    std::memcpy(state->block.data(), head, 4);
    for (int32_t i = 4; i < length; ++i) state->block[size_t(i)] = NextByte(info);
    state->haveBlock = true;
    return TRUE;
}

void SetUpSource(State* state, MacStream& in) {
    auto& decompressor = state->decompressor;
    auto& src = state->source;
    src.state = state;
    // The permanent pool: the source outlives one image on a reused decoder.
    if (!src.buffer) {
        src.buffer = static_cast<JOCTET*>((*decompressor.mem->alloc_small)(
            reinterpret_cast<j_common_ptr>(&decompressor), JPOOL_PERMANENT, kBufferBytes));
    }
    src.pub.init_source = InitSource;
    src.pub.fill_input_buffer = FillSource;
    src.pub.skip_input_data = SkipSource;
    src.pub.resync_to_restart = jpeg_resync_to_restart;
    src.pub.term_source = TermSource;
    src.pub.next_input_byte = nullptr;
    src.pub.bytes_in_buffer = 0;
    decompressor.src = &src.pub;
    state->io.stream = &in;
}

struct WriteJob {
    State* state;
    uint32_t width;
    uint32_t height;
    int quality;
    bool optimize;
    const uint8_t* block;
    uint32_t blockLength;
    const ArgbImage* image;
    Rect rect;
    JSAMPLE* row;
};

// Returns false when the library jumped out with a fatal error. Only plain
// data lives in this frame.
bool RunWrite(WriteJob* job) {
    State* state = job->state;
    if (setjmp(state->error.recovery)) return false;
    auto& c = state->compressor;
    if (!state->haveCompressor) {
        jpeg_create_compress(&c);
        state->haveCompressor = true;
        c.client_data = state;
    }
    c.mem->max_memory_to_use = kMaxLibraryMemory;
    state->destination.state = state;
    state->destination.pub.init_destination = InitDestination;
    state->destination.pub.empty_output_buffer = EmptyDestination;
    state->destination.pub.term_destination = TermDestination;
    c.dest = &state->destination.pub;

    c.image_width = job->width;
    c.image_height = job->height;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, job->quality, TRUE);
    // Huffman tables made for this picture: the same coefficients, so the
    // same decoded pixels, in fewer bytes.
    c.optimize_coding = job->optimize ? TRUE : FALSE;
    jpeg_start_compress(&c, TRUE);
    // Between the start and the first scanline: lands right after JFIF APP0.
    if (job->block && job->blockLength > 0) {
        jpeg_write_marker(&c, kApp12, job->block, job->blockLength);
    }
    const int32_t stride = job->image->Width();
    for (uint32_t y = 0; y < job->height; ++y) {
        const uint32_t* src =
            job->image->Pixels() + size_t(job->rect.top + int32_t(y)) * size_t(stride) + size_t(job->rect.left);
        JSAMPLE* out = job->row;
        for (uint32_t x = 0; x < job->width; ++x) {
            out[3 * x] = PixelRed(src[x]);
            out[3 * x + 1] = PixelGreen(src[x]);
            out[3 * x + 2] = PixelBlue(src[x]);
        }
        JSAMPROW rows[1] = {job->row};
        jpeg_write_scanlines(&c, rows, 1);
    }
    jpeg_finish_compress(&c);
    return true;
}

struct ReadJob {
    State* state;
    MacStream* in;
};

// Creates the decompressor on its first use (and after a fatal error) and
// points it at the stream; true when it was just created. Called inside the
// frames below, after their setjmp, so a library failure lands there.
bool PrepareDecompressor(State* state, MacStream& in) {
    auto& d = state->decompressor;
    const bool firstUse = !state->haveDecompressor;
    if (firstUse) {
        jpeg_create_decompress(&d);
        state->haveDecompressor = true;
        d.client_data = state;
        state->source.buffer = nullptr;
    }
    d.mem->max_memory_to_use = kMaxLibraryMemory;
    SetUpSource(state, in);
    jpeg_set_marker_processor(&d, kApp12, ReadApp12);
    return firstUse;
}

bool RunReadHeader(ReadJob* job) {
    State* state = job->state;
    if (setjmp(state->error.recovery)) return false;
    auto& d = state->decompressor;
    PrepareDecompressor(state, *job->in);
    jpeg_read_header(&d, TRUE);
    // Only the header is wanted; leave the object ready for another use.
    jpeg_abort_decompress(&d);
    return true;
}

struct DecodeJob {
    State* state;
    MacStream* in;
    JpegDecodeTarget target;
    Rect rect;
};

bool RunDecode(DecodeJob* job) {
    State* state = job->state;
    if (setjmp(state->error.recovery)) return false;
    auto& d = state->decompressor;
    const bool firstUse = PrepareDecompressor(state, *job->in);
    int header = jpeg_read_header(&d, firstUse ? FALSE : TRUE);
    if (header == JPEG_HEADER_TABLES_ONLY || !job->target.bits) {
        jpeg_abort_decompress(&d);
        return true;
    }
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    const JpegDecodeTarget& t = job->target;
    const int32_t copyWidth = std::min<int32_t>(job->rect.Width(), int32_t(d.output_width));
    const int32_t copyHeight = std::min<int32_t>(job->rect.Height(), int32_t(d.output_height));
    JSAMPARRAY rows = (*d.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&d), JPOOL_IMAGE,
                                             d.output_width * 3, 1);
    for (int32_t y = 0; y < copyHeight; ++y) {
        jpeg_read_scanlines(&d, rows, 1);
        int32_t destY = job->rect.top + y;
        if (destY < 0 || destY >= t.height) continue;
        // The bitmap stores its rows bottom-up, each pixel blue, green, red.
        uint8_t* dest = t.bits + size_t(t.height - 1 - destY) * size_t(t.rowBytes);
        for (int32_t x = 0; x < copyWidth; ++x) {
            int32_t destX = job->rect.left + x;
            if (destX < 0 || destX >= t.width) continue;
            const JSAMPLE* p = rows[0] + 3 * size_t(x);
            dest[3 * destX] = p[2];
            dest[3 * destX + 1] = p[1];
            dest[3 * destX + 2] = p[0];
        }
    }
    if (d.output_scanline < d.output_height) {
        jpeg_abort_decompress(&d);
    } else {
        jpeg_finish_decompress(&d);
    }
    return true;
}

}  // namespace

JpegCodec::JpegCodec(int16_t quality, bool optimize)
    : state_(std::make_unique<State>()), quality_(quality), optimize_(optimize) {
    jpeg_std_error(&state_->error.pub);
    state_->error.pub.error_exit = OnFatal;
    state_->error.pub.output_message = OnMessage;
    state_->compressor.err = &state_->error.pub;
    state_->decompressor.err = &state_->error.pub;
}

JpegCodec::~JpegCodec() { state_->ReleaseAll(); }

void JpegCodec::Fail() {
    state_->ReleaseAll();
    ThrowLibraryFailure(state_->io.pending, kFatal);
}

void JpegCodec::Write(const ArgbImage& image, MacStream& out, std::optional<Rect> rect,
                      const uint8_t* block, int16_t blockLength) {
    Rect r = rect.value_or(image.Extent()).Intersect(image.Extent());
    std::vector<JSAMPLE> row(size_t(r.Width()) * 3 + 3);
    WriteJob job{};
    job.state = state_.get();
    job.width = uint32_t(r.Width());
    job.height = uint32_t(r.Height());
    // The library takes 0 (and below) as 1; above the limit is the limit.
    job.quality = quality_ > kMaxJpegQuality ? kMaxJpegQuality : quality_;
    job.optimize = optimize_;
    job.block = block;
    job.blockLength = blockLength > 0 ? uint32_t(blockLength) : 0;
    job.image = &image;
    job.rect = r;
    job.row = row.data();
    state_->io.stream = &out;
    state_->io.pending = nullptr;
    if (!RunWrite(&job)) Fail();
}

bool JpegCodec::ReadData(MacStream& in, MacStream& out) {
    state_->io.pending = nullptr;
    state_->block.clear();
    state_->haveBlock = false;
    ReadJob job{state_.get(), &in};
    if (!RunReadHeader(&job)) Fail();
    if (state_->haveBlock) {
        out.Write(state_->block.data(), uint32_t(state_->block.size()));
    }
    std::vector<uint8_t>().swap(state_->block);
    out.Seek(0);
    return out.ReadULong() == kBlockSignature;
}

void ExportJpeg(const ExportJob& job, MacStream& out) {
    const std::vector<uint8_t> block = SignedBlock(job.payload);
    JpegCodec codec(job.quality, job.optimize);
    codec.Write(job.shown, out, job.rect, block.data(), int16_t(block.size()));
}

bool ReadJpegBlock(MacStream& in, MacStream& block) {
    JpegCodec codec;
    return codec.ReadData(in, block);
}

void JpegCodec::DecodeInto(MacStream& in, const JpegDecodeTarget& target, Rect rect) {
    DecodeJob job{state_.get(), &in, target, rect};
    state_->io.pending = nullptr;
    state_->haveBlock = false;
    if (!RunDecode(&job)) Fail();
    std::vector<uint8_t>().swap(state_->block);
}

void JpegCodec::Decode(MacStream& in, CDib& dib, Rect rect) {
    JpegDecodeTarget target;
    const BitmapInfoHeader* header = dib.Header();
    // Only a writable 24-bit bottom-up bitmap can take the pixels; anything
    // else gets the header read and nothing written.
    if (header && header->bitCount == 24 && header->height > 0 && dib.Bits()) {
        target.bits = dib.Bits();
        target.width = header->width;
        target.height = header->height;
        target.rowBytes = int32_t(dib.GetRowBytes());
    }
    DecodeInto(in, target, rect);
}

}  // namespace tabora
