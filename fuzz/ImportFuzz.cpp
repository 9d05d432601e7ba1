// One image importer on an arbitrary file, the format chosen at build time
// (TABORA_FUZZ_FORMAT, the registry row's name). A file is opened and its settings
// applied, or it is refused for one of the reasons the user is told; then the
// button must be exactly as it was.
#include <string_view>
#include <vector>

#include <zlib.h>

#include "fuzz/FuzzTarget.h"
#include "fuzz/StructureMutators.h"
#include "imaging/ButtonFile.h"
#include "io/BufferedInStream.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

// Files are opened through a buffer; a small one of an odd size here makes
// every read cross its edges.
constexpr uint32_t kOddBuffer = 61;

void Import(const FormatEntry& format, const uint8_t* data, size_t size) {
    PtrMacStream file(data, uint32_t(size), false);
    BufferedInStream in(file, kOddBuffer);
    TaboraButton button(GetArchive());
    const ButtonSettings before = button.settings();
    // Whatever the outcome ("error reading PNG file", "fatal JPEG error" and
    // the rest are for the user), only an opened file changes the button.
    const OpenResult result = ImportButton(button, format, in);
    if (!result.opened()) TABORA_FUZZ_CHECK(button.settings() == before);
}

// Almost every mutation of a PNG breaks a chunk checksum, and the reader
// rightly stops at the first bad one. So a PNG is tried a second time with
// every checksum made right, which lets the fuzzer reach past the header.
[[maybe_unused]] std::vector<uint8_t> WithChunkChecksums(const uint8_t* data, size_t size) {
    std::vector<uint8_t> fixed(data, data + size);
    size_t at = 8;  // behind the file signature
    while (at <= size && size - at >= 12) {
        const size_t length = (size_t(fixed[at]) << 24) | (size_t(fixed[at + 1]) << 16) |
                              (size_t(fixed[at + 2]) << 8) | fixed[at + 3];
        if (length > size - at - 12) break;
        const uLong crc = crc32(0, fixed.data() + at + 4, uInt(length + 4));
        uint8_t* out = fixed.data() + at + 8 + length;
        out[0] = uint8_t(crc >> 24);
        out[1] = uint8_t(crc >> 16);
        out[2] = uint8_t(crc >> 8);
        out[3] = uint8_t(crc);
        at += length + 12;
    }
    return fixed;
}

}  // namespace

#ifdef TABORA_FUZZ_STRUCTURE
// PNG and GIF are mutated by their chunks and records (with the fuzzer
// only: the replay build has no byte mutator to hand on to).
extern "C" size_t LLVMFuzzerMutate(uint8_t* data, size_t size, size_t maxSize);

extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* data, size_t size, size_t maxSize,
                                          unsigned seed) {
    return fuzz::TABORA_FUZZ_STRUCTURE(data, size, maxSize, seed, LLVMFuzzerMutate);
}
#endif

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const FormatEntry* const format = [] {
        for (const FormatEntry& entry : Formats())
            if (std::string_view(entry.name) == TABORA_FUZZ_FORMAT) return &entry;
        return static_cast<const FormatEntry*>(nullptr);
    }();
    TABORA_FUZZ_CHECK(format != nullptr);
    Import(*format, data, size);
#ifndef TABORA_FUZZ_STRUCTURE
    // (the structure-aware mutator keeps the checksums right itself)
    if (format->format == ImageFormat::Png && size >= 8) {
        const std::vector<uint8_t> fixed = WithChunkChecksums(data, size);
        Import(*format, fixed.data(), fixed.size());
    }
#endif
    return 0;
}
