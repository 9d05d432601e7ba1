#include "platform/File.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/Error.h"
#include "platform/SaveTarget.h"

namespace tabora {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& path, int err) {
    throw FileError(what + " \"" + path + "\": " + std::strerror(err));
}

}  // namespace

File::File(const std::string& path, Mode mode) { Open(path, mode); }

File::~File() {
    if (fd_ >= 0) ::close(fd_);
}

File::File(File&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
    other.fd_ = -1;
}

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        other.fd_ = -1;
    }
    return *this;
}

void File::Open(const std::string& path, Mode mode) {
    Close();
    int flags = mode == Mode::Read ? O_RDONLY : (O_WRONLY | O_CREAT | O_TRUNC);
    int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) Fail(mode == Mode::Read ? "Cannot open" : "Cannot create", path, errno);
    if (mode == Mode::Read) {
        struct stat st{};
        if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
            ::close(fd);
            Fail("Cannot open", path, EISDIR);
        }
    }
    fd_ = fd;
    path_ = path;
}

void File::Adopt(int fd, const std::string& path) {
    Close();
    fd_ = fd;
    path_ = path;
}

uint32_t File::Read(void* buffer, uint32_t count) {
    if (fd_ < 0) return 0;
    auto* out = static_cast<uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::read(fd_, out + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot read", path_, errno);
        }
        if (n == 0) break;
        done += uint32_t(n);
    }
    return done;
}

void File::Write(const void* buffer, uint32_t count) {
    if (fd_ < 0) throw FileError("Cannot write: no file is open");
    auto* in = static_cast<const uint8_t*>(buffer);
    uint32_t done = 0;
    while (done < count) {
        ssize_t n = ::write(fd_, in + done, count - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            Fail("Cannot write", path_, errno);
        }
        done += uint32_t(n);
    }
}

void File::Seek(uint64_t position) {
    if (fd_ < 0) return;
    if (::lseek(fd_, off_t(position), SEEK_SET) < 0) Fail("Cannot seek in", path_, errno);
}

uint64_t File::Position() const {
    if (fd_ < 0) return 0;
    off_t p = ::lseek(fd_, 0, SEEK_CUR);
    return p < 0 ? 0 : uint64_t(p);
}

uint64_t File::GetLength() const {
    if (fd_ < 0) return 0;
    struct stat st{};
    if (::fstat(fd_, &st) != 0) return 0;
    return uint64_t(st.st_size);
}

void File::Sync() {
    if (fd_ >= 0 && ::fsync(fd_) != 0 && errno != EINVAL) Fail("Cannot write", path_, errno);
}

void File::Close() {
    if (fd_ >= 0) {
        int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) Fail("Cannot close", path_, errno);
    }
}

std::string ReadWholeFile(const std::string& path) {
    File f(path, File::Mode::Read);
    uint64_t len = f.GetLength();
    if (len > 0xFFFFFFFFu) throw FileError("File too large: \"" + path + "\"");
    std::string data(size_t(len), '\0');
    data.resize(f.Read(data.data(), uint32_t(len)));
    return data;
}

void WriteWholeFile(const std::string& path, const void* data, size_t size) {
    SafeSave save(path);
    const auto* p = static_cast<const uint8_t*>(data);
    while (size > 0) {
        uint32_t chunk = size > (1u << 30) ? (1u << 30) : uint32_t(size);
        save.Output().Write(p, chunk);
        p += chunk;
        size -= chunk;
    }
    save.Commit();
}

SafeSave::SafeSave(const std::string& target)
    : target_(target), replaced_(ResolveSaveTarget(target)), folder_(FolderOf(replaced_)) {
    // A replaced file keeps its permissions. Its temporary twin is private
    // until it has them, so nobody reads the new bytes with wider rights.
    struct stat st{};
    if (::stat(replaced_.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        keptMode_ = st.st_mode & 07777;
        // Renaming over a file needs only the folder's permission; a file
        // its owner made read-only is not replaced behind their back.
        if (::access(replaced_.c_str(), W_OK) != 0) Fail("Cannot save", target, errno);
        if ((st.st_mode & 0222) == 0)
            throw FileError("Cannot save \"" + target + "\": the file is read-only");
    }
    RemoveStaleTemporaries(folder_);
    temp_ = CreateTemporaryFile(folder_, keptMode_ ? 0600 : 0666);
    if (temp_.fd < 0) Fail("Cannot create", target, errno);
    // A full disk is reported against the file the user chose, not against
    // a temporary name they never saw.
    file_.Adopt(temp_.fd, target_);
}

SafeSave::~SafeSave() {
    if (!committed_) {
        try {
            file_.Close();
        } catch (...) {
        }
        if (!temp_.path.empty()) ::unlink(temp_.path.c_str());
    }
}

void SafeSave::Commit(Durability durability) {
    committed_ = true;
    try {
        if (keptMode_) ::fchmod(file_.Descriptor(), *keptMode_);
        if (durability == Durability::Synced) file_.Sync();
        // Named only now that it is complete: a kill before this left nothing.
        if (!NameTemporaryFile(temp_, folder_)) Fail("Cannot save", target_, errno);
        file_.Close();
    } catch (...) {
        file_ = File();
        if (!temp_.path.empty()) ::unlink(temp_.path.c_str());
        throw;
    }
    // Replacing a file frees the old one's blocks, which takes the file
    // system a while (ext4: hundreds of microseconds) and happens inside the
    // rename unless the old file is still open. Held open here, it is freed
    // at the close after the rename, and the moment in which a kill leaves
    // the new file under its temporary name shrinks to the rename alone.
    const int old = keptMode_ ? ::open(replaced_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK) : -1;
    const int renamed = ::rename(temp_.path.c_str(), replaced_.c_str());
    const int err = errno;
    if (old >= 0) ::close(old);
    if (renamed != 0) {
        ::unlink(temp_.path.c_str());
        Fail("Cannot save", target_, err);
    }
}

std::string FileTitleOf(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExtensionOf(const std::string& path) {
    std::string name = FileTitleOf(path);
    size_t dot = name.find_last_of('.');
    return dot == std::string::npos ? std::string() : name.substr(dot + 1);
}

}  // namespace tabora
