#include "tests/support/ChildCost.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <new>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
#define TABORA_TEST_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TABORA_TEST_ASAN 1
#endif
#endif

namespace tabora::test {

namespace {

// A "VmXxx:  1234 kB" line of /proc/self/status, in bytes.
uint64_t StatusBytes(const char* key) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const size_t keyLength = std::strlen(key);
    while (std::getline(status, line)) {
        if (line.compare(0, keyLength, key) == 0 && line.size() > keyLength && line[keyLength] == ':') {
            return std::stoull(line.substr(keyLength + 1)) * 1024;
        }
    }
    return 0;
}

void WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += size_t(n);
    }
}

[[noreturn]] void RunChild(const std::function<std::string()>& work, uint64_t addressLimit,
                           unsigned timeoutSeconds, int fd) {
    if (ChildAddressLimitEnforced()) {
        rlimit limit{};
        limit.rlim_cur = limit.rlim_max = StatusBytes("VmSize") + addressLimit;
        ::setrlimit(RLIMIT_AS, &limit);
    }
    // Resets the peak to what is resident now (the child shares the parent's
    // pages and would otherwise inherit its peak).
    {
        std::ofstream clear("/proc/self/clear_refs");
        clear << "5";
    }
    const uint64_t start = StatusBytes("VmRSS");
    ::alarm(timeoutSeconds);
    std::string outcome;
    const auto t0 = std::chrono::steady_clock::now();
    try {
        outcome = work();
    } catch (const std::bad_alloc&) {
        outcome = "out of memory";
    } catch (const std::exception& e) {
        outcome = std::string("throws: ") + e.what();
    }
    const auto t1 = std::chrono::steady_clock::now();
    const uint64_t peak = StatusBytes("VmHWM");
    std::ostringstream report;
    report << std::chrono::duration<double>(t1 - t0).count() << '\n'
           << (peak > start ? peak - start : 0) << '\n'
           << outcome;
    WriteAll(fd, report.str());
    ::close(fd);
    // No destructors, no exit handlers: the parent's state is not ours.
    ::_exit(0);
}

}  // namespace

bool ChildAddressLimitEnforced() {
#ifdef TABORA_TEST_ASAN
    return false;
#else
    return true;
#endif
}

ChildCost RunInChild(const std::function<std::string()>& work, uint64_t addressLimit,
                     unsigned timeoutSeconds) {
    ChildCost cost;
    int fds[2];
    if (::pipe(fds) != 0) {
        cost.outcome = "pipe failed";
        return cost;
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        RunChild(work, addressLimit, timeoutSeconds, fds[1]);
    }
    ::close(fds[1]);
    if (pid < 0) {
        ::close(fds[0]);
        cost.outcome = "fork failed";
        return cost;
    }
    std::string report;
    char buffer[4096];
    for (;;) {
        ssize_t n = ::read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        report.append(buffer, size_t(n));
    }
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) {
        cost.outcome = std::string("killed by signal ") + std::to_string(WTERMSIG(status)) + " (" +
                       strsignal(WTERMSIG(status)) + ")";
        return cost;
    }
    std::istringstream in(report);
    std::string line;
    if (!std::getline(in, line)) {
        cost.outcome = "no report";
        return cost;
    }
    cost.seconds = std::stod(line);
    std::getline(in, line);
    cost.peakBytes = std::stoull(line);
    std::getline(in, cost.outcome, '\0');
    cost.finished = true;
    return cost;
}

}  // namespace tabora::test
