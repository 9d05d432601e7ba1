// Every image of the hostile corpus through the command line, the way a user
// meets it: `inspect FILE` and `render --from FILE`, each in a process of its
// own, each held to a second and 256 MB, with the promised answer. The table
// printed is the worst case the README gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>

#include "platform/File.h"
#include "tests/cli/CliUnderTest.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/HostileCorpus.h"

using namespace tabora::test;

namespace {

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer build is several times slower and keeps freed memory in
// quarantine; the bounds are for the program users run. Its peak also counts
// the test process itself, copied by the fork before the program starts, and
// that grows under the sanitizer as the test goes on.
constexpr double kSlowdown = 4.0;
constexpr uint64_t kMemoryLimit = 1024u << 20;
#else
constexpr double kSlowdown = 1.0;
constexpr uint64_t kMemoryLimit = 256u << 20;
#endif
constexpr double kTimeLimitSeconds = 1.0;
// A bomb that got through is stopped here rather than taking the machine.
constexpr uint64_t kAddressCap = 2ull << 30;

struct Worst {
    double seconds = 0;
    uint64_t bytes = 0;
    std::string slowest, largest;
};

}  // namespace

TEST(HostileCorpus, EveryImageThroughInspectAndRenderFrom) {
    TempDir dir;
    const std::string out = dir / "out.png";
    std::map<std::string, Worst> worst;  // by reader and command
    for (const HostileImage& image : HostileImages()) {
        const std::string path = dir / image.name;
        {
            const Bytes file = image.make();
            tabora::WriteWholeFile(path, file.data(), file.size());
        }
        double imageSeconds = 0;
        uint64_t imageBytes = 0;
        for (const char* command : {"inspect", "render"}) {
            SCOPED_TRACE(image.name + " through " + command);
            std::vector<std::string> argv = {CliUnderTest(), command};
            if (std::string(command) == "inspect") {
                argv.push_back(path);
            } else {
                argv.insert(argv.end(), {"--from", path, "-o", out});
            }
            ProgramLimits limits;
            limits.addressBytes = kAddressCap;
            limits.timeoutSeconds = 20;
            const ProgramRun run = RunProgram(argv, limits);
            ASSERT_EQ(run.signal, 0) << "killed by signal " << run.signal;
            switch (image.answer) {
                case Answer::Opens:
                    EXPECT_EQ(run.status, 0) << run.err;
                    break;
                case Answer::NoButton:
                    EXPECT_EQ(run.status, 1);
                    EXPECT_NE(run.err.find("carries no button settings"), std::string::npos)
                        << run.err;
                    break;
                case Answer::ReadError:
                    EXPECT_EQ(run.status, 1);
                    EXPECT_NE(run.err.find(image.error), std::string::npos) << run.err;
                    break;
            }
            for (char c : run.out)
                EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n') << int(c);
            EXPECT_LT(run.seconds, kTimeLimitSeconds * kSlowdown);
            EXPECT_LT(run.peakBytes, kMemoryLimit);
            imageSeconds = std::max(imageSeconds, run.seconds);
            imageBytes = std::max(imageBytes, run.peakBytes);
            Worst& w = worst[tabora::ExtensionOf(image.name) + " " + command];
            if (run.seconds > w.seconds) {
                w.seconds = run.seconds;
                w.slowest = image.name;
            }
            if (run.peakBytes > w.bytes) {
                w.bytes = run.peakBytes;
                w.largest = image.name;
            }
        }
        std::printf("  %-32s %6.3f s %6.1f MB\n", image.name.c_str(), imageSeconds,
                    double(imageBytes) / (1 << 20));
        std::remove(path.c_str());
    }
    for (const auto& [reader, w] : worst) {
        std::printf("  %-12s slowest %6.3f s (%s), largest %6.1f MB (%s)\n", reader.c_str(),
                    w.seconds, w.slowest.c_str(), double(w.bytes) / (1 << 20), w.largest.c_str());
    }
}
