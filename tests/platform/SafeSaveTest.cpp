#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/Error.h"
#include "platform/File.h"

using namespace tabora;

namespace {
std::string TempDir() {
    char pattern[] = "/tmp/tabora-safesave-XXXXXX";
    return mkdtemp(pattern);
}
int CountEntries(const std::string& dir) {
    int n = 0;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d)) n += e->d_name[0] != '.';
    closedir(d);
    return n;
}
}  // namespace

TEST(SafeSave, UncommittedSaveLeavesTargetAndNoTemporaryFile) {
    std::string dir = TempDir();
    std::string target = dir + "/button.png";
    WriteWholeFile(target, "old", 3);
    {
        SafeSave save(target);
        save.Output().Write("new bytes", 9);
    }
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(CountEntries(dir), 1);
    {
        SafeSave save(target);
        save.Output().Write("new", 3);
        save.Commit();
    }
    EXPECT_EQ(ReadWholeFile(target), "new");
    EXPECT_EQ(CountEntries(dir), 1);
}

TEST(SafeSave, AFullDiskNamesTheChosenFile) {
    std::string dir = TempDir();
    std::string target = dir + "/button.png";
    pid_t pid = fork();
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{4, 4};
        setrlimit(RLIMIT_FSIZE, &limit);
        try {
            SafeSave save(target);
            save.Output().Write("more than four", 14);
        } catch (const FileError& e) {
            std::string what = e.what();
            _exit(what.find("\"" + target + "\"") != std::string::npos &&
                          what.find("tmp-") == std::string::npos
                      ? 0
                      : 2);
        }
        _exit(3);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(CountEntries(dir), 0);
}

// Saved files get the usual permissions (or keep those of the file they
// replace), and saving on many threads at once never leaves the process's
// creation mask changed.
TEST(SafeSave, PermissionsFollowTheMaskOrTheReplacedFile) {
    const std::string dir = TempDir();
    const mode_t previous = umask(027);
    auto modeOf = [](const std::string& path) {
        struct stat st{};
        stat(path.c_str(), &st);
        return st.st_mode & 0777;
    };
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&dir, t] {
            for (int i = 0; i < 100; ++i) {
                WriteWholeFile(dir + "/f" + std::to_string(t) + "-" + std::to_string(i), "x", 1);
            }
        });
    }
    for (std::thread& t : threads) t.join();
    EXPECT_EQ(umask(previous), mode_t(027));
    EXPECT_EQ(modeOf(dir + "/f3-99"), mode_t(0640));

    const std::string kept = dir + "/kept";
    WriteWholeFile(kept, "old", 3);
    chmod(kept.c_str(), 0604);
    WriteWholeFile(kept, "new", 3);
    EXPECT_EQ(modeOf(kept), mode_t(0604));
    EXPECT_EQ(ReadWholeFile(kept), "new");
}

namespace {

std::vector<std::string> Entries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    while (dirent* e = readdir(d)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

// Runs `work` in a child; `work` ends by killing the child with SIGKILL,
// as a user (or the system) may kill a save at any moment.
void KilledWhile(const std::function<void()>& work) {
    const pid_t pid = fork();
    if (pid == 0) {
        work();
        _exit(1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

}  // namespace

// The new file has no name while it is written: a save killed half-way
// leaves the previous file and nothing else.
TEST(SafeSave, AKillWhileWritingLeavesNothingBehind) {
    const std::string dir = TempDir();
    const std::string target = dir + "/button.png";
    WriteWholeFile(target, "old", 3);
    KilledWhile([&] {
        SafeSave save(target);
        save.Output().Write("half of the new bytes", 21);
        raise(SIGKILL);
    });
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"button.png"});
    EXPECT_EQ(ReadWholeFile(target), "old");
}

// Between naming the complete file and renaming it over the target there
// is still a moment where a kill leaves it under its temporary name; the
// next save into the folder removes what a dead process left, and never a
// file of a process that still runs.
TEST(SafeSave, TheNextSaveRemovesWhatAKilledSaveLeft) {
    const std::string dir = TempDir();
    pid_t dead = fork();
    if (dead == 0) _exit(0);
    waitpid(dead, nullptr, 0);
    const std::string stale = dir + "/tabora-" + std::to_string(dead) + "-AbC123.tmp";
    const std::string live = dir + "/tabora-" + std::to_string(getpid()) + "-XyZ789.tmp";
    const std::string foreign = dir + "/tabora-notes.tmp";
    for (const std::string& path : {stale, live, foreign}) {
        File f(path, File::Mode::Create);
        f.Write("x", 1);
    }
    // A child process saves, as a later run of the program would.
    const pid_t pid = fork();
    if (pid == 0) {
        WriteWholeFile(dir + "/button.png", "new", 3);
        _exit(0);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_EQ(Entries(dir),
              (std::vector<std::string>{"button.png", FileTitleOf(live), "tabora-notes.tmp"}));
}

// The temporary name does not grow with the target's: a name of the
// longest length the file system allows saves.
TEST(SafeSave, TheLongestNameSaves) {
    const std::string dir = TempDir();
    const std::string target = dir + "/" + std::string(251, 'n') + ".png";
    WriteWholeFile(target, "first", 5);
    WriteWholeFile(target, "second", 6);
    EXPECT_EQ(ReadWholeFile(target), "second");
    EXPECT_EQ(Entries(dir).size(), 1u);
}

// Saving through a symbolic link replaces the file it points to and keeps
// the link, as editors do; a dangling link gets its file.
TEST(SafeSave, ALinkIsKeptAndItsFileReplaced) {
    const std::string dir = TempDir();
    mkdir((dir + "/real").c_str(), 0755);
    WriteWholeFile(dir + "/real/button.png", "old", 3);
    ASSERT_EQ(symlink("real/button.png", (dir + "/link.png").c_str()), 0);
    ASSERT_EQ(symlink("link.png", (dir + "/link2.png").c_str()), 0);
    WriteWholeFile(dir + "/link2.png", "new", 3);
    struct stat st {};
    ASSERT_EQ(lstat((dir + "/link.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    ASSERT_EQ(lstat((dir + "/link2.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadWholeFile(dir + "/real/button.png"), "new");
    EXPECT_EQ(Entries(dir + "/real"), std::vector<std::string>{"button.png"});

    ASSERT_EQ(symlink("real/later.png", (dir + "/dangling.png").c_str()), 0);
    WriteWholeFile(dir + "/dangling.png", "made", 4);
    ASSERT_EQ(lstat((dir + "/dangling.png").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadWholeFile(dir + "/real/later.png"), "made");

    ASSERT_EQ(symlink("loop.png", (dir + "/loop.png").c_str()), 0);
    EXPECT_THROW(WriteWholeFile(dir + "/loop.png", "x", 1), FileError);
}

// A file without write permission is not replaced behind its owner's back
// (even for the superuser, who could write it anyway).
TEST(SafeSave, AReadOnlyFileIsRefusedWithAMessageSayingSo) {
    const std::string dir = TempDir();
    const std::string target = dir + "/button.png";
    WriteWholeFile(target, "old", 3);
    chmod(target.c_str(), 0444);
    try {
        WriteWholeFile(target, "new", 3);
        ADD_FAILURE() << "a read-only file was replaced";
    } catch (const FileError& e) {
        const std::string what = e.what();
        EXPECT_NE(what.find("\"" + target + "\""), std::string::npos) << what;
        EXPECT_NE(what.find("read-only"), std::string::npos) << what;
    }
    EXPECT_EQ(ReadWholeFile(target), "old");
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"button.png"});
}
