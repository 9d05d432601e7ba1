#include "platform/PackedPixels.h"

#include <zlib.h>

#include <climits>
#include <stdexcept>

namespace tabora {

std::vector<uint8_t> DeflatePixels(const void* bytes, size_t count) {
    uLongf packedSize = compressBound(uLong(count));
    std::vector<uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, static_cast<const Bytef*>(bytes), uLong(count),
                  Z_BEST_COMPRESSION) != Z_OK)
        throw std::runtime_error("cannot deflate a pixel block");
    packed.resize(packedSize);
    return packed;
}

bool InflatePixels(std::span<const uint8_t> packed, void* out, size_t count) {
    // zlib counts in unsigned int; our largest picture is a few megabytes.
    if (packed.size() > UINT_MAX || count > UINT_MAX) return false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK) return false;
    z.next_in = const_cast<Bytef*>(packed.data());
    z.avail_in = uInt(packed.size());
    z.next_out = static_cast<Bytef*>(out);
    z.avail_out = uInt(count);
    // One call: the output buffer holds the whole picture, so anything but
    // the end of the stream means damage, a stream too long for the picture
    // (which stops at a full buffer) or one cut short.
    const int result = inflate(&z, Z_FINISH);
    const bool whole = result == Z_STREAM_END && z.avail_out == 0 && z.avail_in == 0;
    inflateEnd(&z);
    return whole;
}

}  // namespace tabora
