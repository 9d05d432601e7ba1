#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "io/ButtonSettings.h"

namespace tabora {

class MacStream;
class ButtonStates;

// Payload versions of the button data block.
constexpr int16_t kPayloadFirstVersion = 0x0100;
constexpr int16_t kPayloadExportOptions = 0x0101;  // remove background, JPEG quality
constexpr int16_t kPayloadExactSize = 0x0102;      // the size as an integer
constexpr int16_t kPayloadShadowArea = 0x0103;     // include shadow area
// The settings of a button without states of its own: every byte as before.
constexpr int16_t kPayloadVersion = kPayloadShadowArea;
// The 0x0103 payload followed by a state table (io/ButtonStates.h).
constexpr int16_t kPayloadStates = 0x0104;

// The signature in front of the payload ("Tbra", big-endian).
constexpr uint32_t kBlockSignature = 0x54627261;
// The signature as the letters it spells: the keyword of the PNG text chunk.
constexpr std::array<char, 5> SignatureText() {
    return {char(kBlockSignature >> 24), char(kBlockSignature >> 16), char(kBlockSignature >> 8),
            char(kBlockSignature), '\0'};
}

// Whether `text` is well-formed UTF-8 (no overlong forms, surrogates or code
// points above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The longest prefix of `text` of at most maxBytes bytes that does not end
// inside a character. `text` must be valid UTF-8.
std::string_view CutUtf8(std::string_view text, size_t maxBytes);

// Single-byte text of the older writers (Windows-1252) as UTF-8.
std::string Windows1252ToUtf8(std::string_view text);

// A text field as the settings hold it: up to the first NUL, UTF-8 (text that
// is not valid UTF-8 is taken as Windows-1252), at most 255 bytes cut at a
// character boundary.
std::string SettingText(std::string_view text);

// The size scale stored in the block's float: sqrt(size x 50) x 0.01 in
// double precision, narrowed to single. 200 gives 1.0.
float SizeScale(int32_t buttonSize);
// The size a stored scale stands for: the float widened to double, squared,
// times 200, truncated. NaN gives 200; the result is kept within
// [lowest, highest] so no out-of-range double is ever converted.
int32_t SizeFromScale(float scale, int32_t lowest, int32_t highest);

// The block of the GIF, JPEG and BMP containers: the signature, then the
// payload. (PNG stores the payload alone, the signature being its keyword.)
std::vector<uint8_t> SignedBlock(std::span<const uint8_t> payload);

// The settings payload of the data block, always written as the newest
// version (kPayloadVersion).
void WriteSettings(MacStream& stream, const ButtonSettings& settings);
// The payload of a button with its states: exactly WriteSettings when every
// state is the default, else the same fields as version 0x0104 followed by
// the state table.
void WriteSettings(MacStream& stream, const ButtonSettings& settings, const ButtonStates& states);

// Reads a payload of version 0x0100..0x0103 over `settings`: the fields an
// older version lacks keep their values. Values no control could have
// produced are clamped to the nearest one that it could; the size only to
// what some style allows, a button keeps it to its own style's range when
// the settings are applied. A payload that ends early changes nothing and
// gives nothing. Returns the version as stored.
std::optional<int> ReadSettings(MacStream& stream, ButtonSettings& settings);
// ReadSettings, then the state table of a 0x0104 payload into `states`
// (default states for older payloads, or a table this reader cannot use).
std::optional<int> ReadSettings(MacStream& stream, ButtonSettings& settings, ButtonStates& states);

}  // namespace tabora
