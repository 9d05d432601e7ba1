#pragma once
#include <sys/types.h>

#include <string>

namespace tabora {

// The new file of a save, made in the folder of the file it will replace.
//
// Where the file system allows it, the file has no name while it is written
// (O_TMPFILE): a process killed during the write leaves nothing behind. It
// is named only when complete, just before the rename over the target.
// Elsewhere it is created under its temporary name at once.
//
// The temporary name is "tabora-PID-XXXXXX.tmp": its length does not depend
// on the target's (a target name of 255 bytes must not make it too long),
// and it says which process made it, so that a later save can remove what a
// killed one left (RemoveStaleTemporaries).
struct TemporaryFile {
    int fd = -1;
    std::string path;  // empty while the file has no name
};

// Opens a new file in `folder` with `mode` for the kernel to apply the
// creation mask to: a new image gets the usual permissions without reading
// the mask, which can only be read by changing it, a race when several
// threads save. fd < 0 and errno set on failure.
TemporaryFile CreateTemporaryFile(const std::string& folder, mode_t mode);

// Gives a nameless file its temporary name in `folder` (which it must have
// been created in). A file that has a name already keeps it. False with
// errno set on failure.
bool NameTemporaryFile(TemporaryFile& file, const std::string& folder);

// Removes the temporary files in `folder` whose process no longer runs: a
// kill between naming a complete file and renaming it leaves one. Looks at
// each folder once per process; files of running processes, and every file
// not named like ours, are left alone.
void RemoveStaleTemporaries(const std::string& folder);

}  // namespace tabora
