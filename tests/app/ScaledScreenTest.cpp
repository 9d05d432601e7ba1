// High-density screens: Save writes the finer pictures ticked in the options
// dialog, remembered between runs; on a screen with two device pixels per
// window pixel (run again under QT_SCALE_FACTOR=2) the preview, the archive
// and the interface pictures are drawn from the 2x art.
#include <QCheckBox>
#include <QImage>
#include <QLineEdit>
#include <QSlider>

#include "GuiTestSupport.h"
#include "app/Preferences.h"
#include "controls/MaskedImageWnd.h"
#include "controls/PreviewWnd.h"
#include "imaging/qt/OptionsDialogs.h"
#include "platform/qt/QtImages.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora::testing {
namespace {

using ScaledSaveTest = WindowTest;

QImage Decoded(const std::string& path) { return QImage(QString::fromStdString(path)); }

// Whether a picture grabbed at two device pixels per pixel has detail finer
// than a window pixel: an enlarged 1x picture has none, every 2 x 2 block
// being one colour.
bool HasFinerDetail(const QImage& grabbed) {
    const QImage image = grabbed.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                return true;
        }
    return false;
}

TEST_F(ScaledSaveTest, TickedScalesAreSavedBesideTheFileAndRemembered) {
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Go");
    host.fileAnswers.push_back(PathIn("nav.png"));
    ScriptOptionsDialogs([](QDialog& dialog) {
        auto& options = static_cast<ExportOptionsDialog&>(dialog);
        ASSERT_NE(options.scaleCheck(2), nullptr);
        EXPECT_FALSE(options.scaleCheck(2)->isChecked());
        options.scaleCheck(2)->setChecked(true);
    });
    window->SaveAsFormat(ImageFormat::Png);
    const QImage one = Decoded(PathIn("nav.png")), two = Decoded(PathIn("nav@2x.png"));
    ASSERT_FALSE(one.isNull());
    ASSERT_FALSE(two.isNull());
    EXPECT_EQ(two.size(), one.size() * 2);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathIn("nav@3x.png"))));

    // Save writes the finer file again; the 2x file opens the same button.
    Child<QSlider>("hueSlider")->setValue(100);
    window->OnSave();
    EXPECT_EQ(Decoded(PathIn("nav@2x.png")).size(), two.size());
    TaboraButton one1(GetArchive()), two1(GetArchive());
    ASSERT_TRUE(OpenButton(one1, PathIn("nav.png")).opened());
    ASSERT_TRUE(OpenButton(two1, PathIn("nav@2x.png")).opened());
    EXPECT_EQ(two1.settings(), one1.settings());
    EXPECT_EQ(two1.settings().hueShift, window->settings().hueShift);

    // A new window (the next run) offers the same choice.
    window = std::make_unique<TaboraWindow>();
    host.fileAnswers.push_back(PathIn("next.gif"));
    bool ticked = false;
    ScriptOptionsDialogs([&](QDialog& dialog) {
        auto& options = static_cast<ExportOptionsDialog&>(dialog);
        ticked = options.scaleCheck(2)->isChecked() && !options.scaleCheck(3)->isChecked();
        options.scaleCheck(2)->setChecked(false);
        options.scaleCheck(3)->setChecked(true);
    });
    window->SaveAsFormat(ImageFormat::Gif);
    EXPECT_TRUE(ticked);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathIn("next@2x.gif"))));
    EXPECT_EQ(Decoded(PathIn("next@3x.gif")).size(), Decoded(PathIn("next.gif")).size() * 3);
    Preferences().SetExtraScales({});
}

// Only meaningful on a finer screen: the ctest entry "at2x." runs it with
// QT_SCALE_FACTOR=2.
TEST_F(WindowTest, OnAFinerScreenThePreviewAndArchiveUseTheFinerArt) {
    if (ScreenArtScale() == 1) GTEST_SKIP() << "a screen of one device pixel per pixel";
    ASSERT_EQ(ScreenArtScale(), 2);
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Home");
    PreviewWnd* preview = window->preview();
    preview->RefreshNow();
    // The preview shows the button drawn at 2x, laid out as the 1x one.
    const TaboraButton& shown = preview->shownButton();
    EXPECT_EQ(shown.scale(), 2);
    EXPECT_EQ(shown.settings(), window->settings());
    EXPECT_EQ(shown.canvas().Width(), 2 * kCanvasWidth);
    const QImage grabbed = preview->grab().toImage();
    EXPECT_EQ(grabbed.devicePixelRatio(), 2.0);
    EXPECT_EQ(grabbed.width(), 2 * kCanvasWidth);
    // Every device pixel of the preview is the 2x canvas's (it is opaque).
    const QImage onScreen = grabbed.convertToFormat(QImage::Format_RGB32);
    int differ = 0;
    for (int y = 0; y < onScreen.height(); ++y)
        for (int x = 0; x < onScreen.width(); ++x) {
            const uint32_t p = shown.canvas().At(x, y);
            differ += onScreen.pixel(x, y) != qRgb(PixelRed(p), PixelGreen(p), PixelBlue(p));
        }
    EXPECT_EQ(differ, 0);

    EXPECT_TRUE(HasFinerDetail(grabbed));

    // The archive shows its 2x tiles; the step labels and the format icons
    // are drawn from their 2x pictures.
    auto* archive = window->findChild<ArchiveWnd*>();
    ASSERT_NE(archive, nullptr);
    EXPECT_EQ(archive->scale(), 2);
    EXPECT_TRUE(HasFinerDetail(archive->viewport()->grab().toImage()));
    // The controls' small captions are a pixel font, drawn as blocks of
    // device pixels at every scale, like the read-outs' digits.
    for (MaskedImageWnd* picture : window->findChildren<MaskedImageWnd*>()) {
        if (picture->objectName().endsWith(QStringLiteral("Caption"))) continue;
        EXPECT_TRUE(HasFinerDetail(picture->grab().toImage())) << picture->objectName().toStdString();
    }
}

}  // namespace
}  // namespace tabora::testing
