#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace tabora {

// The pixel blocks of the art drawn for finer screens are stored deflated.
// Button bodies are smooth and repeat themselves along every row, so zlib
// alone packs them some twenty times, and inflating straight into the
// picture's own pixels costs about as much as copying them twice.

// Deflates `count` bytes (zlib format, best compression). The same input
// gives the same bytes on every run.
std::vector<uint8_t> DeflatePixels(const void* bytes, size_t count);

// Inflates `packed` into exactly `count` bytes at `out`. False, with `out`
// in an unspecified state, unless `packed` is one complete, undamaged zlib
// stream (its checksum included) that yields exactly `count` bytes and ends
// where `packed` ends.
bool InflatePixels(std::span<const uint8_t> packed, void* out, size_t count);

}  // namespace tabora
