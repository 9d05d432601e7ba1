#pragma once
// Mutators that know the shape of a PNG and of a GIF, for the fuzzer's
// custom-mutator hook. Byte-level mutation rarely gets past a PNG's chunk
// checksums and never builds a file of a thousand chunks or records, which
// is where the costliest inputs live (text bombs, endless empty records).
// These work on whole chunks and records: repeat one many times, drop, move,
// retype or insert one, or hand one's contents to the byte mutator; a PNG
// always comes out with every length and checksum right.
#include <cstddef>
#include <cstdint>
#include <functional>

namespace tabora::fuzz {

// The fuzzer's own byte mutator (LLVMFuzzerMutate): mutates `size` bytes in
// place, within `maxSize`, and returns the new size.
using ByteMutator = std::function<size_t(uint8_t* data, size_t size, size_t maxSize)>;

// Each mutates the file in `data` (`size` bytes, room for `maxSize`) and
// returns its new size. Deterministic for a given `seed`. A file that does
// not parse as the format is handed to `bytes` (and a PNG then gets its
// checksums put right).
size_t MutatePng(uint8_t* data, size_t size, size_t maxSize, unsigned seed,
                 const ByteMutator& bytes);
size_t MutateGif(uint8_t* data, size_t size, size_t maxSize, unsigned seed,
                 const ByteMutator& bytes);

}  // namespace tabora::fuzz
