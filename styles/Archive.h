#pragma once
#include <cstdint>
#include <memory>

#include "io/MacStream.h"
#include "render/ArgbImage.h"

namespace tabora {

// One loaded built-in style: the body picture with straight alpha and how it
// may be widened.
struct ButtonStyle {
    ArgbImage image;
    int16_t defaultStretch = 0;  // widening a newly chosen style starts with
    int16_t stretchColumn = -1;  // column repeated to widen; -1: cannot widen
};

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
class Archive {
public:
    static constexpr int32_t kEntryCount = 930;
    static constexpr int32_t kStripWidth = 196;
    static constexpr int32_t kStripHeight = 15600;

    virtual ~Archive() = default;

    // The lowest-numbered entry whose rectangle holds the strip point, or 0.
    int32_t HitTest(int32_t x, int32_t y) const;
    // The entry of a style number, or null outside 1..kEntryCount.
    const ArchiveEntry* Entry(int32_t styleNumber) const;
    bool HasStyleData(int32_t styleNumber) const;
    // A new style, or null for 0, an entry without data, a number outside the
    // catalogue or a resource that is missing or damaged.
    std::unique_ptr<ButtonStyle> Load(int32_t styleNumber) const;

    // Reads a style resource (version, scrambled payload, stretch values).
    // Null when the bytes do not make a usable style.
    static std::unique_ptr<ButtonStyle> ReadStyle(MacStream& stream);
};

// The process-wide catalogue.
const Archive& GetArchive();

// The payload scrambling of style resources: a bit-pair swap and an XOR with
// a running key. Unscramble(Scramble(x)) == x.
uint8_t SwapBitPairs(uint8_t b);
void ScrambleStyleBytes(uint8_t* bytes, size_t count);
void UnscrambleStyleBytes(uint8_t* bytes, size_t count);

}  // namespace tabora
