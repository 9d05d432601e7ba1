#pragma once
// Shared by the fuzz harnesses. Each harness defines LLVMFuzzerTestOneInput;
// with the fuzzer, libFuzzer supplies main, and without it ReplayMain.cpp
// replays files through the same function, so a finding becomes an ordinary
// regression test under any compiler.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/DialogHost.h"

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

// Messages a reader shows ("sig != Tbra") are collected, not printed: the
// fuzzer would otherwise spend its time writing to the terminal.
class QuietDialogs {
public:
    QuietDialogs() : previous_(SetDialogHost(&host_)) {}
    ~QuietDialogs() { SetDialogHost(previous_); }
    QuietDialogs(const QuietDialogs&) = delete;
    QuietDialogs& operator=(const QuietDialogs&) = delete;
    const ScriptedDialogHost& Host() const { return host_; }

private:
    ScriptedDialogHost host_;
    DialogHost* previous_;
};

}  // namespace tabora::fuzz
