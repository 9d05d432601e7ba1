#pragma once
// Helpers shared by the codec tests: test pictures, and independent readers
// of the four formats (the libraries' full decoders, and plain walkers of the
// file structure) to check what the codecs wrote.
#include <png.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <stdlib.h>
#include <string>
#include <utility>
#include <vector>

#include "imaging/ButtonFile.h"
#include "io/MacStream.h"
#include "render/ArgbImage.h"
#include "render/TaboraButton.h"

namespace tabora::test {

using Bytes = std::vector<uint8_t>;

inline Bytes BytesOf(const PtrMacStream& s) { return Bytes(s.Data(), s.Data() + s.Length()); }

// A picture whose every pixel differs from its neighbours, with some alpha.
inline ArgbImage Gradient(int32_t w, int32_t h) {
    ArgbImage image(w, h);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t a = uint8_t((x + y) % 3 == 0 ? 0 : 40 * ((x + y) % 7));
            image.At(x, y) = MakePixel(a, uint8_t(x * 7), uint8_t(y * 11), uint8_t(x * y));
        }
    }
    return image;
}

// "Tbra" and `size` - 4 bytes counting up.
inline Bytes SignedBlock(size_t size) {
    Bytes block(size);
    const char sig[4] = {'T', 'b', 'r', 'a'};
    for (size_t i = 0; i < size; ++i) block[i] = i < 4 ? uint8_t(sig[i]) : uint8_t(i);
    return block;
}

inline uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}
inline uint16_t Le16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }
inline uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
inline uint16_t Be16(const uint8_t* p) { return uint16_t((p[0] << 8) | p[1]); }

// ---- PNG ----
struct PngChunk {
    std::string type;
    Bytes data;
};
// The chunks after the 8-byte signature; empty when the signature is wrong.
std::vector<PngChunk> PngChunks(const Bytes& file);
// Full decode to RGBA (4 bytes per pixel) through libpng.
bool DecodePng(const Bytes& file, int32_t& w, int32_t& h, Bytes& rgba);
// libpng's output into a vector, and text chunks (key, text) in front of the
// image data: for PNGs written directly with libpng.
void WritePngInto(png_structp png, Bytes* out);
void SetPngTexts(png_structp png, png_infop info,
                 const std::vector<std::pair<std::string, std::string>>& texts);
// A PNG written directly with libpng, with the given text chunks (key, text)
// before the image data and `lateText` after it.
Bytes MakePng(const std::vector<std::pair<std::string, std::string>>& texts,
              const std::vector<std::pair<std::string, std::string>>& lateTexts = {});

// ---- GIF ----
struct GifLayout {
    std::string version;
    uint16_t width = 0, height = 0;
    uint8_t packed = 0, background = 0, aspect = 0;
    Bytes globalTable;  // 3 x entries
    // Extensions in front of the first image: label, then each sub-block.
    struct Extension {
        uint8_t label = 0;
        std::vector<Bytes> subBlocks;
    };
    std::vector<Extension> extensions;
    int images = 0;
    uint16_t imageLeft = 0, imageTop = 0, imageWidth = 0, imageHeight = 0;
    uint8_t imagePacked = 0;
    uint8_t lzwMinimum = 0;
    bool trailer = false;
};
bool ParseGif(const Bytes& file, GifLayout& layout);
// Full decode through giflib: indices of the first image and the global table.
bool DecodeGif(const Bytes& file, int32_t& w, int32_t& h, Bytes& indices, Bytes& table);

// ---- JPEG ----
struct JpegSegment {
    uint8_t marker = 0;
    Bytes data;  // without the length word
};
// The segments from SOI up to SOS (inclusive); the entropy data is skipped.
std::vector<JpegSegment> JpegSegments(const Bytes& file);
// Full decode to RGB through libjpeg; false on any library error.
bool DecodeJpeg(const Bytes& file, int32_t& w, int32_t& h, Bytes& rgb);
// A JPEG written directly with libjpeg, as another program would: the
// markers (code, bytes) come right after the JFIF header.
struct JpegRecipe {
    int width = 8;
    int height = 8;
    int quality = 0;           // 0: the library's default
    bool progressive = false;
    bool gradient = false;     // a colour ramp; otherwise flat grey
    std::vector<std::pair<int, Bytes>> markers;
};
Bytes MakeJpegFrom(const JpegRecipe& recipe);
// An 8 x 8 grey JPEG with the given APP12 payloads after JFIF.
Bytes MakeJpeg(const std::vector<Bytes>& app12Payloads);

// ---- Opening ----
// A file and what opening it must give: the outcome and the words with it
// (for a file that cannot be read, how they begin; the system's reason
// follows).
struct ExpectedOpen {
    const char* name;
    OpenOutcome outcome;
    const char* detail;
};
// Opens `path` into the button and checks the outcome and the words; a file
// that does not open must leave the button as it was.
OpenResult CheckOpen(TaboraButton& button, const std::string& path, const ExpectedOpen& expected);

// A stream that fails (throws FileError) once `limit` bytes have been written.
class FailingStream : public MacStream {
public:
    explicit FailingStream(uint32_t limit) : limit_(limit) {}
    uint32_t Read(void*, uint32_t) override { return 0; }
    void Write(const void* buffer, uint32_t count) override;
    void Seek(uint32_t position) override { position_ = position; }
    uint32_t GetLength() override { return written_; }
    uint32_t Position() override { return position_; }
    uint32_t written() const { return written_; }

private:
    uint32_t limit_;
    uint32_t written_ = 0;
    uint32_t position_ = 0;
};

// A folder of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tabora-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    size_t Count() const {
        return size_t(std::distance(std::filesystem::directory_iterator(path_), {}));
    }

private:
    std::filesystem::path path_;
};

}  // namespace tabora::test
