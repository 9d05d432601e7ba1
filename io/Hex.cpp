#include "io/Hex.h"

namespace tabora {

namespace {
char Digit(uint8_t nibble) { return char(nibble < 10 ? nibble + 48 : nibble + 55); }
uint8_t Value(char c) {
    uint8_t u = uint8_t(c);
    return uint8_t(u >= 'A' && u <= 'F' ? u - 55 : u - 48);
}
}  // namespace

std::string HexEncode(const uint8_t* bytes, size_t count) {
    std::string text(count * 2, '\0');
    for (size_t i = 0; i < count; ++i) {
        text[2 * i] = Digit(bytes[i] >> 4);
        text[2 * i + 1] = Digit(bytes[i] & 0x0F);
    }
    return text;
}

std::vector<uint8_t> HexDecode(std::string_view text) {
    std::vector<uint8_t> bytes(text.size() / 2);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = uint8_t(uint8_t(Value(text[2 * i]) << 4) | Value(text[2 * i + 1]));
    }
    return bytes;
}

}  // namespace tabora
