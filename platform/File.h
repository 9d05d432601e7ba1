#pragma once
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>

#include "platform/TemporaryFile.h"

namespace tabora {

// A plain file: read, write, absolute seek, length. Failures throw FileError
// with a message naming the file and the system's reason.
class File {
public:
    enum class Mode { Read, Create };

    File() = default;
    File(const std::string& path, Mode mode);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    void Open(const std::string& path, Mode mode);
    // Takes ownership of a descriptor opened elsewhere (the temporary file of
    // a save), so the file need not be opened a second time. `path` is the
    // name messages give: a temporary file speaks for the file it becomes.
    void Adopt(int fd, const std::string& path);
    int Descriptor() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Returns how many bytes were read; fewer than asked only at the end.
    uint32_t Read(void* buffer, uint32_t count);
    // Writes everything or throws (a full disk must not pass as success).
    void Write(const void* buffer, uint32_t count);
    void Seek(uint64_t position);
    uint64_t Position() const;
    uint64_t GetLength() const;
    // Flushes to the disk; part of making a save durable before the rename.
    void Sync();
    void Close();
    const std::string& Path() const { return path_; }

private:
    int fd_ = -1;
    std::string path_;
};

// Whole-file helpers.
std::string ReadWholeFile(const std::string& path);
void WriteWholeFile(const std::string& path, const void* data, size_t size);

// Saving never destroys the previous file: the new bytes go to a temporary
// file beside the target (nameless while it is written, where the file
// system allows), which replaces the target only on Commit. If the object
// dies uncommitted (an exception, a failed export), the temporary file is
// removed and the target is untouched. A target that is a symbolic link
// keeps the link and has its file replaced; a file without write
// permission is refused.
class SafeSave {
public:
    explicit SafeSave(const std::string& target);
    ~SafeSave();
    SafeSave(const SafeSave&) = delete;
    SafeSave& operator=(const SafeSave&) = delete;

    File& Output() { return file_; }
    // Flushes, closes and renames over the target; throws FileError on failure
    // (and then removes the temporary file). Unsynced skips waiting for the
    // disk: the rename still never exposes a partial file to other programs,
    // and a short-lived tool writing regenerable output need not pay the
    // several milliseconds a flush costs.
    enum class Durability { Synced, Unsynced };
    void Commit(Durability durability = Durability::Synced);

private:
    std::string target_;
    std::string replaced_;  // the target, or the file its links lead to
    std::string folder_;    // of replaced_, where the new file is made
    TemporaryFile temp_;
    std::optional<mode_t> keptMode_;  // of the file being replaced
    File file_;
    bool committed_ = false;
};

// The text after the last dot of the file name (not of a folder), or "".
std::string ExtensionOf(const std::string& path);
// The file name without its folder.
std::string FileTitleOf(const std::string& path);

}  // namespace tabora
