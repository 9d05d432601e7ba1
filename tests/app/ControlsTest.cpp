// The custom controls on their own: the read-out's truncation rules, the
// font list's prefix rule, the size list's order and height queries, and the
// translation of the bar-separated file-dialog filters.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <tuple>

#include "GuiTestSupport.h"
#include "app/Readouts.h"
#include "controls/AValueWnd.h"
#include "controls/CSizeComboBox.h"
#include "controls/FontPopup.h"
#include "controls/MaskedImageWnd.h"
#include "controls/PreviewWnd.h"
#include "controls/WorkAreaWnd.h"
#include "platform/Resources.h"
#include "platform/qt/DialogHost.h"
#include "platform/qt/QtDialogHost.h"

namespace tabora {
namespace {

QString Shown(float value, bool percent, bool degree, bool decimal, bool plus,
              bool parentheses = false) {
    AValueWnd readout;
    readout.value = value;
    readout.percentSign = percent;
    readout.degreeSign = degree;
    readout.oneDecimal = decimal;
    readout.plusSign = plus;
    readout.parentheses = parentheses;
    return readout.Text();
}

TEST(AValueWnd, DrawsTruncatedTenths) {
    EXPECT_EQ(Shown(0.5f, false, false, true, false), "0.5");
    EXPECT_EQ(Shown(100.0f, true, false, false, false), "100%");
    // -0.05 truncates to 0 tenths: no minus sign, the plus sign instead.
    EXPECT_EQ(Shown(-0.05f, false, false, true, true), "+0.0");
    // 9.7 as a float is 9.69999981: the tenths digit comes out 6.
    EXPECT_EQ(Shown(9.7f, false, false, true, false), "9.6");
    // Only four decimal places take part: the thousands digit is lost.
    EXPECT_EQ(Shown(1234.5f, false, false, true, false), "234.5");
    EXPECT_EQ(Shown(12.0f, false, false, false, false, true), "(12)");
    EXPECT_EQ(Shown(-20.0f, true, false, true, true), "-20.0%");
}

TEST(AValueWnd, GlyphsAreTheResourceTable) {
    AValueWnd readout;
    readout.value = 0.5f;
    readout.oneDecimal = true;
    readout.parentheses = false;
    EXPECT_EQ(readout.GlyphSequence(),
              (std::vector<int>{AValueWnd::kZero, AValueWnd::kDecimal, AValueWnd::kZero + 5}));
    // Every glyph is 5 pixels high; "one" is narrower than the other digits.
    EXPECT_EQ(AValueWnd::GlyphImage(AValueWnd::kZero + 1).Width(), 3);
    EXPECT_EQ(AValueWnd::GlyphImage(AValueWnd::kZero + 2).Width(), 6);
    EXPECT_EQ(AValueWnd::GlyphImage(AValueWnd::kDegree).Height(), 5);
}

TEST(Readouts, SliderValuesAsTheyAreShown) {
    auto hue = [](int32_t p) { return Shown(HueReadout(p), false, true, false, true); };
    auto bright = [](int32_t v) { return Shown(BrightnessReadout(v), true, false, true, true); };
    auto size = [](int32_t p) { return Shown(SizeReadout(p), true, false, false, false); };
    EXPECT_EQ(hue(0), QString::fromUtf8("+0°"));
    EXPECT_EQ(hue(2048), QString::fromUtf8("+179°"));
    EXPECT_EQ(hue(4096), QString::fromUtf8("+359°"));
    EXPECT_EQ(bright(-205), "-20.0%");
    EXPECT_EQ(bright(0), "+0.0%");
    EXPECT_EQ(bright(100), "+9.6%");
    EXPECT_EQ(bright(205), "+20.0%");
    EXPECT_EQ(size(20), "10%");
    EXPECT_EQ(size(200), "100%");
    EXPECT_EQ(size(332), "166%");
}

TEST(Readouts, StyleListMapping) {
    EXPECT_EQ(FontStyleOfIndex(0), 0x40u);
    EXPECT_EQ(FontStyleOfIndex(3), 0x21u);
    EXPECT_EQ(FontStyleOfIndex(-1), 0x40u);
    EXPECT_EQ(IndexOfFontStyle(0x01), 2);
    EXPECT_EQ(IndexOfFontStyle(0x20), 1);
    EXPECT_EQ(IndexOfFontStyle(0x21), 3);
    EXPECT_EQ(IndexOfFontStyle(0), 0);  // regular as stored data carries it
    EXPECT_EQ(PointsOfHeight(-16), 12);
    EXPECT_EQ(PointsOfHeight(13), -10);  // a raster cell height gives a negative size
}

FontRecord Face(const char* name) {
    FontRecord record;
    record.faceName = name;
    return record;
}

TEST(FontPopup, SkipsFamiliesThatStartAListedName) {
    FontPopup list;
    EXPECT_GE(list.AddFont(Face("Arial Black"), kTrueTypeFontType), 0);
    EXPECT_EQ(list.AddFont(Face("arial"), kTrueTypeFontType), -1);
    EXPECT_EQ(list.count(), 1);

    FontPopup other;
    EXPECT_GE(other.AddFont(Face("Arial"), kTrueTypeFontType), 0);
    EXPECT_GE(other.AddFont(Face("Arial Black"), kTrueTypeFontType), 0);
    EXPECT_GE(other.AddFont(Face("Courier"), kRasterFontType), 0);
    EXPECT_GE(other.AddFont(Face("bitstream"), kRasterFontType), 0);
    ASSERT_EQ(other.count(), 4);
    // Sorted with letter case ignored.
    EXPECT_EQ(other.itemText(0), "Arial");
    EXPECT_EQ(other.itemText(2), "bitstream");
    EXPECT_EQ(other.GetFontItem(3).fontType, kRasterFontType);
    EXPECT_EQ(other.GetFontItem(3).record.faceName, "Courier");
    // Without a selection: the item the text starts, else item 0.
    other.setCurrentIndex(-1);
    EXPECT_EQ(other.GetFontItem(-1).record.faceName, "Arial");
}

TEST(CSizeComboBox, KeepsHeightOrderAndDropsDuplicates) {
    CSizeComboBox sizes;
    EXPECT_EQ(sizes.AddSize(12, 0), 0);
    EXPECT_EQ(sizes.AddSize(12, 0), -1);
    sizes.clear();
    sizes.AddSize(8, 0);
    sizes.AddSize(10, 0);
    sizes.AddSize(9, 0);
    ASSERT_EQ(sizes.count(), 3);
    EXPECT_EQ(sizes.itemText(0), "8");
    EXPECT_EQ(sizes.itemText(1), "9");
    EXPECT_EQ(sizes.itemText(2), "10");
    EXPECT_EQ(sizes.GetHeight(1), -12);
    // Raster sizes (positive cell heights) in ascending pixel order.
    CSizeComboBox raster;
    raster.AddSize(10, 13);
    raster.AddSize(8, 11);
    EXPECT_EQ(raster.itemText(0), "8");
}

TEST(CSizeComboBox, HeightOfTypedText) {
    CSizeComboBox sizes;
    sizes.AddSize(10, 0);
    sizes.AddSize(12, 0);
    sizes.setCurrentIndex(-1);
    sizes.setEditText("1");  // the prefix of an item: that item
    EXPECT_EQ(sizes.GetHeight(-1), -13);
    sizes.setEditText("30");  // a number of its own
    EXPECT_EQ(sizes.GetHeight(-1), -40);
    sizes.setEditText("7.5");  // rounded to whole points
    EXPECT_EQ(sizes.GetHeight(-1), MulDiv(-96, 8, 72));
    sizes.setEditText("abc");  // nothing: item 0
    EXPECT_EQ(sizes.GetHeight(-1), -13);
}

TEST(QtDialogHost, TranslatesBarSeparatedFilters) {
    EXPECT_EQ(QtFilterFromBars("GIF, JPEG, PNG or BMP|*.gif;*.jpg;*.png;*.bmp||"),
              "GIF, JPEG, PNG or BMP (*.gif *.jpg *.png *.bmp)");
    EXPECT_EQ(QtFilterFromBars("PNG File (*.png)|*.png|GIF File (*.gif)|*.gif||"),
              "PNG File (*.png);;GIF File (*.gif)");
    EXPECT_EQ(FirstExtensionOfFilter("JPEG File (*.jpg)"), "jpg");
}

TEST(QtDialogHost, PromptsCarryTheirWording) {
    PromptDialog open(Prompt::OpenWithoutSaving);
    EXPECT_EQ(open.windowTitle(), "Open Without Saving?");
    auto* no = open.findChild<QPushButton*>("noButton");
    auto* yes = open.findChild<QPushButton*>("yesButton");
    ASSERT_TRUE(no && yes);
    EXPECT_EQ(no->text(), "No, Don't Open");
    EXPECT_EQ(yes->text(), "Yes, Open");
    EXPECT_TRUE(yes->isDefault());
    PromptDialog quit(Prompt::QuitWithoutSaving);
    EXPECT_EQ(quit.findChild<QLabel*>("text")->text(), "Quit without saving your current button?");
    EXPECT_EQ(quit.findChild<QPushButton*>("noButton")->text(), "No, Don't Quit");
    // Escape answers No.
    quit.show();
    QTest::keyClick(&quit, Qt::Key_Escape);
    EXPECT_EQ(quit.result(), QDialog::Rejected);
}

// The work area's panel and frame take their alpha from their masks: a
// picture loaded without its mask would paint its corners solid.
TEST(InterfacePictures, TheWorkAreaPicturesCarryTheirMasks) {
    for (const auto& [picture, color, mask] :
         {std::tuple{&WorkAreaWnd::Backdrop().one, "wabacki", "wabackm"},
          std::tuple{&WorkAreaWnd::Overlay().one, "waoverlayi", "waoverlaym"}}) {
        ArgbImage expected;
        ASSERT_EQ(expected.LoadFromResources(color, mask), ArgbImage::Load::Loaded) << color;
        ASSERT_EQ(picture->Width(), expected.Width()) << color;
        ASSERT_EQ(picture->Height(), expected.Height()) << color;
        EXPECT_TRUE(std::equal(expected.Pixels(),
                               expected.Pixels() + size_t(expected.Width()) * expected.Height(),
                               picture->Pixels()))
            << color;
        EXPECT_EQ(PixelAlpha(picture->At(0, 0)), 0) << color;  // a rounded corner
    }
}

// A bitmap the bitmap class refuses is the one picture trouble the user is
// told about, once for each picture; a missing one leaves the face bare.
TEST(InterfacePictures, ARefusedBitmapIsReportedOncePerPicture) {
    std::vector<uint8_t> refused(64, 0);
    refused[0] = 12;  // an old-style core header, not ours
    ResourceBlobWriter writer;
    for (const char* name : {"badi", "badm", "wabackm"}) writer.AddBitmap(name, refused);
    testing::ScopedResources resources(writer);
    ScriptedDialogHost host;
    testing::ScopedDialogHost asking(host);
    MaskedImageWnd picture;
    EXPECT_FALSE(picture.Create("badi", "badm"));
    EXPECT_EQ(host.messages, std::vector<std::string>{"AttachMemory error"});
    EXPECT_FALSE(picture.Create("nothing", "badm"));
    EXPECT_FALSE(picture.Create("nothing"));
    EXPECT_EQ(host.messages.size(), 1u);
    // The preview's button loads the work-area background itself.
    PreviewWnd preview;
    EXPECT_EQ(preview.button().RefusedPictures(), 1);
    EXPECT_EQ(host.messages.size(), 2u);
}

}  // namespace
}  // namespace tabora
