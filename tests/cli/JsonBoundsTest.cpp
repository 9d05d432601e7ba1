// The settings and batch files of tabora-cli come from anywhere: a file of
// the largest size accepted, in the shape that costs the parser most, must be
// answered in under a second and with less than 256 MB of memory.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/JsonFile.h"
#include "platform/File.h"
#include "tests/cli/CliUnderTest.h"
#include "tests/support/ChildCost.h"
#include "tests/support/TimeBudget.h"

namespace fs = std::filesystem;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build runs the same work several times slower and keeps
// freed memory in quarantine; the bounds are for the program users run.
constexpr double kSlowdown = 4.0;
#else
constexpr double kSlowdown = 1.0;
#endif
constexpr double kTimeLimitSeconds = 1.0;
constexpr long kMemoryLimitKb = 256 * 1024;

struct Cost {
    int status = -1;
    double seconds = 0;
    long maxRssKb = 0;
};

// Runs the command line in a child and measures it.
Cost RunCli(const std::vector<std::string>& args) {
    std::vector<std::string> argv = {tabora::test::CliUnderTest()};
    argv.insert(argv.end(), args.begin(), args.end());
    tabora::test::ProgramLimits limits;
    limits.timeoutSeconds = 30;
    const tabora::test::ProgramRun run = tabora::test::RunProgram(argv, limits);
    return {run.status, run.seconds, long(run.peakBytes / 1024)};
}

// `{"pad": [item, item, ...]}` filling `bytes`.
std::string ArrayOf(const std::string& item, size_t bytes) {
    std::string text = "{\"pad\": [";
    while (text.size() + 2 * item.size() + 3 <= bytes) text += item + ",";
    text += item + "]}";
    return text;
}

class JsonBounds : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tabora-json-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = (dir_ / name).string();
        tabora::WriteWholeFile(path, text.data(), text.size());
        return path;
    }

    fs::path dir_;
};

}  // namespace

TEST_F(JsonBounds, TheCostliestFilesOfTheLargestSizeAreAnsweredQuickly) {
    const size_t size = tabora::cli::kMaxJsonFileBytes;
    const std::vector<std::pair<std::string, std::string>> shapes = {
        {"numbers", ArrayOf("0", size)},
        {"empty objects", ArrayOf("{}", size)},
        {"empty arrays", ArrayOf("[]", size)},
        {"objects", ArrayOf("{\"a\":0}", size)},
        {"strings", ArrayOf("\"\"", size)},
        {"one string", "{\"caption\": \"" + std::string(size - 20, 'x') + "\"}"},
        {"brackets", std::string(size / 2, '[') + std::string(size / 2, ']')},
    };
    for (const auto& [name, text] : shapes) {
        ASSERT_LE(text.size(), size) << name;
        const std::string path = Write("shape.json", text);
        for (const char* command : {"render", "batch"}) {
            const Cost cost = std::string(command) == "render"
                                  ? RunCli({"render", "--settings", path, "-o", (dir_ / "out.png").string()})
                                  : RunCli({"batch", path});
            // Refused (1: not usable, 2: a key or value out of range), never crashed.
            EXPECT_TRUE(cost.status == 1 || cost.status == 2) << name << " " << command << ": " << cost.status;
            if (tabora::test::TimeBudgetsHeld()) {
                EXPECT_LT(cost.seconds, kTimeLimitSeconds * kSlowdown) << name << " " << command;
            }
            EXPECT_LT(cost.maxRssKb, kMemoryLimitKb) << name << " " << command;
            std::printf("  %-14s %-6s exit %d  %6.3f s  %6.1f MB\n", name.c_str(), command, cost.status,
                        cost.seconds, double(cost.maxRssKb) / 1024);
        }
    }
    // One byte more is refused before it is read.
    const std::string path = Write("big.json", ArrayOf("0", size) + " ");
    EXPECT_EQ(RunCli({"render", "--settings", path, "-o", (dir_ / "out.png").string()}).status, 1);
}
