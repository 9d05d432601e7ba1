// HexDecode on arbitrary text, and the hex round trip on arbitrary bytes.
#include <string_view>

#include "fuzz/FuzzTarget.h"
#include "io/Hex.h"

using namespace tabora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::vector<uint8_t> decoded = HexDecode(text);
    TABORA_FUZZ_CHECK(decoded.size() == size / 2);

    // Text of upper-case digits alone is exactly what HexEncode writes.
    bool canonical = size % 2 == 0;
    for (char c : text) canonical = canonical && ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'));
    if (canonical) TABORA_FUZZ_CHECK(HexEncode(decoded.data(), decoded.size()) == text);

    const std::string encoded = HexEncode(data, size);
    TABORA_FUZZ_CHECK(encoded.size() == 2 * size);
    TABORA_FUZZ_CHECK(HexDecode(encoded) == std::vector<uint8_t>(data, data + size));
    return 0;
}
