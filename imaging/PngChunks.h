#pragma once
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace tabora {

// The pieces of a PNG file for the writers that lay out their own chunks.
using PngBytes = std::vector<uint8_t>;

// PNG colour types.
constexpr uint8_t kPngGrey = 0, kPngRgb = 2, kPngIndexed = 3, kPngGreyAlpha = 4, kPngRgbAlpha = 6;

void AppendBig32(PngBytes& out, uint32_t value);
// A chunk: its length, type, data and the check over type and data.
void AppendChunk(PngBytes& file, const char* type, std::span<const uint8_t> data);
// The signature, the header, and the text chunk `keyword` / `text` (none
// when `keyword` is empty), as the ordinary writer lays them out.
PngBytes PngHead(uint32_t width, uint32_t height, uint8_t bitDepth, uint8_t colourType,
                 std::string_view keyword, std::string_view text);

}  // namespace tabora
