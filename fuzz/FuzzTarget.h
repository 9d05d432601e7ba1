#pragma once
// Shared by the fuzz harnesses. Each harness defines LLVMFuzzerTestOneInput;
// with the fuzzer, libFuzzer supplies main, and without it ReplayMain.cpp
// replays files through the same function, so a finding becomes an ordinary
// regression test under any compiler.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>


extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace tabora::fuzz {

// A broken invariant is a finding: say which, then stop the way a sanitizer
// does so the fuzzer keeps the input.
#define TABORA_FUZZ_CHECK(condition)                                                        \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__,       \
                         #condition);                                                       \
            std::abort();                                                                   \
        }                                                                                   \
    } while (0)

}  // namespace tabora::fuzz
