// Batches from anywhere: each hostile batch of the corpus must be refused
// (or run) as promised, and nothing may be written outside its folder or
// over a file that is not one of its outputs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "platform/File.h"
#include "tests/cli/CliUnderTest.h"
#include "tests/imaging/CodecTestSupport.h"
#include "tests/support/HostileCorpus.h"

namespace fs = std::filesystem;
using namespace tabora::test;

namespace {

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(HostileBatch, EachIsRefusedOrRunAsPromised) {
    for (const HostileBatch& batch : HostileBatches()) {
        SCOPED_TRACE(batch.name + ": " + batch.attack);
        // The batch's folder inside a folder of its own, to see anything
        // written beside it.
        TempDir outer;
        const fs::path folder = outer / "site";
        fs::create_directory(folder);
        for (const auto& [name, target] : batch.links) fs::create_symlink(target, folder / name);
        std::string text = batch.json;
        for (size_t at; (at = text.find("{folder}")) != std::string::npos;)
            text.replace(at, 8, folder.string());
        const std::string file = (folder / batch.file).string();
        tabora::WriteWholeFile(file, text.data(), text.size());
        const std::set<std::string> before = Names(folder);

        // Named from the folder above, as a user in a shell would: an
        // absolute output is then another spelling of a relative one.
        ProgramLimits from;
        from.directory = outer / "";
        const ProgramRun run = RunProgram({CliUnderTest(), "batch", "site/" + batch.file}, from);
        EXPECT_EQ(run.status, batch.status) << run.err;
        EXPECT_NE(run.err.find(batch.mention), std::string::npos) << run.err;
        EXPECT_EQ(tabora::ReadWholeFile(file), text) << "the batch file was changed";
        EXPECT_EQ(Names(outer / ""), std::set<std::string>{"site"})
            << "something was written beside the folder";
        if (batch.status != 0) {
            EXPECT_EQ(Names(folder), before) << "a refused batch wrote something";
        }
        for (const auto& [name, target] : batch.links) {
            EXPECT_TRUE(fs::is_symlink(folder / name)) << name << " is no longer a link";
        }
    }
}
