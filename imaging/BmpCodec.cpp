#include "imaging/BmpCodec.h"

#include "io/ButtonData.h"

#include <vector>

#include "io/CDib.h"
#include "platform/Error.h"

namespace tabora {

namespace {

constexpr uint32_t kHeaderBytes = 14 + 40;
// The settings follow the two headers and the signature.
constexpr int64_t kSettingsOffset = kHeaderBytes + 4;
// The block length is a signed 16-bit count; our settings are at most 562
// bytes, and a pixel offset implying more than this is not one of ours.
constexpr int64_t kMaxSettingsBytes = 32767;

uint32_t Little32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

}  // namespace

void BmpCodec::Write(const ArgbImage& image, MacStream& out, std::optional<Rect> rect,
                     const uint8_t* block, int16_t blockLength) {
    const Rect r = rect.value_or(image.Extent()).Intersect(image.Extent());
    if (r.IsEmpty()) throw TaboraError("error writing BMP file");
    const int32_t w = r.Width(), h = r.Height();
    CDib dib(w, h, 24);
    if (!dib.AllocateImage() || !dib.Bits()) throw TaboraError("error writing BMP file");
    uint8_t* bits = dib.Bits();
    const size_t rowBytes = dib.GetRowBytes();
    for (int32_t y = 0; y < h; ++y) {
        const uint32_t* src = image.Pixels() + size_t(r.top + y) * size_t(image.Width()) + size_t(r.left);
        // Bottom-up storage: the top source row is the last bitmap row.
        uint8_t* dest = bits + size_t(h - 1 - y) * rowBytes;
        for (int32_t x = 0; x < w; ++x) {
            dest[3 * x] = PixelBlue(src[x]);
            dest[3 * x + 1] = PixelGreen(src[x]);
            dest[3 * x + 2] = PixelRed(src[x]);
        }
    }
    if (!dib.Write(out, block, blockLength)) throw TaboraError("error writing BMP file");
}

void ExportBmp(const ExportJob& job, MacStream& out) {
    const std::vector<uint8_t> block = SignedBlock(job.payload);
    BmpCodec::Write(job.shown, out, job.rect, block.data(), int16_t(block.size()));
}

bool BmpCodec::ReadData(MacStream& in, MacStream& out) {
    uint8_t headers[kHeaderBytes];
    if (in.Read(headers, kHeaderBytes) != kHeaderBytes) return false;
    in.ClearTruncated();
    if (in.ReadULong() != kBlockSignature || in.Truncated()) return false;
    // Only the pixel offset is looked at; every other field may be anything.
    const int64_t length = int64_t(Little32(headers + 10)) - kSettingsOffset;
    if (length < 0 || length > kMaxSettingsBytes) return false;
    // A file shorter than its offset claims is damaged, not a short block.
    if (int64_t(in.GetLength()) - int64_t(in.Position()) < length) return false;
    std::vector<uint8_t> settings(static_cast<size_t>(length));
    if (in.Read(settings.data(), uint32_t(length)) != uint32_t(length)) return false;
    out.Write(settings.data(), uint32_t(length));
    out.Seek(0);
    return true;
}

}  // namespace tabora
