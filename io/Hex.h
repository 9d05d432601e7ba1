#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tabora {

// Upper-case hexadecimal text of a byte block, high nibble first.
std::string HexEncode(const uint8_t* bytes, size_t count);

// The inverse, with the reader's historical leniency kept: "A".."F" count as
// their code minus 55 and every other character as its code minus 48, so
// lower-case digits decode to other values ("0aFF" gives 31 FF); the byte is
// the first value shifted left by four, kept to 8 bits, OR the second. An odd
// last character is dropped. The decoded count is returned as the vector size.
std::vector<uint8_t> HexDecode(std::string_view text);

}  // namespace tabora
