#include "platform/SaveTarget.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <set>

#include "platform/Error.h"
#include "platform/File.h"

namespace tabora {

namespace {

// As the kernel allows when it resolves a path.
constexpr int kMaxLinkHops = 40;

}  // namespace

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string ResolveSaveTarget(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::string to(size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(current.c_str(), to.data(), to.size());
        if (n < 0 || size_t(n) >= to.size()) return current;
        to.resize(size_t(n));
        current = to.starts_with('/') ? to : FolderOf(current) + "/" + to;
    }
    throw FileError("Cannot save \"" + path + "\": " + std::strerror(ELOOP));
}

SaveIdentity SaveIdentityOf(const std::string& path) {
    SaveIdentity identity;
    std::string target;
    try {
        target = ResolveSaveTarget(path);
    } catch (const FileError&) {
        target = path;
    }
    struct stat st {};
    if (::stat(FolderOf(target).c_str(), &st) == 0) {
        identity.device = st.st_dev;
        identity.folder = st.st_ino;
        identity.name = FileTitleOf(target);
    } else {
        identity.name = std::filesystem::absolute(target).lexically_normal().string();
    }
    return identity;
}

void SyncFileSystemsOf(const std::vector<std::string>& paths) {
    std::set<dev_t> done;
    for (const std::string& path : paths) {
        const std::string folder = FolderOf(ResolveSaveTarget(path));
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) continue;  // nothing was written there
        struct stat st {};
        const bool fresh = ::fstat(fd, &st) == 0 && done.insert(st.st_dev).second;
        const int result = fresh ? ::syncfs(fd) : 0;
        const int error = errno;
        ::close(fd);
        if (result != 0)
            throw FileError("Cannot write \"" + path + "\" to the disk: " + std::strerror(error));
    }
}

}  // namespace tabora
