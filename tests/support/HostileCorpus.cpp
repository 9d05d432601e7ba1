#include "tests/support/HostileCorpus.h"

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
#include "io/Hex.h"
#include "io/MacStream.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/CodecTestSupport.h"

namespace tabora::test {

namespace {

void Append(Bytes& out, const void* data, size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    out.insert(out.end(), p, p + size);
}
void Append(Bytes& out, std::string_view text) { Append(out, text.data(), text.size()); }
// Byte by byte: g++ 12 warns (wrongly) about inserting a list into a short
// vector.
void Le16To(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 16; shift += 8) out.push_back(uint8_t(v >> shift));
}
void Le32To(Bytes& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(v >> shift));
}
void Be32To(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// `inflated` bytes of '0', deflated: a few kilobytes per megabyte. The last
// one is kept: a bomb repeats the same chunk hundreds of times.
const Bytes& DeflatedZeros(size_t inflated) {
    static size_t lastSize = SIZE_MAX;
    static Bytes data;
    if (inflated == lastSize) return data;
    lastSize = inflated;
    data.clear();
    z_stream z{};
    deflateInit(&z, Z_DEFAULT_COMPRESSION);
    const Bytes zeros(1 << 20, '0');
    Bytes out(1 << 16);
    size_t fed = 0;
    do {
        const size_t n = std::min(zeros.size(), inflated - fed);
        z.next_in = const_cast<Bytef*>(zeros.data());
        z.avail_in = uInt(n);
        fed += n;
        const int flush = fed == inflated ? Z_FINISH : Z_NO_FLUSH;
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, flush);
            data.insert(data.end(), out.begin(), out.end() - long(z.avail_out));
        } while (z.avail_out == 0);
    } while (fed < inflated);
    deflateEnd(&z);
    return data;
}

std::string SignedBlockHex() {
    const Bytes block = SignedButtonBlock();
    return HexEncode(block.data(), block.size());
}

// A PNG with `count` copies of `chunk` (type and data) in front of the image.
Bytes PngWithRepeated(const char* type, const Bytes& data, size_t count, const Bytes& first = {}) {
    Bytes png = PngStart();
    if (!first.empty()) PngChunkTo(png, "tEXt", first);
    png.reserve(png.size() + count * (data.size() + 12) + 256);
    for (size_t i = 0; i < count; ++i) PngChunkTo(png, type, data);
    PngEnd(png);
    return png;
}

// Control characters a terminal acts on: a title, a cleared screen, a line
// that pretends to be the program's own output.
const std::string kEscapingCaption =
    "Go\x1B]0;owned\x07\x1B[2J\x1B[H\rfontName:          pwned\n\x9B"
    "31m";

}  // namespace

Bytes SignedButtonBlock(const std::string& caption) {
    ButtonSettings settings;
    settings.caption = caption;
    PtrMacStream payload;
    WriteSettings(payload, settings);
    return tabora::SignedBlock(std::span<const uint8_t>(payload.Data(), payload.Length()));
}

Bytes SavedButton(const std::string& extension, const std::string& caption) {
    TaboraButton b(GetArchive());
    b.SetCaption(caption);
    PtrMacStream s;
    ExportButton(b, *FindFormat(extension), s);
    return BytesOf(s);
}

void GifSubBlocks(Bytes& out, const Bytes& data) {
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        out.push_back(uint8_t(n));
        out.insert(out.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    out.push_back(0);
}

Bytes HugeGif(uint16_t w, uint16_t h, const std::string& comment, size_t images, size_t codeBytes,
              bool trailer) {
    Bytes gif;
    Append(gif, "GIF89a");
    Le16To(gif, w);
    Le16To(gif, h);
    for (uint8_t b : {0xF7, 0, 0}) gif.push_back(b);
    gif.resize(gif.size() + 768, 0x80);
    gif.push_back(0x21);
    gif.push_back(0xFE);
    GifSubBlocks(gif, Bytes(comment.begin(), comment.end()));
    const Bytes codes(codeBytes, 0x55);
    for (size_t i = 0; i < images; ++i) {
        gif.push_back(0x2C);
        Le16To(gif, 0);
        Le16To(gif, 0);
        Le16To(gif, w);
        Le16To(gif, h);
        gif.push_back(0x00);
        gif.push_back(8);  // LZW minimum code size
        GifSubBlocks(gif, codes);
    }
    if (trailer) gif.push_back(0x3B);
    return gif;
}

void PngChunkTo(Bytes& out, const char* type, const Bytes& data, std::optional<uint32_t> claimed) {
    Be32To(out, claimed.value_or(uint32_t(data.size())));
    const size_t start = out.size();
    Append(out, type, 4);
    out.insert(out.end(), data.begin(), data.end());
    Be32To(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

Bytes PngStart(uint32_t w, uint32_t h) {
    Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    Be32To(ihdr, w);
    Be32To(ihdr, h);
    for (uint8_t b : {8, 6, 0, 0, 0}) ihdr.push_back(b);
    PngChunkTo(png, "IHDR", ihdr);
    return png;
}

void PngEnd(Bytes& png) {
    // One row of 4 pixels of RGBA per line, filter byte 0, compressed.
    Bytes raw(2 * (1 + 16), 0);
    uLongf size = compressBound(uLong(raw.size()));
    Bytes idat(size);
    compress(idat.data(), &size, raw.data(), uLong(raw.size()));
    idat.resize(size);
    PngChunkTo(png, "IDAT", idat);
    PngChunkTo(png, "IEND", {});
}

Bytes TextChunk(const std::string& key, size_t textBytes, char fill) {
    const std::string chunk = key + '\0' + std::string(textBytes, fill);
    return Bytes(chunk.begin(), chunk.end());
}

Bytes CompressedTextChunk(const std::string& key, size_t inflated) {
    Bytes data(key.begin(), key.end());
    data.push_back(0);
    data.push_back(0);  // compression method: deflate
    const Bytes& packed = DeflatedZeros(inflated);
    data.insert(data.end(), packed.begin(), packed.end());
    return data;
}

Bytes CompressedInternationalTextChunk(const std::string& key, size_t inflated) {
    Bytes data(key.begin(), key.end());
    // NUL, compressed, deflate, no language, no translated keyword.
    for (uint8_t b : {0, 1, 0, 0, 0}) data.push_back(b);
    const Bytes& packed = DeflatedZeros(inflated);
    data.insert(data.end(), packed.begin(), packed.end());
    return data;
}

Bytes SuggestedPaletteChunk(const std::string& name, size_t bytes) {
    Bytes data(name.begin(), name.end());
    data.push_back(0);
    data.push_back(8);  // sample depth
    const size_t entries = bytes > data.size() ? (bytes - data.size()) / 6 : 0;
    size_t at = data.size();
    data.resize(at + 6 * entries);
    for (size_t i = 0; i < entries; ++i, at += 6) {
        // Red, green, blue, alpha, frequency: every entry different.
        data[at] = uint8_t(i);
        data[at + 1] = uint8_t(i >> 8);
        data[at + 2] = uint8_t(i >> 16);
        data[at + 3] = 255;
        data[at + 4] = 0;
        data[at + 5] = 1;
    }
    return data;
}

Bytes JpegClaiming(uint16_t side) {
    Bytes jpeg = MakeJpeg({SignedButtonBlock()});
    for (size_t i = 2; i + 9 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = jpeg[i + 7] = uint8_t(side >> 8);
            jpeg[i + 6] = jpeg[i + 8] = uint8_t(side);
            break;
        }
    }
    return jpeg;
}

Bytes Bmp(uint32_t pixelOffset, int32_t w, int32_t h, const Bytes& behind) {
    Bytes bmp = {'B', 'M'};
    Le32To(bmp, uint32_t(54 + behind.size()));
    Le32To(bmp, 0);
    Le32To(bmp, pixelOffset);
    Le32To(bmp, 40);
    Le32To(bmp, uint32_t(w));
    Le32To(bmp, uint32_t(h));
    Le16To(bmp, 1);
    Le16To(bmp, 24);
    bmp.resize(54, 0);
    bmp.insert(bmp.end(), behind.begin(), behind.end());
    return bmp;
}

void WebpChunkTo(Bytes& out, const char* tag, const Bytes& data, std::optional<uint32_t> claimed) {
    out.insert(out.end(), tag, tag + 4);
    const uint32_t size = claimed.value_or(uint32_t(data.size()));
    for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(size >> shift));
    out.insert(out.end(), data.begin(), data.end());
    if (data.size() & 1) out.push_back(0);
}

Bytes Webp(const std::vector<std::pair<const char*, Bytes>>& chunks) {
    Bytes webp = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'};
    for (const auto& [tag, data] : chunks) WebpChunkTo(webp, tag, data);
    const uint32_t size = uint32_t(webp.size() - 8);
    for (int i = 0; i < 4; ++i) webp[size_t(4 + i)] = uint8_t(size >> (8 * i));
    return webp;
}

std::vector<HostileImage> HostileImages() {
    constexpr size_t kMB = 1u << 20;
    const std::string readPng = "error reading PNG file";
    std::vector<HostileImage> images;
    auto add = [&](std::string name, std::string attack, Answer answer, std::function<Bytes()> make,
                   std::string error = {}) {
        images.push_back(
            {std::move(name), std::move(attack), answer, std::move(error), std::move(make)});
    };

    // ---- GIF ----
    add("gif-65535-with-block.gif", "65535 x 65535 picture, block in front", Answer::Opens,
        [] { return HugeGif(65535, 65535, SignedBlockHex(), 1, kMB); });
    add("gif-65535-foreign.gif", "65535 x 65535 picture, foreign comment", Answer::NoButton,
        [] { return HugeGif(65535, 65535, "made elsewhere", 1, kMB); });
    add("gif-1024-images.gif", "1024 images of 65535 x 65535", Answer::Opens,
        [] { return HugeGif(65535, 65535, SignedBlockHex(), 1024, 1); });
    add("gif-1025-images.gif", "1025 images", Answer::NoButton,
        [] { return HugeGif(65535, 65535, SignedBlockHex(), 1025, 1); });
    add("gif-200000-images.gif", "200,000 images in 3 MB", Answer::NoButton,
        [] { return HugeGif(65535, 65535, SignedBlockHex(), 200000, 1); });
    add("gif-1mb-comment.gif", "a comment of 1 MB", Answer::NoButton,
        [] { return HugeGif(16, 16, std::string(kMB, 'A'), 1, 16); });
    // Three bytes a record: each one costs the reader a few small reads.
    auto emptyRecords = [](const std::string& comment) {
        Bytes gif = HugeGif(16, 16, comment, 1, 16, false);
        for (size_t i = 0; i < 1'000'000; ++i) {
            for (uint8_t b : {0x21, 0x01, 0x00}) gif.push_back(b);
        }
        gif.push_back(0x3B);
        return gif;
    };
    add("gif-million-records.gif", "a million empty extension records (3 MB)", Answer::NoButton,
        [=] { return emptyRecords("made elsewhere"); });
    add("gif-block-million-records.gif", "a block, then a million empty records", Answer::Opens,
        [=] { return emptyRecords(SignedBlockHex()); });
    add("gif-caption-escapes.gif", "a caption of terminal escapes", Answer::Opens,
        [] { return SavedButton("gif", kEscapingCaption); });

    // ---- PNG ----
    add("png-caption-escapes.png", "a caption of terminal escapes", Answer::Opens,
        [] { return SavedButton("png", kEscapingCaption); });
    add(
        "png-text-claims-2gb.png", "a text chunk claiming 2 GB", Answer::ReadError,
        [] {
            Bytes png = PngStart();
            PngChunkTo(png, "tEXt", TextChunk("Tbra", 16, 'A'), 0x7FFFFFFFu);
            return png;
        },
        readPng);
    add(
        "png-2g-wide.png", "2^31-1 pixels a side", Answer::ReadError,
        [] {
            Bytes png = PngStart(0x7FFFFFFFu, 0x7FFFFFFFu);
            PngChunkTo(png, "tEXt", TextChunk("Tbra", 10, '0'));
            PngEnd(png);
            return png;
        },
        readPng);
    add(
        "png-16mb-text.png", "one text chunk of 16 MB", Answer::ReadError,
        [] {
            Bytes png = PngStart();
            PngChunkTo(png, "tEXt", TextChunk("Tbra", 16 * kMB, 'A'));
            PngEnd(png);
            return png;
        },
        readPng);
    add("png-ztxt-256mb.png", "one compressed text unpacking to 256 MB", Answer::NoButton, [] {
        Bytes png = PngStart();
        PngChunkTo(png, "zTXt", CompressedTextChunk("Tbra", 256 * kMB));
        PngEnd(png);
        return png;
    });
    auto compressedBombs = [](const char* type, size_t count) {
        Bytes png = PngStart();
        for (size_t i = 0; i < count; ++i) {
            // Appended: g++ 12 warns (wrongly) about "k" + to_string.
            std::string key = "k";
            key += std::to_string(i);
            PngChunkTo(png, type,
                       std::string_view(type) == "zTXt"
                           ? CompressedTextChunk(key, 4 * kMB - 64)
                           : CompressedInternationalTextChunk(key, 4 * kMB - 64));
        }
        PngEnd(png);
        return png;
    };
    add("png-70-ztxt.png", "70 compressed texts of 4 MB each (280 KB)", Answer::NoButton,
        [=] { return compressedBombs("zTXt", 70); });
    add("png-200-ztxt.png", "200 compressed texts of 4 MB each (800 KB)", Answer::NoButton,
        [=] { return compressedBombs("zTXt", 200); });
    add("png-900-itxt.png", "900 compressed international texts of 4 MB each (3.6 MB)",
        Answer::NoButton, [=] { return compressedBombs("iTXt", 900); });
    add("png-block-then-ztxt.png", "our block, then 200 compressed texts", Answer::NoButton, [=] {
        // The payload alone: in a PNG the keyword is the signature.
        const Bytes block = SignedButtonBlock();
        const std::string text =
            std::string("Tbra") + '\0' + HexEncode(block.data() + 4, block.size() - 4);
        const Bytes bombs = compressedBombs("zTXt", 200);
        Bytes png = PngStart();
        const size_t head = png.size();
        PngChunkTo(png, "tEXt", Bytes(text.begin(), text.end()));
        png.insert(png.end(), bombs.begin() + long(head), bombs.end());
        return png;
    });
    add("png-100000-text.png", "100,000 small text chunks", Answer::NoButton,
        [] { return PngWithRepeated("tEXt", TextChunk("k", 1, 'v'), 100000); });
    add("png-64mb-palettes.png", "16 suggested palettes of 4 MB", Answer::NoButton,
        [] { return PngWithRepeated("sPLT", SuggestedPaletteChunk("p", 4 * kMB - 16), 16); });
    add("png-64mb-unknown.png", "16 unknown chunks of 4 MB", Answer::NoButton,
        [] { return PngWithRepeated("quIt", Bytes(4 * kMB - 16, 0x42), 16); });
    add("png-million-chunks.png", "a million empty chunks (12 MB)", Answer::NoButton,
        [] { return PngWithRepeated("xyZw", {}, 1'000'000); });

    // ---- JPEG ----
    add("jpeg-caption-escapes.jpg", "a caption of terminal escapes", Answer::Opens,
        [] { return SavedButton("jpg", kEscapingCaption); });
    add("jpeg-65500-frame.jpg", "a frame of 65500 x 65500", Answer::Opens,
        [] { return JpegClaiming(65500); });
    add(
        "jpeg-65535-frame.jpg", "a frame of 65535 x 65535", Answer::ReadError,
        [] { return JpegClaiming(65535); }, "fatal JPEG error");
    add("jpeg-1000-app12.jpg", "a thousand 65,533-byte APP12 markers (64 MB)", Answer::NoButton,
        [] { return MakeJpeg(std::vector<Bytes>(1000, Bytes(65533, 0x41))); });
    add("jpeg-block-1000-app12.jpg", "our block, then a thousand large markers", Answer::Opens, [] {
        std::vector<Bytes> markers(1000, Bytes(65533, 0x41));
        markers.insert(markers.begin(), SignedButtonBlock());
        return MakeJpeg(markers);
    });

    // ---- BMP ----
    add("bmp-offset-2gb.bmp", "a pixel offset of 2 GB", Answer::NoButton, [] {
        Bytes small = {'T', 'b', 'r', 'a'};
        small.resize(200, 0);
        return Bmp(0x7FFFFFFFu, 10, 10, small);
    });
    add("bmp-huge-with-block.bmp", "2^31-1 pixels a side, with a block", Answer::Opens, [] {
        const Bytes block = SignedButtonBlock();
        return Bmp(uint32_t(54 + block.size()), 0x7FFFFFFF, 0x7FFFFFFF, block);
    });
    add("bmp-offset-8mb.bmp", "8 MB between the headers and the pixels", Answer::NoButton, [] {
        Bytes large = {'T', 'b', 'r', 'a'};
        large.resize(8 * kMB, 0);
        return Bmp(uint32_t(54 + 8 * kMB), 10, 10, large);
    });

    // ---- WebP ----
    const std::string readWebp = "error reading WebP file";
    add("webp-caption-escapes.webp", "a caption of terminal escapes", Answer::Opens,
        [] { return SavedButton("webp", kEscapingCaption); });
    add("webp-block-after-16mb.webp", "our block behind a 16 MB chunk", Answer::Opens,
        [=] { return Webp({{"VP8L", Bytes(16 * kMB, 0)}, {"Tbra", SignedButtonBlock()}}); });
    add("webp-chunk-claims-4gb.webp", "a chunk claiming 4 GB before our block", Answer::NoButton,
        [] {
            Bytes webp = Webp({});
            WebpChunkTo(webp, "VP8L", Bytes(8, 0), 0xFFFFFFF0u);
            WebpChunkTo(webp, "Tbra", SignedButtonBlock());
            return webp;
        });
    add("webp-block-claims-64kb.webp", "our chunk claiming 64 KB, 200 bytes there",
        Answer::NoButton, [] {
            Bytes webp = Webp({});
            Bytes block = SignedButtonBlock();
            block.resize(200, 0);
            WebpChunkTo(webp, "Tbra", block, 0xFFFFu);
            return webp;
        });
    add("webp-million-chunks.webp", "a million empty chunks, then our block (8 MB)",
        Answer::NoButton, [] {
            std::vector<std::pair<const char*, Bytes>> chunks(1'000'000, {"JUNK", {}});
            chunks.push_back({"Tbra", SignedButtonBlock()});
            return Webp(chunks);
        });
    add(
        "webp-wave.webp", "a sound file's container under a picture's name", Answer::ReadError,
        [] {
            Bytes wave = Webp({{"fmt ", Bytes(16, 1)}, {"Tbra", SignedButtonBlock()}});
            std::memcpy(wave.data() + 8, "WAVE", 4);
            return wave;
        },
        readWebp);
    return images;
}

std::vector<HostileBatch> HostileBatches() {
    const std::string one = R"("buttons": [{"output": "a.png"}])";
    std::vector<HostileBatch> batches = {
        {"html-shell-script",
         "the page written as a shell script outside the folder",
         "batch.json",
         R"({"html": "../victim.sh", )" + one + "}",
         {},
         2,
         "\"html\""},
        {"html-any-extension",
         "the page written over an image",
         "batch.json",
         R"({"html": "a.png", )" + one + "}",
         {},
         2,
         "\"html\""},
        {"html-is-the-batch",
         "the page written over the batch file itself",
         "batch.html",
         R"({"html": "batch.html", )" + one + "}",
         {},
         2,
         "\"html\""},
        {"html-is-an-output",
         "the page written over a button through a link",
         "batch.json",
         R"({"html": "page.html", )" + one + "}",
         {{"page.html", "a.png"}},
         2,
         "\"html\""},
        {"html-nul",
         "a NUL inside the page's name",
         "batch.json",
         R"({"html": "page\u0000.html", )" + one + "}",
         {},
         2,
         "\"html\""},
        {"output-nul",
         "a NUL inside an output name",
         "batch.json",
         R"({"buttons": [{"output": "evil\u0000.png"}]})",
         {},
         2,
         "\"output\""},
        {"caption-nul",
         "a NUL inside a caption",
         "batch.json",
         R"({"buttons": [{"output": "a.png", "caption": "Home\u0000rest"}]})",
         {},
         2,
         "\"caption\""},
        {"font-nul",
         "a NUL inside a font name",
         "batch.json",
         R"({"defaults": {"fontName": "Sans\u0000Serif"}, )" + one + "}",
         {},
         2,
         "\"fontName\""},
        {"same-file-absolute",
         "one file by its name and its absolute path",
         "batch.json",
         R"({"buttons": [{"output": "a.png"}, {"output": "{folder}/a.png"}]})",
         {},
         2,
         "same file"},
        {"same-file-folder-link",
         "one file through a linked folder",
         "batch.json",
         R"({"buttons": [{"output": "a.png"}, {"output": "alias/a.png"}]})",
         {{"alias", "."}},
         2,
         "same file"},
        {"same-file-file-link",
         "one file through a link to it",
         "batch.json",
         R"({"buttons": [{"output": "a.png"}, {"output": "b.png"}]})",
         {{"b.png", "a.png"}},
         2,
         "same file"},
        {"long-name",
         "a 255-byte name, whose temporary twin used to be too long",
         "batch.json",
         R"({"buttons": [{"output": ")" + std::string(251, 'n') + R"(.png"}]})",
         {},
         0,
         ""},
    };
    return batches;
}

}  // namespace tabora::test
