#include "imaging/WebpCodec.h"

#include <webp/encode.h>
#include <webp/mux.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "io/ButtonData.h"
#include "platform/Error.h"

namespace tabora {

namespace {

const char kWriteError[] = "error writing WebP file";
const char kReadError[] = "error reading WebP file";
constexpr std::array<char, 5> kChunkTag = SignatureText();

// RIFF header: "RIFF", the size of what follows, "WEBP".
constexpr uint32_t kRiffHeaderBytes = 12;
constexpr uint32_t kChunkHeaderBytes = 8;
// Our block is at most 566 bytes; a chunk of ours claiming more is not ours.
// The same bound the bitmap reader puts on its block.
constexpr uint32_t kMaxBlockBytes = 32767;
// A file of ours has three or four chunks; a foreign animation may have a
// few hundred frames. Past this many chunks the walk stops, so a file of
// millions of empty chunks costs no more than a few thousand.
constexpr int kMaxChunks = 4096;
// The encoder's effort, lossless and lossy: method 4 at quality 75, the
// library's own default. On our buttons its lossless picture is byte for
// byte what the format's command-line encoder makes, in about 3 ms; method
// 6 at quality 90 spends four times as long and is sometimes a few bytes
// larger, sometimes smaller.
constexpr int kMethod = 4;
constexpr float kLosslessEffort = 75.0f;

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) |
           (uint32_t(p[3]) << 24);
}

// The library's objects for one write, released whatever happens.
struct EncodeState {
    WebPPicture picture;
    WebPMemoryWriter writer;
    WebPMux* mux = nullptr;
    WebPData assembled;

    EncodeState() {
        WebPPictureInit(&picture);
        WebPMemoryWriterInit(&writer);
        WebPDataInit(&assembled);
    }
    ~EncodeState() {
        WebPDataClear(&assembled);
        if (mux) WebPMuxDelete(mux);
        WebPMemoryWriterClear(&writer);
        WebPPictureFree(&picture);
    }
    EncodeState(const EncodeState&) = delete;
    EncodeState& operator=(const EncodeState&) = delete;
};

void FillPicture(WebPPicture& picture, const ArgbImage& image, Rect r, bool keepAlpha) {
    for (int32_t y = 0; y < r.Height(); ++y) {
        const uint32_t* src =
            image.Pixels() + size_t(r.top + y) * size_t(image.Width()) + size_t(r.left);
        uint32_t* dest = picture.argb + size_t(y) * size_t(picture.argb_stride);
        for (int32_t x = 0; x < r.Width(); ++x) {
            const uint32_t p = src[x];
            const uint32_t alpha = keepAlpha ? PixelAlpha(p) : 255u;
            dest[x] = (alpha << 24) | (uint32_t(PixelRed(p)) << 16) |
                      (uint32_t(PixelGreen(p)) << 8) | PixelBlue(p);
        }
    }
}

}  // namespace

void WebpCodec::Write(const ArgbImage& image, MacStream& out, const Options& options,
                      std::optional<Rect> rect, std::span<const uint8_t> block) {
    const Rect r = rect.value_or(image.Extent()).Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError(kWriteError);

    WebPConfig config;
    if (!WebPConfigInit(&config)) throw TaboraError(kWriteError);
    if (options.lossy) {
        config.quality = float(std::clamp(options.quality, 0, 100));
        config.method = kMethod;
        // The alpha is kept whole: a button's edge is its outline.
        config.alpha_compression = 1;
        config.alpha_quality = 100;
    } else {
        config.lossless = 1;
        // Keeps the colour of transparent pixels, so the file decodes to
        // exactly the pixels of the other formats.
        config.exact = 1;
        config.method = kMethod;
        config.quality = kLosslessEffort;
    }

    EncodeState state;
    WebPPicture& picture = state.picture;
    picture.use_argb = 1;
    picture.width = r.Width();
    picture.height = r.Height();
    if (!WebPPictureAlloc(&picture)) throw TaboraError(kWriteError);
    FillPicture(picture, image, r, options.keepAlpha);
    picture.writer = WebPMemoryWrite;
    picture.custom_ptr = &state.writer;
    if (!WebPEncode(&config, &picture)) throw TaboraError(kWriteError);

    const uint8_t* bytes = state.writer.mem;
    size_t size = state.writer.size;
    if (!block.empty()) {
        // The mux turns the simple file into the extended one that may carry
        // chunks of other kinds, and puts ours after the image.
        const WebPData bitstream{state.writer.mem, state.writer.size};
        state.mux = WebPMuxCreate(&bitstream, 0);
        const WebPData chunk{block.data(), block.size()};
        if (!state.mux || WebPMuxSetChunk(state.mux, kChunkTag.data(), &chunk, 0) != WEBP_MUX_OK ||
            WebPMuxAssemble(state.mux, &state.assembled) != WEBP_MUX_OK)
            throw TaboraError(kWriteError);
        bytes = state.assembled.bytes;
        size = state.assembled.size;
    }
    out.Write(bytes, uint32_t(size));
}

void ExportWebp(const ExportJob& job, MacStream& out) {
    const std::vector<uint8_t> block = SignedBlock(job.payload);
    const ArgbImage& image = job.layers ? *job.layers : job.shown;
    const WebpCodec::Options options{
        .keepAlpha = job.layers != nullptr, .lossy = job.lossy, .quality = job.quality};
    WebpCodec::Write(image, out, options, job.rect, block);
}

bool WebpCodec::ReadData(MacStream& in, MacStream& out) {
    uint8_t header[kRiffHeaderBytes];
    if (in.Read(header, kRiffHeaderBytes) != kRiffHeaderBytes ||
        std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WEBP", 4) != 0)
        throw TaboraError(kReadError);
    // The chunks end where the RIFF size says or the file does, whichever
    // comes first; the walk never reads beyond either.
    const uint64_t fileEnd = in.GetLength();
    const uint64_t end = std::min<uint64_t>(fileEnd, 8 + uint64_t(Little32(header + 4)));
    uint64_t at = kRiffHeaderBytes;
    for (int chunks = 0; chunks < kMaxChunks && at + kChunkHeaderBytes <= end; ++chunks) {
        in.Seek(uint32_t(at));
        uint8_t chunk[kChunkHeaderBytes];
        if (in.Read(chunk, kChunkHeaderBytes) != kChunkHeaderBytes) return false;
        const uint32_t size = Little32(chunk + 4);
        const uint64_t dataEnd = at + kChunkHeaderBytes + size;
        if (std::memcmp(chunk, kChunkTag.data(), 4) == 0 && size >= 4 && size <= kMaxBlockBytes) {
            // A block must be whole.
            if (dataEnd > end) return false;
            std::vector<uint8_t> block(size);
            if (in.Read(block.data(), size) != size) return false;
            // The chunk's tag is the signature, and so are its first bytes.
            if (std::memcmp(block.data(), kChunkTag.data(), 4) == 0) {
                out.Write(block.data(), size);
                out.Seek(0);
                return out.ReadULong() == kBlockSignature;
            }
        }
        // Chunks are padded to an even size.
        at = dataEnd + (size & 1);
    }
    return false;
}

}  // namespace tabora
