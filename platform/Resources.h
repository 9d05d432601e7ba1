#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tabora {

using ResourceBytes = std::span<const uint8_t>;

// The program's built-in resources: numbered raw-data blocks (styles, archive
// tiles) and named bitmaps, each bitmap stored as a packed device-independent
// bitmap (40-byte info header, colour table, bottom-up rows) so it can be
// attached to a CDib in place. The bytes live in the executable and stay
// valid for the life of the process; nothing is copied.
//
// Blob layout (little-endian): "TBRS", version 1, entry count, then the
// entries sorted by kind, id and name, each 48 bytes (kind, id, offset, size,
// 32-byte NUL-padded name), then the data, each block 16-byte aligned.
class ResourceTable {
public:
    ResourceTable() = default;
    // A blob that fails validation yields an empty table.
    ResourceTable(const uint8_t* blob, size_t size);

    // An empty span when the resource does not exist.
    ResourceBytes FindRaw(int id) const;
    ResourceBytes FindBitmap(std::string_view name) const;
    // The same resource drawn for a screen with `scale` device pixels per CSS
    // pixel; scale 1 is FindRaw itself.
    ResourceBytes FindRaw(int id, int scale) const;
    // An interface picture drawn at `scale` (2 or 3): a packed picture
    // (styles/ScaledArt.h), not a bitmap. Scale 1 pictures are bitmaps.
    ResourceBytes FindPicture(std::string_view name, int scale) const;
    size_t Count() const { return count_; }

    static constexpr uint32_t kRaw = 1;
    static constexpr uint32_t kBitmap = 2;
    // The art drawn for finer screens sits beside the 1x art under the same
    // number or name; the scale in the kind's second byte tells it apart, and
    // sorts it after every 1x entry.
    static constexpr int kMaxScale = 255;
    static constexpr uint32_t ScaledKind(uint32_t kind, int scale) {
        return scale <= 1 ? kind : kind | (uint32_t(scale) << 8);
    }
    static constexpr size_t kEntrySize = 48;
    static constexpr size_t kNameSize = 32;

private:
    ResourceBytes Find(uint32_t kind, uint32_t id, std::string_view name) const;
    const uint8_t* blob_ = nullptr;
    size_t size_ = 0;
    size_t count_ = 0;
};

// Builds a blob; used by the art generator and by tests.
class ResourceBlobWriter {
public:
    void AddRaw(int id, std::vector<uint8_t> bytes);
    void AddBitmap(const std::string& name, std::vector<uint8_t> packedDib);
    void AddRaw(int id, int scale, std::vector<uint8_t> bytes);
    void AddPicture(const std::string& name, int scale, std::vector<uint8_t> packed);
    std::vector<uint8_t> Finish() const;

private:
    struct Item {
        uint32_t kind;
        uint32_t id;
        std::string name;
        std::vector<uint8_t> bytes;
    };
    std::vector<Item> items_;
};

// The resources linked into this program; empty in a program linked without
// them (the art generator itself).
const ResourceTable& Resources();
// Tests may swap in a table of their own; pass nullptr to restore.
void SetResourcesForTesting(const ResourceTable* table);

}  // namespace tabora
