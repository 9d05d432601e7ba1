// What the command line promises about the files it writes, tried the hard
// way: killed in the middle of a batch, stopped by a file-size limit, and
// asked whether a finished batch is on the disk.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/File.h"
#include "tests/cli/CliUnderTest.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/ChildCost.h"

namespace fs = std::filesystem;
using nlohmann::json;
using namespace tabora::test;

namespace {

ProgramRun Cli(std::vector<std::string> args, const ProgramLimits& limits = {}) {
    args.insert(args.begin(), CliUnderTest());
    return RunProgram(args, limits);
}

// Names the program gives its temporary files, old and new.
bool IsTemporary(const std::string& name) { return name.find(".tmp") != std::string::npos; }

size_t Temporaries(const std::string& folder) {
    size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        n += IsTemporary(entry.path().filename().string());
    return n;
}

// A PNG ends with its end chunk: a file cut short does not.
bool CompletePng(const std::string& path) {
    const std::string bytes = tabora::ReadWholeFile(path);
    static const std::string kEnd("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
    return bytes.size() > 12 && bytes.compare(bytes.size() - 12, 12, kEnd) == 0;
}

}  // namespace

// A batch that replaces its files is killed again and again at random
// moments. Each kill may cut off the save in progress: the previous files
// stay whole, the new file never appears half-written, and temporary files
// do not pile up: a kill while a file is written leaves nothing, and what a
// kill inside the final rename leaves is removed by the next run.
// TABORA_KILL_ROUNDS sets the number of kills (20 by default).
TEST(Saving, AKilledBatchLeavesNoTemporaryFiles) {
    TempDir dir;
    const std::vector<int> styles = StylesWithPictures();
    ASSERT_FALSE(styles.empty());
    json buttons = json::array();
    for (int i = 0; i < 200; ++i) {
        std::string name = std::to_string(1000 + i);
        name += ".png";
        buttons.push_back({{"output", name},
                           {"styleNumber", styles[size_t(i * 7) % styles.size()]},
                           {"caption", "Item"}});
    }
    const std::string batch = dir / "batch.json";
    const std::string text = json{{"buttons", buttons}}.dump();
    tabora::WriteWholeFile(batch, text.data(), text.size());
    const ProgramRun first = Cli({"batch", batch, "-j", "2"});
    ASSERT_EQ(first.status, 0) << first.err;
    const double runSeconds = first.seconds;

    const char* rounds = std::getenv("TABORA_KILL_ROUNDS");
    const int kills = rounds ? std::atoi(rounds) : 20;
    std::mt19937 random(12);
    int leftBehind = 0;
    int landed = 0;  // kills that found the batch still running
    for (int round = 0; round < kills; ++round) {
        const pid_t pid = fork();
        if (pid == 0) {
            const std::string cli = CliUnderTest();
            execl(cli.c_str(), cli.c_str(), "batch", batch.c_str(), "-j", "2",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        const auto delay =
            std::chrono::duration<double>(runSeconds * (0.1 + 0.8 * (random() % 1000) / 1000.0));
        std::this_thread::sleep_for(delay);
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        landed += WIFSIGNALED(status);
        const size_t now = Temporaries(dir / "");
        leftBehind += now > 0;
        // Each run removes what the kills before it left; at most one kill's
        // worth (a file for each of the two threads) is ever there.
        ASSERT_LE(now, 2u) << "after kill " << round;
    }
    size_t outputs = 0;
    for (const auto& entry : fs::directory_iterator(dir / "")) {
        const std::string name = entry.path().filename().string();
        if (name.ends_with(".png") && !IsTemporary(name)) {
            ++outputs;
            EXPECT_TRUE(CompletePng(entry.path().string())) << name;
        }
    }
    EXPECT_EQ(outputs, buttons.size());
    ASSERT_EQ(Cli({"batch", batch, "-j", "2"}).status, 0);
    EXPECT_EQ(Temporaries(dir / ""), 0u);
    std::printf(
        "  %d kills, %d of them while the batch ran; %d left a temporary file at that moment, each "
        "removed by the next run\n",
        kills, landed, leftBehind);
}

// A file-size limit (ulimit -f) stops the write with an error, not the
// process with a signal: the message says why, the old file stays.
TEST(Saving, AFileSizeLimitIsAFailedSaveNotASignal) {
    TempDir dir;
    const std::string out = dir / "big.png";
    tabora::WriteWholeFile(out, "old", 3);
    ProgramLimits limits;
    limits.fileBytes = 512;
    const ProgramRun run = Cli(
        {"render", "-o", out, "--style", "12", "--caption", "More than half a kilobyte"}, limits);
    EXPECT_EQ(run.signal, 0) << "killed by signal " << run.signal;
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(out), std::string::npos) << run.err;
    EXPECT_EQ(tabora::ReadWholeFile(out), "old");
    EXPECT_EQ(Temporaries(dir / ""), 0u);
}

// A batch that exits 0 has put its files on the disk: after its last file
// is in place it waits for the file system (syncfs), once.
TEST(Saving, ABatchThatSucceedsHasItsFilesOnTheDisk) {
    TempDir dir;
    const std::string batch = dir / "batch.json";
    const std::string text =
        R"({"html": "nav.html", "buttons": [{"output": "a.png"}, {"output": "b.gif"}, {"output": "c.jpg"}]})";
    tabora::WriteWholeFile(batch, text.data(), text.size());
    const std::string log = dir / "spy.log";
    // The address sanitizer wants its runtime first; the spy goes before it.
    const char* sanitizer = std::getenv("ASAN_OPTIONS");
    const std::string previous = sanitizer ? sanitizer : "";
    setenv("ASAN_OPTIONS", (previous + ":verify_asan_link_order=0").c_str(), 1);
    setenv("LD_PRELOAD", TABORA_SYNC_SPY_PATH, 1);
    setenv("TABORA_SYNC_SPY_LOG", log.c_str(), 1);
    const ProgramRun run = Cli({"batch", batch, "-j", "2"});
    unsetenv("LD_PRELOAD");
    unsetenv("TABORA_SYNC_SPY_LOG");
    if (sanitizer) {
        setenv("ASAN_OPTIONS", previous.c_str(), 1);
    } else {
        unsetenv("ASAN_OPTIONS");
    }
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> lines;
    std::istringstream in(tabora::ReadWholeFile(log));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    ASSERT_GE(lines.size(), 5u);
    // Three buttons and the page, then one wait for the disk.
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("rename"); }),
              4);
    EXPECT_EQ(lines.back(), "syncfs ");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "syncfs "), 1);
}
