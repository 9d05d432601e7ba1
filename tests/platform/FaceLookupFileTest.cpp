#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/FaceLookupFile.h"
#include "platform/File.h"

using namespace tabora;
namespace fs = std::filesystem;

namespace {

class FaceLookupFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tabora-faces-XXXXXX").string();
        dir_ = ::mkdtemp(pattern.data());
        font_ = (dir_ / "Some Font.ttf").string();
        std::ofstream(font_) << "not really a font";
        face_.path = font_;
        face_.index = 2;
        face_.family = "Some Font";
        face_.syntheticItalic = true;
    }
    void TearDown() override { fs::remove_all(dir_); }
    std::string Store() const { return (dir_ / "cache/tabora/face-lookups").string(); }

    fs::path dir_;
    std::string font_;
    ResolvedFace face_;
};

// Keys hold a NUL between name and weight, as the lookup builds them.
const std::string kKey = std::string("Some Font") + '\0' + "700i";

}  // namespace

TEST_F(FaceLookupFileTest, AnswersAreKeptBetweenRuns) {
    FaceLookupFile(Store()).Remember(kKey, face_);
    FaceLookupFile later(Store());
    std::optional<ResolvedFace> found = later.Find(kKey);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->path, font_);
    EXPECT_EQ(found->index, 2);
    EXPECT_EQ(found->family, "Some Font");
    EXPECT_FALSE(found->syntheticBold);
    EXPECT_TRUE(found->syntheticItalic);
    EXPECT_FALSE(later.Find(std::string("Other") + '\0' + "400r").has_value());
}

TEST_F(FaceLookupFileTest, AChangedFontFileOrSetupIsAskedAgain) {
    FaceLookupFile(Store()).Remember(kKey, face_);
    std::ofstream(font_, std::ios::app) << " grown";
    EXPECT_FALSE(FaceLookupFile(Store()).Find(kKey).has_value());

    FaceLookupFile(Store()).Remember(kKey, face_);
    fs::remove(font_);
    EXPECT_FALSE(FaceLookupFile(Store()).Find(kKey).has_value());

    // A file written under another font setup carries another stamp.
    std::ofstream(font_) << "again";
    FaceLookupFile(Store()).Remember(kKey, face_);
    std::string text = ReadWholeFile(Store());
    const size_t end = text.find('\n');
    text.replace(0, end, "tabora-face-lookups 1 12345");
    WriteWholeFile(Store(), text.data(), text.size());
    EXPECT_FALSE(FaceLookupFile(Store()).Find(kKey).has_value());
}

TEST_F(FaceLookupFileTest, DamagedOrUnwritableStoresOnlyCostTime) {
    FaceLookupFile(Store()).Remember(kKey, face_);
    std::string text = ReadWholeFile(Store());
    for (size_t cut = 0; cut < text.size(); cut += 7) {
        std::string damaged = text.substr(0, cut) + "zz\n";
        WriteWholeFile(Store(), damaged.data(), damaged.size());
        FaceLookupFile store(Store());
        std::optional<ResolvedFace> found = store.Find(kKey);
        if (found) {
            EXPECT_EQ(found->path, font_);
        }
    }
    // No folder can be made under a plain file: nothing is stored, nothing fails.
    FaceLookupFile nowhere(font_ + "/sub/face-lookups");
    nowhere.Remember(kKey, face_);
    EXPECT_FALSE(nowhere.Find(std::string("x")).has_value());
    FaceLookupFile none("");
    none.Remember(kKey, face_);
    EXPECT_FALSE(none.Find(kKey).has_value());
}
