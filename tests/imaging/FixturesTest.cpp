// Files written by older versions and laid out the way other programs write
// them: the only proof that stored files still open. They are committed
// under tests/data and read from there.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "imaging/ButtonFile.h"
#include "io/ButtonData.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"
#include "tests/imaging/FixtureFiles.h"
#include "tests/support/SampleSettings.h"

using namespace tabora;
using namespace tabora::test;

namespace {

std::string DataFolder() {
    const char* folder = std::getenv("TABORA_TEST_DATA");
    return folder ? folder : "tests/data";
}

// Writes the files first when asked to (TABORA_WRITE_FIXTURES=folder).
class Fixtures : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (const char* folder = std::getenv("TABORA_WRITE_FIXTURES")) WriteFixtures(folder);
    }
    static std::string Path(const std::string& name) {
        const char* written = std::getenv("TABORA_WRITE_FIXTURES");
        return (written ? std::string(written) : DataFolder()) + "/" + name;
    }
};

}  // namespace

TEST_F(Fixtures, EveryOlderPayloadOpensInEveryFormat) {
    const ButtonSettings written = SampleSettings();
    for (int version : {0x0100, 0x0101, 0x0102}) {
        for (const FormatEntry& format : Formats()) {
            const std::string name = PayloadFixture(version, format);
            TaboraButton button(GetArchive());
            const ButtonSettings before = button.settings();
            const OpenResult result = OpenButton(button, Path(name));
            ASSERT_TRUE(result.opened()) << name << ": " << result.detail;
            EXPECT_EQ(result.payloadVersion, version) << name;
            EXPECT_EQ(result.format, &format) << name;

            // What every version carries; a regular font reads back as 0.
            ButtonSettings expected = written;
            // Before 0x0102 the size is only the scale, squared back.
            if (version < 0x0102) {
                expected.buttonSize =
                    SizeFromScale(SizeScale(written.buttonSize), kMinStoredButtonSize,
                                  button.MaxButtonSize());
            }
            // Fields a version lacks keep what the button had.
            if (version < 0x0101) {
                expected.removeBackground = before.removeBackground;
                expected.jpegQuality = before.jpegQuality;
            }
            expected.includeShadowArea = before.includeShadowArea;
            EXPECT_EQ(button.settings(), expected) << name;
        }
    }
}

TEST_F(Fixtures, ForeignFilesWithABlockOpenAndOthersAreRefusedAsTheirReaderSays) {
    const ExpectedOpen cases[] = {
        {"foreign/paint-with-block.png", OpenOutcome::Opened, ""},
        {"foreign/animation-with-block.gif", OpenOutcome::Opened, ""},
        {"foreign/editor-with-block.jpg", OpenOutcome::Opened, ""},
        {"foreign/top-down-with-block.bmp", OpenOutcome::Opened, ""},
        // Two text chunks, neither ours.
        {"foreign/paint-no-block.png", OpenOutcome::NoBlock, ""},
        // The block is ours, but only a comment that comes first counts.
        {"foreign/animation-comment-second.gif", OpenOutcome::NoBlock, ""},
        {"foreign/animation-no-block.gif", OpenOutcome::NoBlock, ""},
        // Another program's APP12 is not ours.
        {"foreign/editor-no-block.jpg", OpenOutcome::NoBlock, "sig != Tbra"},
        {"foreign/v5-header.bmp", OpenOutcome::NoBlock, ""},
        {"foreign/palette.bmp", OpenOutcome::NoBlock, ""},
    };
    for (const ExpectedOpen& c : cases) {
        TaboraButton button(GetArchive());
        const OpenResult result = CheckOpen(button, Path(c.name), c);
        if (result.opened()) {
            EXPECT_EQ(result.payloadVersion, kPayloadVersion) << c.name;
            EXPECT_EQ(button.settings(), ForeignSettings()) << c.name;
        }
    }
}
