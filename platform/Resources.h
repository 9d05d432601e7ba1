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
    size_t Count() const { return count_; }

    static constexpr uint32_t kRaw = 1;
    static constexpr uint32_t kBitmap = 2;
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
