#include "fuzz/StructureMutators.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace tabora::fuzz {

namespace {

using Bytes = std::vector<uint8_t>;
using Random = std::minstd_rand;

size_t Pick(Random& random, size_t count) { return count ? size_t(random()) % count : 0; }

// How many copies a repeat makes: a few, or enough to cost a reader dearly.
size_t RepeatCount(Random& random) {
    static constexpr size_t kCounts[] = {1, 2, 3, 7, 31, 127, 1000, 4000};
    return kCounts[Pick(random, std::size(kCounts))];
}

// Copies `out` back into the fuzzer's buffer, or leaves the input as it was
// when the result does not fit.
size_t Emit(const Bytes& out, uint8_t* data, size_t size, size_t maxSize) {
    if (out.empty() || out.size() > maxSize) return size;
    std::memcpy(data, out.data(), out.size());
    return out.size();
}

// Runs the byte mutator over a copy of `part`, which may grow to `room`.
void MutateBytes(Bytes& part, size_t room, const ByteMutator& bytes) {
    const size_t size = part.size();
    part.resize(std::max(room, size + 1));
    part.resize(bytes(part.data(), size, part.size()));
}

// ---- PNG ----

constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

struct Chunk {
    std::string type;  // four letters
    Bytes data;
};

uint32_t Be32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
void Be32To(Bytes& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

// The whole chunks after the signature; what follows the last of them (a
// cut chunk, stray bytes) is kept as `tail`.
bool ParsePng(const uint8_t* data, size_t size, std::vector<Chunk>& chunks, Bytes& tail) {
    if (size < 8 || std::memcmp(data, kPngSignature, 8) != 0) return false;
    size_t at = 8;
    while (size - at >= 12) {
        const size_t length = Be32(data + at);
        if (length > size - at - 12) break;
        chunks.push_back({std::string(reinterpret_cast<const char*>(data + at + 4), 4),
                          Bytes(data + at + 8, data + at + 8 + length)});
        at += length + 12;
    }
    tail.assign(data + at, data + size);
    return true;
}

void ChunkTo(Bytes& out, const Chunk& chunk) {
    Be32To(out, uint32_t(chunk.data.size()));
    const size_t start = out.size();
    out.insert(out.end(), chunk.type.begin(), chunk.type.end());
    out.insert(out.end(), chunk.data.begin(), chunk.data.end());
    Be32To(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

Bytes WritePng(const std::vector<Chunk>& chunks, const Bytes& tail, size_t maxSize) {
    Bytes out(kPngSignature, kPngSignature + 8);
    for (const Chunk& chunk : chunks) {
        ChunkTo(out, chunk);
        if (out.size() > maxSize) return {};
    }
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

// Every chunk of the file made right, as far as the file has whole chunks.
void FixChecksums(uint8_t* data, size_t size) {
    size_t at = 8;
    while (size >= 12 && at <= size - 12) {
        const size_t length = Be32(data + at);
        if (length > size - at - 12) break;
        const uLong crc = crc32(0, data + at + 4, uInt(length + 4));
        for (int i = 0; i < 4; ++i)
            data[at + 8 + length + size_t(i)] = uint8_t(crc >> (24 - 8 * i));
        at += length + 12;
    }
}

// `inflated` zeros, deflated once and kept: a bomb costs the mutator nothing.
const Bytes& Deflated(size_t which) {
    static constexpr size_t kSizes[] = {16, 4096, 1u << 20, (4u << 20) - 64};
    static std::array<Bytes, std::size(kSizes)> packed;
    which %= std::size(kSizes);
    if (packed[which].empty()) {
        const Bytes zeros(kSizes[which], '0');
        uLongf length = compressBound(uLong(zeros.size()));
        packed[which].resize(length);
        compress2(packed[which].data(), &length, zeros.data(), uLong(zeros.size()),
                  Z_BEST_COMPRESSION);
        packed[which].resize(length);
    }
    return packed[which];
}

const char* const kChunkTypes[] = {"tEXt", "zTXt", "iTXt", "sPLT", "iCCP", "gAMA", "pHYs", "tIME",
                                   "bKGD", "tRNS", "PLTE", "IHDR", "IDAT", "IEND", "quIt", "QUIT"};

Chunk NewChunk(Random& random, const std::vector<Chunk>& chunks) {
    Chunk chunk;
    chunk.type = kChunkTypes[Pick(random, std::size(kChunkTypes))];
    // Built by appending: g++ 12 warns (wrongly) about "k" + to_string.
    std::string key = "k";
    key += std::to_string(random() % 100);
    if (random() % 2) key = "Tbra";
    chunk.data.assign(key.begin(), key.end());
    chunk.data.push_back(0);
    if (chunk.type == "tEXt") {
        // Text like a block's hex, or taken from a text chunk of the file.
        for (const Chunk& c : chunks) {
            if (c.type == "tEXt" && random() % 2) return c;
        }
        for (size_t i = Pick(random, 64); i > 0; --i)
            chunk.data.push_back("0123456789ABCDEF"[random() % 16]);
    } else if (chunk.type == "zTXt" || chunk.type == "iCCP") {
        chunk.data.push_back(0);  // deflate
        const Bytes& packed = Deflated(random());
        chunk.data.insert(chunk.data.end(), packed.begin(), packed.end());
    } else if (chunk.type == "iTXt") {
        const bool compressed = random() % 2;
        for (uint8_t b : {uint8_t(compressed), uint8_t(0), uint8_t(0), uint8_t(0)})
            chunk.data.push_back(b);
        const Bytes packed = compressed ? Deflated(random()) : Bytes(8, '0');
        chunk.data.insert(chunk.data.end(), packed.begin(), packed.end());
    } else if (chunk.type == "sPLT") {
        chunk.data.push_back(random() % 2 ? 8 : 16);
        chunk.data.resize(chunk.data.size() + 6 * Pick(random, 200), uint8_t(random()));
    } else {
        chunk.data.assign(Pick(random, 32), uint8_t(random()));
    }
    return chunk;
}

// ---- GIF ----

// The header, screen descriptor and global table; the records after them
// (each extension and image whole, the trailer); and what could not be
// parsed as a record.
struct GifParts {
    Bytes head;
    std::vector<Bytes> records;
    Bytes tail;
};

// The end of the sub-blocks starting at `at`, just past the zero-length one,
// or 0 when the file ends first.
size_t SubBlocksEnd(const uint8_t* data, size_t size, size_t at) {
    while (at < size) {
        const size_t n = data[at];
        if (n == 0) return at + 1;
        at += n + 1;
    }
    return 0;
}

bool ParseGif(const uint8_t* data, size_t size, GifParts& parts) {
    if (size < 13 || std::memcmp(data, "GIF8", 4) != 0) return false;
    size_t at = 13;
    if (data[10] & 0x80) at += 3u << ((data[10] & 7) + 1);
    if (at > size) return false;
    parts.head.assign(data, data + at);
    while (at < size) {
        size_t end = 0;
        if (data[at] == 0x3B) {
            end = at + 1;
        } else if (data[at] == 0x21 && at + 2 <= size) {
            end = SubBlocksEnd(data, size, at + 2);
        } else if (data[at] == 0x2C && at + 10 <= size) {
            size_t codes = at + 10;
            if (data[at + 9] & 0x80) codes += 3u << ((data[at + 9] & 7) + 1);
            end = codes + 1 <= size ? SubBlocksEnd(data, size, codes + 1) : 0;
        }
        if (end == 0) break;
        parts.records.emplace_back(data + at, data + end);
        at = end;
    }
    parts.tail.assign(data + at, data + size);
    return true;
}

Bytes NewRecord(Random& random) {
    switch (random() % 6) {
        case 0:
            return {0x21, uint8_t(random()), 0x00};  // an empty extension
        case 1: {
            // A comment, sometimes starting like our block's hex text.
            const std::string text = random() % 2 ? "54627261" : "made elsewhere";
            std::string comment = "\x21\xFE";
            comment += char(text.size());
            comment += text;
            comment += '\0';
            return Bytes(comment.begin(), comment.end());
        }
        case 2:
            return {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, uint8_t(random()), 0x00};
        case 3: {
            const uint8_t side = random() % 2 ? 0xFF : 0x01;
            return {0x2C, 0, 0, 0, 0, 1, side, 1, side, 0x00, 0x08, 0x02, 0x4C, 0x01, 0x00};
        }
        case 4:
            return {0x21, 0xFF, 0x0B, 'N', 'E',  'T',  'S',  'C',  'A', 'P',
                    'E',  '2',  '.',  '0', 0x03, 0x01, 0x00, 0x00, 0x00};
        default:
            return {0x3B};
    }
}

Bytes WriteGif(const GifParts& parts, size_t maxSize) {
    Bytes out = parts.head;
    for (const Bytes& record : parts.records) {
        out.insert(out.end(), record.begin(), record.end());
        if (out.size() > maxSize) return {};
    }
    out.insert(out.end(), parts.tail.begin(), parts.tail.end());
    return out;
}

// The record-level changes shared by both formats: repeat, drop, move or
// insert one, or repeat or drop a run of them (repeats alone would fill
// every input to the size limit, where each run is slow). Copies are made only as far as
// `budget` bytes (what the fuzzer still allows) go; `bytesOf` measures one.
template <class Item, class Make, class Measure>
void ChangeSequence(std::vector<Item>& items, Random& random, size_t budget, Make make,
                    Measure bytesOf) {
    auto copies = [&](size_t each) {
        return std::min(RepeatCount(random), budget / std::max<size_t>(each, 1));
    };
    const size_t i = Pick(random, items.size());
    switch (random() % 6) {
        case 0:
            if (!items.empty()) {
                const Item copy = items[i];
                items.insert(items.begin() + long(i), copies(bytesOf(copy)), copy);
            }
            break;
        case 1:
            if (!items.empty()) items.erase(items.begin() + long(i));
            break;
        case 5:
            if (!items.empty())
                items.erase(items.begin() + long(i),
                            items.begin() + long(i + 1 + Pick(random, items.size() - i)));
            break;
        case 2:
            if (items.size() > 1) {
                Item moved = std::move(items[i]);
                items.erase(items.begin() + long(i));
                items.insert(items.begin() + long(Pick(random, items.size() + 1)),
                             std::move(moved));
            }
            break;
        case 3: {
            const Item item = make();
            items.insert(items.begin() + long(Pick(random, items.size() + 1)),
                         std::max<size_t>(1, copies(bytesOf(item))), item);
            break;
        }
        default:
            if (!items.empty()) {
                const size_t end = i + 1 + Pick(random, std::min<size_t>(8, items.size() - i));
                const std::vector<Item> run(items.begin() + long(i), items.begin() + long(end));
                size_t runBytes = 0;
                for (const Item& item : run) runBytes += bytesOf(item);
                for (size_t n = copies(runBytes); n > 0; --n)
                    items.insert(items.begin() + long(end), run.begin(), run.end());
            }
    }
}

}  // namespace

size_t MutatePng(uint8_t* data, size_t size, size_t maxSize, unsigned seed,
                 const ByteMutator& bytes) {
    Random random(seed);
    std::vector<Chunk> chunks;
    Bytes tail;
    if (!ParsePng(data, size, chunks, tail) || random() % 8 == 0) {
        // Anything goes for the bytes, then the checksums are put right.
        size = bytes(data, size, maxSize);
        if (size >= 8 && std::memcmp(data, kPngSignature, 8) == 0) FixChecksums(data, size);
        return size;
    }
    const size_t room = maxSize > size ? maxSize - size : 0;
    switch (random() % 4) {
        case 0:
            if (!chunks.empty())
                MutateBytes(chunks[Pick(random, chunks.size())].data, room / 2 + 64, bytes);
            break;
        case 1:
            if (!chunks.empty())
                chunks[Pick(random, chunks.size())].type =
                    kChunkTypes[Pick(random, std::size(kChunkTypes))];
            break;
        default:
            ChangeSequence(
                chunks, random, room, [&] { return NewChunk(random, chunks); },
                [](const Chunk& c) { return c.data.size() + 12; });
    }
    return Emit(WritePng(chunks, tail, maxSize), data, size, maxSize);
}

size_t MutateGif(uint8_t* data, size_t size, size_t maxSize, unsigned seed,
                 const ByteMutator& bytes) {
    Random random(seed);
    GifParts parts;
    if (!ParseGif(data, size, parts) || random() % 8 == 0) return bytes(data, size, maxSize);
    const size_t room = maxSize > size ? maxSize - size : 0;
    switch (random() % 4) {
        case 0:
            if (!parts.records.empty())
                MutateBytes(parts.records[Pick(random, parts.records.size())], room / 2 + 64,
                            bytes);
            break;
        case 1:
            MutateBytes(parts.head, parts.head.size() + 16, bytes);
            break;
        default:
            ChangeSequence(
                parts.records, random, room, [&] { return NewRecord(random); },
                [](const Bytes& r) { return r.size(); });
    }
    return Emit(WriteGif(parts, maxSize), data, size, maxSize);
}

}  // namespace tabora::fuzz
