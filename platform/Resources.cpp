#include "platform/Resources.h"

#include <algorithm>
#include <cstring>
#include <tuple>

extern "C" {
// Defined by the assembler file that includes the generated blob. Weak, so
// that the generator, which draws the blob, links without it.
extern const unsigned char tabora_resource_blob[] __attribute__((weak));
extern const unsigned char tabora_resource_blob_end[] __attribute__((weak));
}

namespace tabora {

namespace {

uint32_t Get32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}

const ResourceTable* gTestTable = nullptr;

}  // namespace

ResourceTable::ResourceTable(const uint8_t* blob, size_t size) {
    if (!blob || size < 12 || std::memcmp(blob, "TBRS", 4) != 0 || Get32(blob + 4) != 1) return;
    uint32_t count = Get32(blob + 8);
    if (count > (size - 12) / kEntrySize) return;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* e = blob + 12 + i * kEntrySize;
        uint64_t offset = Get32(e + 8), length = Get32(e + 12);
        if (offset + length > size) return;
    }
    blob_ = blob;
    size_ = size;
    count_ = count;
}

ResourceBytes ResourceTable::Find(uint32_t kind, uint32_t id, std::string_view name) const {
    // Entries are sorted by (kind, id, name): binary search.
    size_t lo = 0, hi = count_;
    while (lo < hi) {
        size_t mid = (lo + hi) / 2;
        const uint8_t* e = blob_ + 12 + mid * kEntrySize;
        const char* n = reinterpret_cast<const char*>(e + 16);
        std::string_view entryName(n, strnlen(n, kNameSize));
        auto key = std::make_tuple(Get32(e), Get32(e + 4), entryName);
        auto want = std::make_tuple(kind, id, name);
        if (key < want) {
            lo = mid + 1;
        } else if (want < key) {
            hi = mid;
        } else {
            return ResourceBytes(blob_ + Get32(e + 8), Get32(e + 12));
        }
    }
    return {};
}

ResourceBytes ResourceTable::FindRaw(int id) const {
    if (id < 0) return {};
    return Find(kRaw, uint32_t(id), {});
}

ResourceBytes ResourceTable::FindBitmap(std::string_view name) const {
    if (name.size() >= kNameSize) return {};
    return Find(kBitmap, 0, name);
}

ResourceBytes ResourceTable::FindRaw(int id, int scale) const {
    if (id < 0 || scale < 1 || scale > kMaxScale) return {};
    return Find(ScaledKind(kRaw, scale), uint32_t(id), {});
}

ResourceBytes ResourceTable::FindPicture(std::string_view name, int scale) const {
    if (name.size() >= kNameSize || scale < 2 || scale > kMaxScale) return {};
    return Find(ScaledKind(kBitmap, scale), 0, name);
}

void ResourceBlobWriter::AddRaw(int id, std::vector<uint8_t> bytes) {
    items_.push_back({ResourceTable::kRaw, uint32_t(id), {}, std::move(bytes)});
}

void ResourceBlobWriter::AddBitmap(const std::string& name, std::vector<uint8_t> packedDib) {
    items_.push_back({ResourceTable::kBitmap, 0, name.substr(0, ResourceTable::kNameSize - 1),
                      std::move(packedDib)});
}

void ResourceBlobWriter::AddRaw(int id, int scale, std::vector<uint8_t> bytes) {
    items_.push_back({ResourceTable::ScaledKind(ResourceTable::kRaw, scale),
                      uint32_t(id),
                      {},
                      std::move(bytes)});
}

void ResourceBlobWriter::AddPicture(const std::string& name, int scale,
                                    std::vector<uint8_t> packed) {
    items_.push_back({ResourceTable::ScaledKind(ResourceTable::kBitmap, scale), 0,
                      name.substr(0, ResourceTable::kNameSize - 1), std::move(packed)});
}

std::vector<uint8_t> ResourceBlobWriter::Finish() const {
    std::vector<const Item*> sorted;
    for (const auto& item : items_) sorted.push_back(&item);
    std::stable_sort(sorted.begin(), sorted.end(), [](const Item* a, const Item* b) {
        return std::tie(a->kind, a->id, a->name) < std::tie(b->kind, b->id, b->name);
    });
    std::vector<uint8_t> out;
    for (char c : std::string_view("TBRS")) out.push_back(uint8_t(c));
    Put32(out, 1);
    Put32(out, uint32_t(sorted.size()));
    size_t offset = 12 + sorted.size() * ResourceTable::kEntrySize;
    offset = (offset + 15) & ~size_t(15);
    std::vector<size_t> offsets;
    for (const Item* item : sorted) {
        offsets.push_back(offset);
        offset = (offset + item->bytes.size() + 15) & ~size_t(15);
    }
    for (size_t i = 0; i < sorted.size(); ++i) {
        Put32(out, sorted[i]->kind);
        Put32(out, sorted[i]->id);
        Put32(out, uint32_t(offsets[i]));
        Put32(out, uint32_t(sorted[i]->bytes.size()));
        char name[ResourceTable::kNameSize] = {};
        std::memcpy(name, sorted[i]->name.data(), sorted[i]->name.size());
        out.insert(out.end(), name, name + sizeof name);
    }
    for (size_t i = 0; i < sorted.size(); ++i) {
        out.resize(offsets[i], 0);
        out.insert(out.end(), sorted[i]->bytes.begin(), sorted[i]->bytes.end());
    }
    out.resize((out.size() + 15) & ~size_t(15), 0);
    return out;
}

const ResourceTable& Resources() {
    if (gTestTable) return *gTestTable;
    static const ResourceTable linked = [] {
        if (!tabora_resource_blob || !tabora_resource_blob_end) return ResourceTable();
        return ResourceTable(tabora_resource_blob,
                             size_t(tabora_resource_blob_end - tabora_resource_blob));
    }();
    return linked;
}

void SetResourcesForTesting(const ResourceTable* table) { gTestTable = table; }

}  // namespace tabora
