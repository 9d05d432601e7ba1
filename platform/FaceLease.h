#pragma once
#include <ft2build.h>

#include <cstdint>
#include <memory>
#include <string>
#include FT_FREETYPE_H

namespace tabora {

struct FaceSlot;

// Exclusive use of one opened FreeType face, with a FreeType library of its
// own, for as long as the lease lives. FreeType objects are not
// thread-safe, so no two leases ever share a face or a library; faces are
// opened once and reused by later leases of the same file, since opening
// one costs far more than drawing a caption.
class FaceLease {
public:
    FaceLease();
    explicit FaceLease(std::unique_ptr<FaceSlot> slot);
    FaceLease(FaceLease&&) noexcept;
    FaceLease& operator=(FaceLease&&) noexcept;
    ~FaceLease();  // hands the face back for reuse

    explicit operator bool() const { return slot_ != nullptr; }
    FT_Face Face() const;
    FT_Library Library() const;

private:
    std::unique_ptr<FaceSlot> slot_;
};

// Opens (or reuses) face `index` of the font file at `path`; an empty lease
// when FreeType cannot open it. Thread-safe.
FaceLease LeaseFace(const std::string& path, int64_t index);

}  // namespace tabora
