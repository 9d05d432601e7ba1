#include "imaging/PngChunks.h"

#include <zlib.h>

namespace tabora {

namespace {

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

}  // namespace

void AppendBig32(PngBytes& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void AppendChunk(PngBytes& file, const char* type, std::span<const uint8_t> data) {
    AppendBig32(file, uint32_t(data.size()));
    const size_t start = file.size();
    file.insert(file.end(), type, type + 4);
    file.insert(file.end(), data.begin(), data.end());
    const uLong crc = crc32_z(crc32(0, nullptr, 0), file.data() + start, file.size() - start);
    AppendBig32(file, uint32_t(crc));
}

PngBytes PngHead(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                 std::string_view keyword, std::string_view text) {
    PngBytes file(kPngSignature, kPngSignature + sizeof kPngSignature);
    PngBytes header;
    AppendBig32(header, width);
    AppendBig32(header, height);
    header.insert(header.end(), {bitDepth, colourType, 0, 0, 0});
    AppendChunk(file, "IHDR", header);
    if (!keyword.empty()) {
        PngBytes textData(keyword.begin(), keyword.end());
        textData.push_back(0);
        textData.insert(textData.end(), text.begin(), text.end());
        AppendChunk(file, "tEXt", textData);
    }
    return file;
}

}  // namespace tabora
