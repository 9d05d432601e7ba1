#include "platform/TemporaryFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <mutex>
#include <random>
#include <set>
#include <string_view>
#include <utility>

namespace tabora {

namespace {

constexpr std::string_view kPrefix = "tabora-";
constexpr std::string_view kSuffix = ".tmp";
constexpr int kRandomLetters = 6;

// Seeds the temporary names of one thread. They need not be secret, only
// unlikely to collide (an existing name is skipped), so a failed getrandom
// falls back to the clock and the thread.
uint64_t NameSeed() {
    uint64_t seed = 0;
    if (::getrandom(&seed, sizeof seed, GRND_NONBLOCK) != ssize_t(sizeof seed)) {
        seed = uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
               (uint64_t(::gettid()) << 40);
    }
    return seed;
}

// "FOLDER/tabora-PID-XXXXXX.tmp" with six random letters and digits.
std::string RandomName(const std::string& folder) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{NameSeed()};
    std::string name = folder;
    name += '/';
    name += kPrefix;
    name += std::to_string(::getpid());
    name += '-';
    uint64_t bits = random();
    for (int i = 0; i < kRandomLetters; ++i, bits /= 62) name += kLetters[bits % 62];
    name += kSuffix;
    return name;
}

// How often a random name is tried before giving up.
constexpr int kAttempts = 100;

// A nameless file is named through its /proc entry; without /proc mounted
// it could never be named, so files get their name at creation instead.
bool CanNameOpenFiles() {
    static const bool can = ::access("/proc/self/fd", X_OK) == 0;
    return can;
}

// The pid in "tabora-PID-XXXXXX.tmp", or 0 for any other name.
pid_t OwnerOf(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kSuffix.size());
    const size_t dash = name.find('-');
    if (dash == 0 || dash == std::string_view::npos ||
        name.size() - dash - 1 != size_t(kRandomLetters))
        return 0;
    pid_t pid = 0;
    for (char c : name.substr(0, dash)) {
        if (c < '0' || c > '9' || pid > 99'999'999) return 0;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

}  // namespace

TemporaryFile CreateTemporaryFile(const std::string& folder, mode_t mode) {
    TemporaryFile file;
    if (CanNameOpenFiles()) {
        file.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
        // Not every file system can make a nameless file; those say so with
        // one of these, and get a named one.
        if (file.fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
            return file;
    }
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        file.path = RandomName(folder);
        file.fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (file.fd >= 0 || errno != EEXIST) {
            if (file.fd < 0) file.path.clear();
            return file;
        }
    }
    file.path.clear();
    errno = EEXIST;
    return file;
}

bool NameTemporaryFile(TemporaryFile& file, const std::string& folder) {
    if (!file.path.empty()) return true;
    const std::string self = "/proc/self/fd/" + std::to_string(file.fd);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::string name = RandomName(folder);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            file.path = std::move(name);
            return true;
        }
        if (errno != EEXIST) return false;
    }
    errno = EEXIST;
    return false;
}

void RemoveStaleTemporaries(const std::string& folder) {
    // Looked at once per process: by the name given (a batch names its
    // folder the same way a thousand times, and this costs no system call),
    // and by identity (other spellings of a folder already looked at).
    static std::mutex mutex;
    static std::set<std::string> seenNames;
    static std::set<std::pair<dev_t, ino_t>> seen;
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!seenNames.insert(folder).second) return;
    }
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return;
    struct stat st {};
    if (::fstat(dirFd, &st) != 0) {
        ::close(dirFd);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!seen.insert({st.st_dev, st.st_ino}).second) {
            ::close(dirFd);
            return;
        }
    }
    DIR* dir = ::fdopendir(dirFd);
    if (!dir) {
        ::close(dirFd);
        return;
    }
    const pid_t self = ::getpid();
    while (const dirent* entry = ::readdir(dir)) {
        const pid_t owner = OwnerOf(entry->d_name);
        // kill(pid, 0) tells whether the process exists; EPERM means it does
        // (another user's), and so does a pid that was given out again.
        if (owner <= 0 || owner == self || ::kill(owner, 0) == 0 || errno != ESRCH) continue;
        struct stat file {};
        if (::fstatat(dirFd, entry->d_name, &file, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(file.st_mode)) {
            ::unlinkat(dirFd, entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

}  // namespace tabora
