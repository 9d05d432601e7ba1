// The structure-aware mutators keep a PNG's checksums right, stay within the
// fuzzer's size, and do reach the shapes they exist for: many copies of a
// chunk or record, several text chunks.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "fuzz/StructureMutators.h"
#include "imaging/ButtonFile.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

using namespace tabora;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes SavedButton(const char* extension) {
    TaboraButton b(GetArchive());
    b.SetCaption("Mutate me");
    PtrMacStream s;
    ExportButton(b, *FindFormat(extension), s);
    return Bytes(s.Data(), s.Data() + s.Length());
}

// A stand-in for the fuzzer's byte mutator: flips, inserts or cuts a byte.
struct FlipBytes {
    std::mt19937 random{7};
    size_t operator()(uint8_t* data, size_t size, size_t maxSize) {
        switch (random() % 3) {
            case 0:
                if (size) data[random() % size] ^= uint8_t(1u << (random() % 8));
                return size;
            case 1:
                if (size < maxSize) data[size++] = uint8_t(random());
                return size;
            default:
                return size ? size - 1 : size;
        }
    }
};

uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

// Chunk types and counts of a PNG's whole chunks; false if a checksum is wrong.
bool PngChunks(const Bytes& png, std::map<std::string, size_t>& counts) {
    size_t at = 8;
    while (png.size() >= 12 && at <= png.size() - 12) {
        const size_t length = Be32(&png[at]);
        if (length > png.size() - at - 12) break;
        if (crc32(0, &png[at + 4], uInt(length + 4)) != Be32(&png[at + 8 + length])) return false;
        ++counts[std::string(reinterpret_cast<const char*>(&png[at + 4]), 4)];
        at += length + 12;
    }
    return true;
}

}  // namespace

TEST(StructureMutators, PngKeepsItsChecksumsAndRepeatsChunks) {
    const Bytes seed = SavedButton("png");
    constexpr size_t kMaxSize = 128 << 10;
    FlipBytes flip;
    size_t mostOfOneType = 0, mostTexts = 0;
    Bytes file = seed;
    for (unsigned run = 0; run < 1500; ++run) {
        if (run % 50 == 0) file = seed;  // a new line of descent now and then
        const size_t size = file.size();
        file.resize(kMaxSize);
        file.resize(fuzz::MutatePng(file.data(), size, kMaxSize, run, std::ref(flip)));
        ASSERT_LE(file.size(), kMaxSize);
        if (file.size() < 8 || std::memcmp(file.data(), "\x89PNG\r\n\x1A\n", 8) != 0) continue;
        std::map<std::string, size_t> counts;
        ASSERT_TRUE(PngChunks(file, counts)) << "a wrong checksum after run " << run;
        for (const auto& [type, n] : counts) mostOfOneType = std::max(mostOfOneType, n);
        mostTexts = std::max(mostTexts, counts["tEXt"] + counts["zTXt"] + counts["iTXt"]);
    }
    EXPECT_GE(mostOfOneType, 100u);
    EXPECT_GE(mostTexts, 2u);
}

TEST(StructureMutators, GifRepeatsRecordsWithinTheSize) {
    const Bytes seed = SavedButton("gif");
    constexpr size_t kMaxSize = 64 << 10;
    FlipBytes flip;
    size_t mostRecords = 0;
    Bytes file = seed;
    for (unsigned run = 0; run < 3000; ++run) {
        if (run % 50 == 0) file = seed;
        const size_t size = file.size();
        file.resize(kMaxSize);
        file.resize(fuzz::MutateGif(file.data(), size, kMaxSize, run, std::ref(flip)));
        ASSERT_LE(file.size(), kMaxSize);
        // Extensions are counted by their introducer after the header: a
        // rough count (the byte may stand in image data too), enough to see
        // records multiply; the button's file has three.
        size_t records = 0;
        for (size_t i = 13 + 768; i < file.size(); ++i) records += file[i] == 0x21;
        mostRecords = std::max(mostRecords, records);
    }
    EXPECT_GE(mostRecords, 100u);
}
