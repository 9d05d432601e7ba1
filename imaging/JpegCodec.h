#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "imaging/Formats.h"
#include "io/ButtonSettings.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

class CDib;

// A 24-bit bottom-up blue-green-red pixel buffer to decode into (a CDib's
// pixels). A null `bits` only reads the header.
struct JpegDecodeTarget {
    uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t rowBytes = 0;
};

// Baseline JPEG with the button block in an APP12 marker right after the
// JFIF header. Owns the library's compressor and decompressor state for its
// lifetime; every library failure ends the call with TaboraError("fatal JPEG
// error") and releases that state.
class JpegCodec {
public:
    // Reading and decoding ignore the quality. `optimize` writes Huffman
    // tables made for the picture (smaller, the same pixels).
    explicit JpegCodec(int16_t quality = kMaxJpegQuality, bool optimize = false);
    ~JpegCodec();
    JpegCodec(const JpegCodec&) = delete;
    JpegCodec& operator=(const JpegCodec&) = delete;

    // Writes the part `rect` of `image` (whole image when absent); quality 0
    // is taken as 1. A null block writes no APP12 marker.
    void Write(const ArgbImage& image, MacStream& out, std::optional<Rect> rect,
               const uint8_t* block, int16_t blockLength);
    // Finds the first APP12 marker that starts with "Tbra" and copies it into
    // `out`, leaving `out` just after the signature. False without one.
    bool ReadData(MacStream& in, MacStream& out);
    // Decodes the picture into `rect` of a 24-bit bitmap (the archive tiles).
    // The first use on a fresh decoder accepts a tables-only stream and stops
    // there. Pixels outside the bitmap are never touched.
    void Decode(MacStream& in, CDib& dib, Rect rect);
    void DecodeInto(MacStream& in, const JpegDecodeTarget& target, Rect rect);

    struct State;  // the library's objects; defined with the codec

private:
    // Releases the library's objects after a fatal error and throws.
    [[noreturn]] void Fail();

    std::unique_ptr<State> state_;
    int16_t quality_;
    bool optimize_;
};

// The registry's exporter and block reader.
void ExportJpeg(const ExportJob& job, MacStream& out);
bool ReadJpegBlock(MacStream& in, MacStream& block);

}  // namespace tabora
