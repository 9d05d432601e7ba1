#pragma once
// The hostile corpus: files and batches built to make the readers and the
// batch command break a promise (time, memory, where files are written, what
// reaches the terminal). Everything is made at test time from a few lines of
// description; nothing large is kept in the repository. The tests run the
// images through every way a file is opened (the importers, `inspect`,
// `render --from`, the window's Open) and the batches through `batch`.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tabora::test {

using Bytes = std::vector<uint8_t>;

// ---- pieces of files ----

// The signed block of a button with this caption, as GIF, JPEG and BMP carry it.
Bytes SignedButtonBlock(const std::string& caption = "Hostile");
// A whole button saved in the format of `extension` ("png", "gif", ...).
Bytes SavedButton(const std::string& extension, const std::string& caption);

void GifSubBlocks(Bytes& out, const Bytes& data);
// A GIF89a whose screen and every image claim w x h pixels, with a comment
// first, then `images` images of `codeBytes` bytes of compressed data each.
// Without the trailer when `trailer` is false, so records can be added.
Bytes HugeGif(uint16_t w, uint16_t h, const std::string& comment, size_t images, size_t codeBytes,
              bool trailer = true);

void PngChunkTo(Bytes& out, const char* type, const Bytes& data,
                std::optional<uint32_t> claimed = {});
// Signature and header of a w x h RGBA picture.
Bytes PngStart(uint32_t w = 4, uint32_t h = 2);
// The image data of the 4 x 2 picture, and the end.
void PngEnd(Bytes& png);
// tEXt: key, NUL, `textBytes` times `fill`.
Bytes TextChunk(const std::string& key, size_t textBytes, char fill);
// zTXt whose text unpacks to `inflated` bytes of '0'.
Bytes CompressedTextChunk(const std::string& key, size_t inflated);
// iTXt, compressed, whose text unpacks to `inflated` bytes of '0'.
Bytes CompressedInternationalTextChunk(const std::string& key, size_t inflated);
// sPLT of 8-bit entries filling `bytes` (the libraries keep each entry in
// 10 bytes of memory for its 6 in the file).
Bytes SuggestedPaletteChunk(const std::string& name, size_t bytes);

// A small JPEG with our block whose frame header claims side x side pixels.
Bytes JpegClaiming(uint16_t side);

// The two headers of a 24-bit BMP with the given pixel offset and size
// fields, then `behind`.
Bytes Bmp(uint32_t pixelOffset, int32_t w, int32_t h, const Bytes& behind);

// A RIFF chunk: tag, size (or `claimed`), data, the pad to an even size.
void WebpChunkTo(Bytes& out, const char* tag, const Bytes& data,
                 std::optional<uint32_t> claimed = {});
// A WebP container of these chunks, its RIFF size covering them.
Bytes Webp(const std::vector<std::pair<const char*, Bytes>>& chunks);

// ---- the images ----

// What every reader must answer.
enum class Answer {
    Opens,     // the settings are applied
    NoButton,  // refused: the button is left as it was ("... carries no button settings")
    ReadError  // the format's error, `error` below
};

struct HostileImage {
    std::string name;    // a file name; its extension chooses the reader
    std::string attack;  // what it tries, in a few words
    Answer answer;
    std::string error;  // for ReadError: the text the user is shown
    std::function<Bytes()> make;
};

// Every image of the corpus, smallest first within each format.
std::vector<HostileImage> HostileImages();

// ---- the batches ----

struct HostileBatch {
    std::string name;
    std::string attack;
    // The batch file's name and text; "{folder}" in the text stands for the
    // batch's folder (absolute).
    std::string file = "batch.json";
    std::string json;
    // Symbolic links made in the folder before the run: name, target.
    std::vector<std::pair<std::string, std::string>> links;
    int status;           // the exit status the command must give
    std::string mention;  // a text the message must hold
};

// Batches that try to write where they must not, or to lose a button.
std::vector<HostileBatch> HostileBatches();

}  // namespace tabora::test
