#include "platform/FaceLease.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace tabora {
namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};

// Idle faces kept per font file: one per core the command line renders on,
// with room to spare; more would only hold memory.
constexpr size_t kMaxIdleFacesPerFile = 8;

}  // namespace

struct FaceSlot {
    std::string key;
    // Declared before the face so that the face is released first.
    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face;
};

namespace {

struct FacePool {
    std::mutex mutex;
    std::unordered_map<std::string, std::vector<std::unique_ptr<FaceSlot>>> idle;
};

// Never destroyed: a background warm-up may hand a face back while the
// process exits.
FacePool& Pool() {
    static FacePool* pool = new FacePool;
    return *pool;
}

void GiveBack(std::unique_ptr<FaceSlot> slot) {
    FacePool& pool = Pool();
    std::unique_lock lock(pool.mutex);
    auto& idle = pool.idle[slot->key];
    if (idle.size() < kMaxIdleFacesPerFile) idle.push_back(std::move(slot));
    lock.unlock();
    // A slot not taken back is released here, outside the lock.
}

}  // namespace

FaceLease::FaceLease() = default;
FaceLease::FaceLease(std::unique_ptr<FaceSlot> slot) : slot_(std::move(slot)) {}
FaceLease::FaceLease(FaceLease&&) noexcept = default;
FaceLease& FaceLease::operator=(FaceLease&& other) noexcept {
    if (this != &other) {
        if (slot_) GiveBack(std::move(slot_));
        slot_ = std::move(other.slot_);
    }
    return *this;
}
FaceLease::~FaceLease() {
    if (slot_) GiveBack(std::move(slot_));
}
FT_Face FaceLease::Face() const { return slot_ ? slot_->face.get() : nullptr; }
FT_Library FaceLease::Library() const { return slot_ ? slot_->library.get() : nullptr; }

FaceLease LeaseFace(const std::string& path, int64_t index) {
    if (path.empty()) return {};
    std::string key = path;
    key += '\0';
    key += std::to_string(index);
    {
        FacePool& pool = Pool();
        std::lock_guard lock(pool.mutex);
        auto it = pool.idle.find(key);
        if (it != pool.idle.end() && !it->second.empty()) {
            std::unique_ptr<FaceSlot> slot = std::move(it->second.back());
            it->second.pop_back();
            return FaceLease(std::move(slot));
        }
    }
    auto slot = std::make_unique<FaceSlot>();
    slot->key = std::move(key);
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return {};
    slot->library.reset(library);
    FT_Face face = nullptr;
    if (FT_New_Face(library, path.c_str(), FT_Long(index), &face) != 0) return {};
    slot->face.reset(face);
    return FaceLease(std::move(slot));
}

}  // namespace tabora
