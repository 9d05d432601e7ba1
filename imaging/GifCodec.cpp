#include "imaging/GifCodec.h"

#include <gif_lib.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "imaging/LibraryCalls.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "platform/Error.h"

namespace tabora {

namespace {

constexpr int kTableEntries = 256;
// The quantiser may use every entry but the last, which is kept for the
// background (transparent or exact) colour.
constexpr int kQuantisedColours = kTableEntries - 1;
constexpr int kColourResolution = 8;
// A GIF data sub-block holds at most 255 bytes.
constexpr size_t kSubBlockBytes = 255;
// Our block is at most 566 bytes, 1132 characters of hex text. A foreign
// comment may be longer; beyond this it cannot be ours and is not gathered.
constexpr size_t kMaxCommentBytes = 64u << 10;
// giflib keeps a record of every image descriptor it reads and grows that
// array by one record each time, so walking n images may cost n-squared
// copying, and a 3 MB file can hold 200,000 empty images. We write one image;
// a file with more than this many is not ours and is refused.
constexpr int kMaxImages = 1024;

const char kWriteError[] = "error writing GIF file";

// giflib takes a short count as the stream's failure.
int WriteToStream(GifFileType* gif, const GifByteType* bytes, int count) {
    auto* io = static_cast<LibraryStream*>(gif->UserData);
    if (io->pending) return 0;
    return CallParked(io->pending, [&] { io->stream->Write(bytes, uint32_t(count)); }) ? count : 0;
}

// Reports what really arrived, so a truncated file ends in a read error
// rather than in bytes that were never there.
int ReadFromStream(GifFileType* gif, GifByteType* bytes, int count) {
    auto* io = static_cast<LibraryStream*>(gif->UserData);
    if (io->pending || count <= 0) return 0;
    int got = 0;
    CallParked(io->pending, [&] { got = int(io->stream->Read(bytes, uint32_t(count))); });
    return got;
}

struct MapDeleter {
    void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapDeleter>;

// Closes a GIF handle left open by an early return. The encoder's close
// writes the trailer, so a successful write closes explicitly and checks.
struct EncoderCloser {
    void operator()(GifFileType* gif) const { EGifCloseFile(gif, nullptr); }
};
using Encoder = std::unique_ptr<GifFileType, EncoderCloser>;

struct DecoderCloser {
    void operator()(GifFileType* gif) const { DGifCloseFile(gif, nullptr); }
};
using Decoder = std::unique_ptr<GifFileType, DecoderCloser>;

[[noreturn]] void Fail(LibraryStream& io) { ThrowLibraryFailure(io.pending, kWriteError); }

std::mutex& QuantiserMutex() {
    static std::mutex mutex;
    return mutex;
}

// The comment as data sub-blocks of at most 255 bytes, as the format asks.
bool PutComment(GifFileType* gif, const std::string& text) {
    if (EGifPutExtensionLeader(gif, COMMENT_EXT_FUNC_CODE) == GIF_ERROR) return false;
    for (size_t at = 0; at < text.size(); at += kSubBlockBytes) {
        size_t n = std::min(kSubBlockBytes, text.size() - at);
        if (EGifPutExtensionBlock(gif, int(n), text.data() + at) == GIF_ERROR) return false;
    }
    return EGifPutExtensionTrailer(gif) != GIF_ERROR;
}

}  // namespace

void GifCodec::Write(const ArgbImage& image, MacStream& out, bool removeBackground,
                     std::optional<Rect> rect, const uint8_t* block, int16_t blockLength) {
    const Rect r = rect.value_or(image.Extent()).Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError(kWriteError);
    const int w = r.Width(), h = r.Height();
    const size_t count = size_t(w) * size_t(h);

    std::vector<GifByteType> red(count), green(count), blue(count), indices(count);
    for (int y = 0; y < h; ++y) {
        const uint32_t* src = image.Pixels() + size_t(r.top + y) * size_t(image.Width()) + size_t(r.left);
        for (int x = 0; x < w; ++x) {
            size_t i = size_t(y) * size_t(w) + size_t(x);
            red[i] = PixelRed(src[x]);
            green[i] = PixelGreen(src[x]);
            blue[i] = PixelBlue(src[x]);
        }
    }

    MapPtr map(GifMakeMapObject(kTableEntries, nullptr));
    if (!map) throw TaboraError(kWriteError);
    int colours = kQuantisedColours;
    int quantised = GIF_ERROR;
    {
        // The library's quantiser keeps the colour axis it sorts along in a
        // global: two threads quantising at once would sort by each other's
        // axis and write different colours for the same button.
        std::lock_guard<std::mutex> lock(QuantiserMutex());
        quantised = GifQuantizeBuffer(unsigned(w), unsigned(h), &colours, red.data(), green.data(),
                                      blue.data(), indices.data(), map->Colors);
    }
    if (quantised == GIF_ERROR || colours < 0 || colours > kQuantisedColours)
        throw TaboraError(kWriteError);
    // The background entry K, right after the quantised colours.
    const GifByteType k = GifByteType(colours);
    if (removeBackground) {
        map->Colors[k] = GifColorType{255, 0, 0};
        for (int y = 0; y < h; ++y) {
            const uint32_t* src = image.Pixels() + size_t(r.top + y) * size_t(image.Width()) + size_t(r.left);
            for (int x = 0; x < w; ++x) {
                if (PixelAlpha(src[x]) == 0) indices[size_t(y) * size_t(w) + size_t(x)] = k;
            }
        }
    } else {
        // The background keeps its exact colour instead of a quantised one.
        map->Colors[k] = GifColorType{red[0], green[0], blue[0]};
        for (size_t i = 0; i < count; ++i) {
            if (red[i] == red[0] && green[i] == green[0] && blue[i] == blue[0]) indices[i] = k;
        }
    }
    for (int i = colours + 1; i < kTableEntries; ++i) map->Colors[i] = GifColorType{0, 0, 0};
    std::vector<GifByteType>().swap(red);
    std::vector<GifByteType>().swap(green);
    std::vector<GifByteType>().swap(blue);

    LibraryStream io;
    io.stream = &out;
    int error = 0;
    Encoder gif(EGifOpen(&io, WriteToStream, &error));
    if (!gif) Fail(io);
    EGifSetGifVersion(gif.get(), true);
    if (EGifPutScreenDesc(gif.get(), w, h, kColourResolution, 0, map.get()) == GIF_ERROR) Fail(io);

    const size_t blockBytes = block && blockLength > 0 ? size_t(blockLength) : 0;
    if (!PutComment(gif.get(), HexEncode(block, blockBytes))) Fail(io);
    if (removeBackground) {
        // Transparent colour flag, disposal 0, no user input; delay 0; index K.
        const GifByteType control[4] = {0x01, 0x00, 0x00, k};
        if (EGifPutExtension(gif.get(), GRAPHICS_EXT_FUNC_CODE, 4, control) == GIF_ERROR) Fail(io);
    }
    if (EGifPutImageDesc(gif.get(), 0, 0, w, h, false, nullptr) == GIF_ERROR) Fail(io);
    for (int y = 0; y < h; ++y) {
        if (EGifPutLine(gif.get(), indices.data() + size_t(y) * size_t(w), w) == GIF_ERROR) Fail(io);
    }
    // Closing writes the trailer; a failure there is a failed save too.
    if (EGifCloseFile(gif.release(), &error) == GIF_ERROR) Fail(io);
    RethrowParked(io.pending);
}

void ExportGif(const ExportJob& job, MacStream& out) {
    const std::vector<uint8_t> block = SignedBlock(job.payload);
    const auto blockLength = int16_t(block.size());
    if (!job.layers) {
        GifCodec::Write(job.shown, out, false, job.rect, block.data(), blockLength);
        return;
    }
    // Alpha from the layers alone marks exactly the pixels no layer touches;
    // the colours are the preview's, background blended into soft edges.
    ArgbImage merged(job.shown.Width(), job.shown.Height());
    uint32_t* pixels = merged.Pixels();
    const uint32_t* shown = job.shown.Pixels();
    const uint32_t* layers = job.layers->Pixels();
    const size_t count = size_t(merged.Width()) * size_t(merged.Height());
    for (size_t i = 0; i < count; ++i) pixels[i] = (shown[i] & 0xFFFFFF00u) | (layers[i] & 0xFFu);
    GifCodec::Write(merged, out, true, job.rect, block.data(), blockLength);
}

// Walks the records up to the trailer without decoding any pixels: the block
// only needs the extensions in front of the first image, and skipping the
// compressed data (rather than reading the whole file into memory) keeps a
// file that claims a huge picture from costing a huge allocation. The walk to
// the trailer still makes a truncated or damaged file fail.
bool GifCodec::ReadData(MacStream& in, MacStream& out) {
    LibraryStream io;
    io.stream = &in;
    int error = 0;
    Decoder gif(DGifOpen(&io, ReadFromStream, &error));
    if (!gif) {
        RethrowParked(io.pending);
        return false;
    }

    bool sawImage = false;
    bool sawExtension = false;
    bool firstIsComment = false;
    bool commentTooLong = false;
    std::string comment;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
        if (type == TERMINATE_RECORD_TYPE) {
            gif.reset();
            RethrowParked(io.pending);
            if (!sawImage || !firstIsComment || commentTooLong) return false;
            std::vector<uint8_t> bytes = HexDecode(comment);
            out.Write(bytes.data(), uint32_t(bytes.size()));
            out.Seek(0);
            return out.ReadULong() == kBlockSignature;
        }
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* data = nullptr;
            if (DGifGetExtension(gif.get(), &code, &data) == GIF_ERROR) break;
            // Only the extensions in front of the first image count, and of
            // those only the very first.
            const bool gather = !sawImage && !sawExtension && code == COMMENT_EXT_FUNC_CODE;
            if (!sawImage && !sawExtension) firstIsComment = gather;
            if (!sawImage) sawExtension = true;
            bool failed = false;
            while (data) {
                if (gather && !commentTooLong) {
                    if (comment.size() + data[0] > kMaxCommentBytes) {
                        commentTooLong = true;
                    } else {
                        comment.append(reinterpret_cast<const char*>(data + 1), data[0]);
                    }
                }
                if (DGifGetExtensionNext(gif.get(), &data) == GIF_ERROR) {
                    failed = true;
                    break;
                }
            }
            if (failed) break;
        } else if (type == IMAGE_DESC_RECORD_TYPE) {
            if (gif->ImageCount >= kMaxImages) break;
            if (DGifGetImageDesc(gif.get()) == GIF_ERROR) break;
            int codeSize = 0;
            GifByteType* codes = nullptr;
            if (DGifGetCode(gif.get(), &codeSize, &codes) == GIF_ERROR) break;
            bool failed = false;
            while (codes) {
                if (DGifGetCodeNext(gif.get(), &codes) == GIF_ERROR) {
                    failed = true;
                    break;
                }
            }
            if (failed) break;
            sawImage = true;
        } else {
            break;
        }
    }
    gif.reset();
    RethrowParked(io.pending);
    return false;
}

}  // namespace tabora
