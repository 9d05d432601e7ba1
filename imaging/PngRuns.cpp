#include "imaging/PngRuns.h"

#include <zlib.h>

#include <algorithm>

#include "imaging/PngChunks.h"
#include "platform/Error.h"

namespace tabora {

namespace {

const char kWriteError[] = "error writing PNG file";

// A quick level: state files and sprites are made many at a time, and on
// our buttons the strongest levels save a few per cent for twice the time.
constexpr int kRunLevel = 1;
constexpr int kMemLevel = 8;
// Filter types. The first row stands alone. In an opaque picture every
// other row is told by its difference from the row above (cheap, and close
// to the best choice on bodies that change little from row to row); a
// picture without its background keeps its rows as they are, which on our
// buttons is both smaller and quicker to compress: the clear surround is
// already runs of zeros, and the soft edges differ from row to row.
constexpr uint8_t kFilterNone = 0, kFilterUp = 2;
// The stream's header (a 32 KB window, the quickest level flagged) and the
// last block: empty, fixed codes, final.
constexpr uint8_t kZlibHeader[2] = {0x78, 0x01};
constexpr uint8_t kFinalBlock[2] = {0x03, 0x00};

// The rows behind their filter bytes.
std::vector<uint8_t> FilteredRows(const ArgbImage& image, Rect r, bool keepAlpha) {
    const size_t step = keepAlpha ? 4 : 3;
    const size_t width = size_t(r.Width()), rowBytes = width * step;
    std::vector<uint8_t> out((rowBytes + 1) * size_t(r.Height()));
    std::vector<uint8_t> rows[2] = {std::vector<uint8_t>(rowBytes), std::vector<uint8_t>(rowBytes)};
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const size_t index = size_t(y - r.top);
        std::vector<uint8_t>& row = rows[index % 2];
        const uint32_t* src = image.Pixels() + size_t(y) * size_t(image.Width()) + size_t(r.left);
        uint8_t* bytes = row.data();
        for (size_t x = 0; x < width; ++x, bytes += step) {
            const uint32_t p = src[x];
            bytes[0] = PixelRed(p);
            bytes[1] = PixelGreen(p);
            bytes[2] = PixelBlue(p);
            if (keepAlpha) bytes[3] = PixelAlpha(p);
        }
        uint8_t* dest = out.data() + index * (rowBytes + 1);
        if (index == 0 || keepAlpha) {
            dest[0] = kFilterNone;
            std::copy(row.begin(), row.end(), dest + 1);
        } else {
            dest[0] = kFilterUp;
            const uint8_t* above = rows[(index + 1) % 2].data();
            for (size_t i = 0; i < rowBytes; ++i) dest[1 + i] = uint8_t(row[i] - above[i]);
        }
    }
    return out;
}

}  // namespace

PngRun MakePngRun(const ArgbImage& image, Rect rect, bool keepAlpha) {
    const Rect r = rect.Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError(kWriteError);
    PngRun run;
    run.width = uint32_t(r.Width());
    run.height = uint32_t(r.Height());
    run.alpha = keepAlpha;
    const std::vector<uint8_t> filtered = FilteredRows(image, r, keepAlpha);
    run.filteredLength = filtered.size();
    run.adler = uint32_t(adler32_z(adler32(0, nullptr, 0), filtered.data(), filtered.size()));

    z_stream z{};
    // Raw blocks: the stream's header and check are the file's to write.
    if (deflateInit2(&z, kRunLevel, Z_DEFLATED, -MAX_WBITS, kMemLevel, Z_DEFAULT_STRATEGY) != Z_OK)
        throw TaboraError(kWriteError);
    // Room for everything and the flush's empty block.
    run.deflated.resize(deflateBound(&z, uLong(filtered.size())) + 16);
    z.next_in = const_cast<Bytef*>(filtered.data());
    z.avail_in = uInt(filtered.size());
    z.next_out = run.deflated.data();
    z.avail_out = uInt(run.deflated.size());
    // A sync flush ends the data on a byte boundary with no final block, so
    // another run can follow.
    const int status = deflate(&z, Z_SYNC_FLUSH);
    const bool whole = status == Z_OK && z.avail_in == 0 && z.avail_out > 0;
    run.deflated.resize(z.total_out);
    deflateEnd(&z);
    if (!whole) throw TaboraError(kWriteError);
    return run;
}

void WritePngOfRuns(std::span<const PngRun* const> runs, std::string_view keyword,
                    std::string_view text, MacStream& out) {
    if (runs.empty()) throw TaboraError(kWriteError);
    const PngRun& first = *runs.front();
    uint64_t height = 0, length = 0;
    uLong adler = adler32(0, nullptr, 0);
    for (const PngRun* run : runs) {
        if (run->width != first.width || run->alpha != first.alpha) throw TaboraError(kWriteError);
        height += run->height;
        length += run->deflated.size();
        adler = adler32_combine(adler, run->adler, z_off_t(run->filteredLength));
    }
    if (height > UINT32_MAX / 2) throw TaboraError(kWriteError);
    PngBytes file = PngHead(first.width, uint32_t(height), 8, first.alpha ? kPngRgbAlpha : kPngRgb,
                            keyword, text);
    // The stream: its header, the runs, the last block and the check.
    PngBytes data(sizeof kZlibHeader + size_t(length) + sizeof kFinalBlock + 4);
    uint8_t* at = std::copy_n(kZlibHeader, sizeof kZlibHeader, data.data());
    for (const PngRun* run : runs) at = std::copy(run->deflated.begin(), run->deflated.end(), at);
    at = std::copy_n(kFinalBlock, sizeof kFinalBlock, at);
    for (int shift = 24; shift >= 0; shift -= 8) *at++ = uint8_t(adler >> shift);
    AppendChunk(file, "IDAT", data);
    AppendChunk(file, "IEND", {});
    out.Write(file.data(), uint32_t(file.size()));
}

}  // namespace tabora
