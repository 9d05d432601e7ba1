#include "styles/Archive.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/Resources.h"
#include "styles/Catalogue.h"

namespace tabora {

namespace {

// The running key of the payload scrambling. Any odd step walks through all
// 256 key values before repeating.
constexpr uint8_t kScrambleSeed = 0x5B;
constexpr uint8_t kScrambleStep = 0x3D;

// "null" as a count word stands for no block.
constexpr uint8_t kNullCount[4] = {'n', 'u', 'l', 'l'};

constexpr uint32_t kPayloadHeaderBytes = 8;  // width, height, pixel byte count

}  // namespace

uint8_t SwapBitPairs(uint8_t b) { return uint8_t(((b & 0x55) << 1) | ((b >> 1) & 0x55)); }

// The key is computed from the index rather than carried along, which lets
// the compiler run the loop on many bytes at once.
void ScrambleStyleBytes(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t key = uint8_t(kScrambleSeed + uint8_t(i) * kScrambleStep);
        bytes[i] = SwapBitPairs(uint8_t(bytes[i] ^ key));
    }
}

void UnscrambleStyleBytes(uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        const uint8_t key = uint8_t(kScrambleSeed + uint8_t(i) * kScrambleStep);
        bytes[i] = uint8_t(SwapBitPairs(bytes[i]) ^ key);
    }
}

int32_t Archive::HitTestTable(std::span<const ArchiveEntry> table, int32_t x, int32_t y) {
    // The rectangles may overlap; the lowest number wins, so a plain scan in
    // number order is the rule itself. 930 comparisons take a microsecond.
    for (size_t i = 0; i < table.size(); ++i) {
        const ArchiveEntry& e = table[i];
        if (e.left <= x && x < e.right && e.top <= y && y < e.bottom) return int32_t(i + 1);
    }
    return 0;
}

int32_t Archive::HitTest(int32_t x, int32_t y) const {
    return HitTestTable(CatalogueTable(), x, y);
}

const ArchiveEntry* Archive::Entry(int32_t styleNumber) const {
    if (styleNumber < 1 || styleNumber > kEntryCount) return nullptr;
    return &CatalogueTable()[size_t(styleNumber - 1)];
}

bool Archive::HasStyleData(int32_t styleNumber) const {
    const ArchiveEntry* e = Entry(styleNumber);
    return e && e->resourceNumber != 0;
}

std::unique_ptr<ButtonStyle> Archive::Load(int32_t styleNumber) const {
    if (!HasStyleData(styleNumber)) return nullptr;
    const int id = kStyleResourceBase + Entry(styleNumber)->resourceNumber;
    ResourceBytes bytes = Resources().FindRaw(id);
    if (bytes.empty() || bytes.size() > UINT32_MAX) return nullptr;
    // Read in place: the resource stays where the program was loaded.
    PtrMacStream stream(bytes.data(), uint32_t(bytes.size()), false);
    std::unique_ptr<ButtonStyle> style = ReadStyle(stream);
    if (style) {
        const Rect area = CatalogueItems()[size_t(styleNumber - 1)].caption.area;
        if (area.Intersect(style->image.Extent()) == area) style->captionArea = area;
    }
    return style;
}

std::unique_ptr<ButtonStyle> Archive::ReadStyle(MacStream& stream) {
    const uint16_t version = stream.ReadUShort();
    Handle payload = stream.ReadHandle();
    if (stream.Truncated() || payload.isNull || payload.size < kPayloadHeaderBytes) return nullptr;
    UnscrambleStyleBytes(payload.data.get(), payload.size);

    PtrMacStream inner(payload.data.get(), payload.size, false);
    const int32_t width = inner.ReadShort();
    const int32_t height = inner.ReadShort();
    uint8_t count[4];
    inner.Read(count, 4);
    if (std::memcmp(count, kNullCount, 4) == 0) return nullptr;
    const uint32_t pixelBytes = (uint32_t(count[0]) << 24) | (uint32_t(count[1]) << 16) |
                                (uint32_t(count[2]) << 8) | count[3];
    // Only a complete picture of a size the canvas can hold is a style; the
    // pixel count must match exactly, so no row is ever read half.
    if (width < 1 || width > kMaxStyleWidth || height < 1 || height > kMaxStyleHeight)
        return nullptr;
    if (pixelBytes != uint32_t(width) * uint32_t(height) * 4u ||
        pixelBytes > payload.size - kPayloadHeaderBytes)
        return nullptr;

    auto style = std::make_unique<ButtonStyle>();
    style->image.Allocate(width, height);
    // The stored bytes A, R, G, B are the in-memory order of a pixel word.
    inner.Read(style->image.Pixels(), pixelBytes);

    if (version > kLastVersionWithoutStretch) {
        const int32_t defaultStretch = stream.ReadShort();
        const int32_t stretchColumn = stream.ReadShort();
        if (stream.Truncated()) return nullptr;
        // Foreign values are made harmless rather than trusted: a column
        // outside the picture cannot be repeated, and widening may not push
        // the body past the canvas.
        const bool inside = stretchColumn >= 0 && stretchColumn < width;
        style->stretchColumn = int16_t(inside ? stretchColumn : -1);
        style->defaultStretch = int16_t(std::clamp(defaultStretch, 0, kMaxStyleWidth - width));
    }
    return style;
}

void Archive::WriteStyle(MacStream& stream, const ArgbImage& image, int16_t defaultStretch,
                         int16_t stretchColumn) {
    const uint32_t pixelBytes = uint32_t(image.Width()) * uint32_t(image.Height()) * 4u;
    PtrMacStream payload;
    payload.WriteShort(image.Width());
    payload.WriteShort(image.Height());
    payload.WriteLong(pixelBytes);
    payload.Write(image.Pixels(), pixelBytes);
    std::vector<uint8_t> scrambled(payload.Data(), payload.Data() + payload.Length());
    ScrambleStyleBytes(scrambled.data(), scrambled.size());

    stream.WriteShort(kStyleVersion);
    stream.WriteLong(uint32_t(scrambled.size()));
    stream.Write(scrambled.data(), uint32_t(scrambled.size()));
    stream.WriteShort(defaultStretch);
    stream.WriteShort(stretchColumn);
}

const Archive& GetArchive() {
    static const Archive archive;
    return archive;
}

}  // namespace tabora
