#include "tests/support/ChildCost.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <new>
#include <sstream>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
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

ProgramRun RunProgram(const std::vector<std::string>& argv, const ProgramLimits& limits) {
    // A program that ends before reading all its input must not end the test.
    ::signal(SIGPIPE, SIG_IGN);
    ProgramRun run;
    int in[2], out[2], err[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0 ||
        ::pipe2(err, O_CLOEXEC) != 0) {
        run.err = "pipe failed";
        return run;
    }
    std::vector<char*> args;
    std::vector<std::string> copies = argv;
    for (std::string& a : copies) args.push_back(a.data());
    args.push_back(nullptr);
    std::fflush(nullptr);
    const auto t0 = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(in[0], 0);
        ::dup2(out[1], 1);
        ::dup2(err[1], 2);
        if (!limits.directory.empty() && ::chdir(limits.directory.c_str()) != 0) ::_exit(126);
        if (limits.addressBytes && ChildAddressLimitEnforced()) {
            rlimit limit{limits.addressBytes, limits.addressBytes};
            ::setrlimit(RLIMIT_AS, &limit);
        }
        if (limits.fileBytes) {
            rlimit limit{limits.fileBytes, limits.fileBytes};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        // The program must deal with these itself, whatever its parent ignores.
        ::signal(SIGXFSZ, SIG_DFL);
        ::signal(SIGPIPE, SIG_DFL);
        // A pending alarm survives exec: a hang ends as a failure.
        ::alarm(limits.timeoutSeconds);
        ::execv(args[0], args.data());
        ::_exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    // Feeds the input and gathers both outputs at once, so that neither side
    // waits on a full pipe.
    size_t fed = 0;
    int inFd = in[1];
    if (limits.input.empty()) {
        ::close(inFd);
        inFd = -1;
    }
    std::string* sinks[2] = {&run.out, &run.err};
    int fds[2] = {out[0], err[0]};
    char buffer[65536];
    while (fds[0] >= 0 || fds[1] >= 0 || inFd >= 0) {
        pollfd polls[3] = {{fds[0], POLLIN, 0}, {fds[1], POLLIN, 0}, {inFd, POLLOUT, 0}};
        if (::poll(polls, 3, -1) < 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i] < 0 || polls[i].revents == 0) continue;
            const ssize_t n = ::read(fds[i], buffer, sizeof buffer);
            if (n > 0) {
                sinks[i]->append(buffer, size_t(n));
            } else {
                ::close(fds[i]);
                fds[i] = -1;
            }
        }
        if (inFd >= 0 && polls[2].revents != 0) {
            const ssize_t n =
                (polls[2].revents & POLLOUT)
                    ? ::write(inFd, limits.input.data() + fed, limits.input.size() - fed)
                    : -1;
            if (n > 0) fed += size_t(n);
            if (n <= 0 || fed == limits.input.size()) {
                ::close(inFd);
                inFd = -1;
            }
        }
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    run.peakBytes = uint64_t(usage.ru_maxrss) * 1024;
    if (WIFEXITED(status)) run.status = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) run.signal = WTERMSIG(status);
    return run;
}

}  // namespace tabora::test
