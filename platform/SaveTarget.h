#pragma once
#include <sys/types.h>

#include <string>
#include <vector>

namespace tabora {

// The file a save to `path` replaces: `path` itself, or, when it is a
// symbolic link (or a chain of them), the file the link leads to, so the
// link is kept and its file replaced as an editor does. Throws FileError for
// a loop of links.
std::string ResolveSaveTarget(const std::string& path);

// The folder part of a path ("." for a bare name, "/" for a file at the root).
std::string FolderOf(const std::string& path);

// What a save to a path will replace, independent of how the path is
// spelled: the folder by its device and inode, and the name in it. Two
// spellings of one file ("a.png", "./a.png", its absolute path, a path
// through a linked folder, a link to it) have the same identity; two hard
// links do not, since a save replaces only the name it is given.
struct SaveIdentity {
    dev_t device = 0;
    ino_t folder = 0;
    // The name in the folder; the whole absolute path when the folder does
    // not exist (the save will fail there anyway).
    std::string name;
    bool operator==(const SaveIdentity&) const = default;
    auto operator<=>(const SaveIdentity&) const = default;
};
SaveIdentity SaveIdentityOf(const std::string& path);

// Waits until what was written to the file systems holding `paths` is on
// the disk (one syncfs for each). Throws FileError naming the first path
// whose file system reports an error.
void SyncFileSystemsOf(const std::vector<std::string>& paths);

}  // namespace tabora
