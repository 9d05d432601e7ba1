#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/stat.h>

#include <csignal>
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
