#pragma once
#include <cstdint>
#include <memory>
#include <span>

#include "io/ButtonSettings.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"
#include "render/ButtonStyle.h"

namespace tabora {

// One catalogue entry. The rectangle is in archive-strip pixels.
struct ArchiveEntry {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
    int16_t resourceNumber = 0;  // raw resource 8000 + this; 0: no style data
    int16_t defaultStretch = 0;
    int16_t stretchColumn = -1;
};

// The catalogue of built-in styles, numbered 1..kEntryCount; 0 is no style.
// Buttons get their styles from it through StyleSource.
class Archive : public StyleSource {
public:
    static constexpr int32_t kEntryCount = kLastStyleNumber;
    static constexpr int32_t kStripWidth = 196;
    static constexpr int32_t kStripHeight = 15600;
    // The archive view scrolls over this many rows; the strip's last 70 rows
    // are never shown.
    static constexpr int32_t kVisibleStripHeight = 15530;
    static constexpr int32_t kTileHeight = 600;
    static constexpr int32_t kTileCount = 26;
    static constexpr int kTileResourceBase = 10000;
    static constexpr int kStyleResourceBase = 8000;
    // Every resource we write; versions up to 0x0101 carry no stretch values.
    static constexpr uint16_t kStyleVersion = 0x0102;
    static constexpr uint16_t kLastVersionWithoutStretch = 0x0101;
    // A body and its shadow must fit the 174 x 74 canvas with 4 pixels to
    // spare on each side; a style image larger than this is damaged.
    static constexpr int32_t kMaxStyleWidth = 166;
    static constexpr int32_t kMaxStyleHeight = 66;

    // The lowest-numbered entry whose rectangle holds the strip point, or 0.
    int32_t HitTest(int32_t x, int32_t y) const;
    // The same rule over any table whose element i is style i + 1.
    static int32_t HitTestTable(std::span<const ArchiveEntry> table, int32_t x, int32_t y);
    // The entry of a style number, or null outside 1..kEntryCount.
    const ArchiveEntry* Entry(int32_t styleNumber) const;
    bool HasStyleData(int32_t styleNumber) const;
    // A new style, or null for 0, an entry without data, a number outside the
    // catalogue or a resource that is missing or damaged.
    std::unique_ptr<ButtonStyle> Load(int32_t styleNumber) const override;
    // The 2x and 3x art (LoadScaledStyle, styles/ScaledArt.h).
    std::unique_ptr<ButtonStyle> LoadScaled(int32_t styleNumber, int scale) const override;

    // Reads a style resource (version, scrambled payload, stretch values).
    // Null when the bytes do not make a usable style.
    static std::unique_ptr<ButtonStyle> ReadStyle(MacStream& stream);
    // Writes a style resource of the current version: the counterpart of
    // ReadStyle, used by the art generator and the tests.
    static void WriteStyle(MacStream& stream, const ArgbImage& image, int16_t defaultStretch,
                           int16_t stretchColumn);
};

// The process-wide catalogue, for the programs to hand to their buttons.
const Archive& GetArchive();

// The payload scrambling of style resources: a bit-pair swap and an XOR with
// a running key. Unscramble(Scramble(x)) == x.
uint8_t SwapBitPairs(uint8_t b);
void ScrambleStyleBytes(uint8_t* bytes, size_t count);
void UnscrambleStyleBytes(uint8_t* bytes, size_t count);

}  // namespace tabora
