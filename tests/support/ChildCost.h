#pragma once
// Runs a piece of work in a forked child and reports what it cost: wall time
// and the growth of resident memory at its peak. Used to prove that hostile
// inputs are answered within fixed bounds.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tabora::test {

struct ChildCost {
    bool finished = false;  // false: the child died (signal, timeout, memory)
    std::string outcome;    // what the work returned, or why the child died
    double seconds = 0;
    uint64_t peakBytes = 0;  // resident memory at the peak, over the start
};

// Runs `work` in a child process. Its address space may grow by at most
// `addressLimit` bytes, so even an allocation that is never touched counts
// (not under AddressSanitizer, whose shadow reservations make an address
// limit meaningless; the resident peak is measured either way). The child is
// killed after `timeoutSeconds`. Exceptions are reported as "throws: what()".
ChildCost RunInChild(const std::function<std::string()>& work, uint64_t addressLimit,
                     unsigned timeoutSeconds);

// Whether RunInChild enforces the address limit in this build.
bool ChildAddressLimitEnforced();

}  // namespace tabora::test

namespace tabora::test {

// Runs a program (argv[0] is its path) in a child process and measures it.
struct ProgramRun {
    int status = -1;         // the exit status, or -1 when it did not exit
    int signal = 0;          // the signal that ended it, if one did
    std::string out;         // standard output
    std::string err;         // standard error
    double seconds = 0;      // wall time
    uint64_t peakBytes = 0;  // the largest resident size it reached
};

struct ProgramLimits {
    std::string input;             // standard input
    uint64_t addressBytes = 0;     // RLIMIT_AS when not 0 (ignored under the address sanitizer)
    uint64_t fileBytes = 0;        // RLIMIT_FSIZE when not 0
    unsigned timeoutSeconds = 60;  // killed after this
    std::string directory;         // the working directory, when not empty
};

ProgramRun RunProgram(const std::vector<std::string>& argv, const ProgramLimits& limits = {});

}  // namespace tabora::test
