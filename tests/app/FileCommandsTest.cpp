// The file commands with every dialog scripted: Save As in each format with
// its options dialog and the extension rule, Save, Open with and without
// unsaved changes, files without settings, failures, the quit prompt.
#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QSlider>
#include <QUrl>

#include "GuiTestSupport.h"
#include "app/AboutBox.h"
#include "app/TaboraApp.h"
#include "controls/PreviewWnd.h"
#include "imaging/ButtonFile.h"
#include "imaging/qt/OptionsDialogs.h"
#include "io/ButtonData.h"
#include "render/TaboraButton.h"
#include "styles/Archive.h"

namespace tabora::testing {
namespace {

using FileCommandsTest = WindowTest;

const std::string kPngMagic = "\x89PNG";
const std::string kJpegMagic = "\xFF\xD8\xFF";

TEST_F(FileCommandsTest, SaveAsPngWithItsOptions) {
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Go");
    const std::string path = PathIn("nav.png");
    host.fileAnswers.push_back(path);
    ScriptOptionsDialogs([](QDialog& dialog) {
        auto& options = static_cast<ExportOptionsDialog&>(dialog);
        ASSERT_NE(options.removeBackgroundCheck(), nullptr);
        // With the shadow on, the shadow-area box is hidden.
        EXPECT_TRUE(options.includeShadowAreaCheck()->isHidden());
        options.removeBackgroundCheck()->setChecked(true);
    });
    window->SaveAsFormat(ImageFormat::Png);

    ASSERT_EQ(host.fileRequests.size(), 1u);
    const FileDialogRequest& request = host.fileRequests[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.defaultExtension, "png");
    EXPECT_EQ(request.initialName, "untitled");
    EXPECT_TRUE(request.overwritePrompt);
    EXPECT_EQ(request.filter,
              "PNG File (*.png)|*.png|GIF File (*.gif)|*.gif|JPEG File (*.jpg)|*.jpg|"
              "Bitmap File (*.bmp)|*.bmp|WebP File (*.webp)|*.webp||");
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"PNG Options"}));
    EXPECT_TRUE(window->settings().removeBackground);
    EXPECT_EQ(FileHead(path, 4), kPngMagic);
    EXPECT_EQ(ShownTitle(*window), "Tabora - nav.png");
    EXPECT_EQ(window->currentPath(), path);
    EXPECT_EQ(window->currentExtension(), "png");
    EXPECT_FALSE(window->modified());
    EXPECT_FALSE(window->saveAction()->isEnabled());
}

TEST_F(FileCommandsTest, EachFormatShowsItsDialog) {
    // Through the Save As menu's entries.
    struct Case {
        const char* action;
        const char* file;
        const char* caption;
        const char* magic;
    };
    const Case cases[] = {
        {"saveAsGifAction", "a.gif", "GIF Options", "GIF8"},
        {"saveAsJpegAction", "a.jpg", "JPEG Options", "\xFF\xD8\xFF"},
        {"saveAsBmpAction", "a.bmp", "BMP Options", "BM"},
        // Letter case does not matter.
        {"saveAsPngAction", "b.PnG", "PNG Options", "\x89PNG"},
    };
    // With the shadow off, even BMP has a dialog.
    QTest::mouseClick(Child<QCheckBox>("shadowCheck"), Qt::LeftButton);
    for (const Case& c : cases) {
        dialogsShown.clear();
        host.fileAnswers.push_back(PathIn(c.file));
        ScriptOptionsDialogs([](QDialog& dialog) {
            auto& options = static_cast<ExportOptionsDialog&>(dialog);
            EXPECT_FALSE(options.includeShadowAreaCheck()->isHidden());
        });
        QAction* action = window->findChild<QAction*>(QString::fromLatin1(c.action));
        ASSERT_NE(action, nullptr) << c.action;
        action->trigger();
        EXPECT_EQ(dialogsShown, (std::vector<QString>{c.caption})) << c.file;
        EXPECT_EQ(FileHead(PathIn(c.file), std::strlen(c.magic)), c.magic) << c.file;
    }
}

TEST_F(FileCommandsTest, JpegQualityAndShadowArea) {
    QTest::mouseClick(Child<QCheckBox>("shadowCheck"), Qt::LeftButton);
    host.fileAnswers.push_back(PathIn("q.jpg"));
    ScriptOptionsDialogs([](QDialog& dialog) {
        auto& options = static_cast<ExportOptionsDialog&>(dialog);
        ASSERT_NE(options.qualitySlider(), nullptr);
        EXPECT_EQ(options.qualitySlider()->minimum(), 0);
        EXPECT_EQ(options.qualitySlider()->maximum(), 100);
        EXPECT_EQ(options.qualitySlider()->value(), 100);
        options.qualitySlider()->setValue(80);
        options.includeShadowAreaCheck()->setChecked(true);
    });
    window->SaveAsFormat(ImageFormat::Jpeg);
    EXPECT_EQ(window->settings().jpegQuality, 80);
    EXPECT_TRUE(window->settings().includeShadowArea);

    // Cancelled: the options stay, and the export still happens.
    host.fileAnswers.push_back(PathIn("r.jpg"));
    ScriptOptionsDialogs([](QDialog& dialog) {
        static_cast<ExportOptionsDialog&>(dialog).qualitySlider()->setValue(10);
    }, true);
    window->SaveAsFormat(ImageFormat::Jpeg);
    EXPECT_EQ(window->settings().jpegQuality, 80);
    EXPECT_EQ(FileHead(PathIn("r.jpg"), 3), kJpegMagic);
}

TEST_F(FileCommandsTest, WebpIconOffersLosslessOrAQualityAndSavesWebp) {
    host.fileAnswers.push_back(PathIn("w.webp"));
    ScriptOptionsDialogs([](QDialog& dialog) {
        auto& options = static_cast<ExportOptionsDialog&>(dialog);
        ASSERT_NE(options.losslessCheck(), nullptr);
        ASSERT_NE(options.qualitySlider(), nullptr);
        EXPECT_EQ(options.smallestFileCheck(), nullptr);
        EXPECT_NE(options.removeBackgroundCheck(), nullptr);
        // Lossless by default, and then there is no quality to choose.
        EXPECT_TRUE(options.losslessCheck()->isChecked());
        EXPECT_FALSE(options.qualitySlider()->isEnabled());
        options.losslessCheck()->setChecked(false);
        EXPECT_TRUE(options.qualitySlider()->isEnabled());
        options.qualitySlider()->setValue(70);
    });
    QTest::mouseClick(Child<QWidget>("webpIcon"), Qt::LeftButton);
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"WebP Options"}));
    EXPECT_EQ(host.fileRequests.back().defaultExtension, "webp");
    EXPECT_EQ(FileHead(PathIn("w.webp"), 4), "RIFF");
    EXPECT_TRUE(window->settings().lossy);
    EXPECT_EQ(window->settings().jpegQuality, 70);
}

TEST_F(FileCommandsTest, SmallestFileIsOfferedForPngAndJpeg) {
    for (const auto& [format, name] : {std::pair{ImageFormat::Png, "s.png"},
                                       std::pair{ImageFormat::Jpeg, "s.jpg"},
                                       std::pair{ImageFormat::Gif, "s.gif"}}) {
        const bool offered = format != ImageFormat::Gif;
        host.fileAnswers.push_back(PathIn(name));
        ScriptOptionsDialogs([offered](QDialog& dialog) {
            auto& options = static_cast<ExportOptionsDialog&>(dialog);
            ASSERT_EQ(options.smallestFileCheck() != nullptr, offered);
            EXPECT_EQ(options.losslessCheck(), nullptr);
            if (offered) options.smallestFileCheck()->setChecked(true);
        });
        window->SaveAsFormat(format);
        EXPECT_TRUE(window->settings().optimize) << name;
    }
    // The smallest PNG is an indexed or plain one, never the default RGBA.
    const std::string head = FileHead(PathIn("s.png"), 26);
    EXPECT_NE(uint8_t(head.at(25)), 6);
}

TEST_F(FileCommandsTest, TheTypedExtensionDecidesTheFormat) {
    host.fileAnswers.push_back(PathIn("typed.jpg"));
    ScriptOptionsDialogs();
    window->SaveAsFormat(ImageFormat::Gif);
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"JPEG Options"}));
    EXPECT_EQ(FileHead(PathIn("typed.jpg"), 3), kJpegMagic);
    EXPECT_EQ(ShownTitle(*window), "Tabora - typed.jpg");
    EXPECT_EQ(window->currentExtension(), "jpg");
}

TEST_F(FileCommandsTest, BmpWithShadowHasNoDialog) {
    host.fileAnswers.push_back(PathIn("s.bmp"));
    window->SaveAsFormat(ImageFormat::Bmp);
    EXPECT_TRUE(dialogsShown.empty());
    EXPECT_EQ(FileHead(PathIn("s.bmp"), 2), "BM");
}

TEST_F(FileCommandsTest, UnknownExtensionIsRefusedAndNothingWritten) {
    Child<QSlider>("hueSlider")->setValue(100);
    host.fileAnswers.push_back(PathIn("x.tiff"));
    window->SaveAsFormat(ImageFormat::Jpeg);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("tiff"), std::string::npos);
    EXPECT_TRUE(dialogsShown.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathIn("x.tiff"))));
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(ShownTitle(*window), "Tabora*");  // unsaved, as before
    EXPECT_TRUE(window->currentPath().empty());
}

TEST_F(FileCommandsTest, FailedSaveLeavesTheDocumentAsItWas) {
    host.fileAnswers.push_back(PathIn("first.png"));
    window->SaveAsFormat(ImageFormat::Png);
    Child<QSlider>("hueSlider")->setValue(100);
    host.fileAnswers.push_back(PathIn("no-such-folder/second.png"));
    window->SaveAsFormat(ImageFormat::Png);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(window->currentPath(), PathIn("first.png"));
    EXPECT_EQ(ShownTitle(*window), "Tabora - first.png*");
}

TEST_F(FileCommandsTest, SaveRewritesTheCurrentFileWithoutDialogs) {
    const std::string path = PathIn("again.png");
    host.fileAnswers.push_back(path);
    window->SaveAsFormat(ImageFormat::Png);
    dialogsShown.clear();
    const std::string before = FileHead(path, 1 << 16);

    Child<QSlider>("hueSlider")->setValue(900);
    EXPECT_TRUE(window->saveAction()->isEnabled());
    window->saveAction()->trigger();
    EXPECT_TRUE(dialogsShown.empty());
    EXPECT_EQ(host.fileRequests.size(), 1u);
    EXPECT_FALSE(window->modified());
    EXPECT_FALSE(window->saveAction()->isEnabled());
    EXPECT_NE(FileHead(path, 1 << 16), before);
}

TEST_F(FileCommandsTest, OpenBringsTheSettingsBack) {
    const std::string path = PathIn("saved.gif");
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Saved");
    Child<QSlider>("hueSlider")->setValue(2048);
    host.fileAnswers.push_back(path);
    window->SaveAsFormat(ImageFormat::Gif);

    // A new design, unsaved: "No, Don't Open" keeps everything.
    Child<QSlider>("hueSlider")->setValue(10);
    host.askAnswers.push_back(false);
    window->OnOpen();
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0], Prompt::OpenWithoutSaving);
    EXPECT_EQ(host.fileRequests.size(), 1u);  // no file dialog
    EXPECT_EQ(window->settings().hueShift, 10);

    host.askAnswers.push_back(true);
    host.fileAnswers.push_back(path);
    window->OnOpen();
    ASSERT_EQ(host.fileRequests.size(), 2u);
    EXPECT_FALSE(host.fileRequests[1].save);
    EXPECT_EQ(host.fileRequests[1].filter,
              "GIF, JPEG, PNG, BMP or WebP|*.gif;*.jpg;*.jpeg;*.png;*.bmp;*.webp||");
    EXPECT_EQ(window->settings().hueShift, 2048);
    EXPECT_EQ(window->settings().caption, "Saved");
    EXPECT_EQ(Child<QSlider>("hueSlider")->value(), 2048);
    EXPECT_EQ(Child<QLineEdit>("captionEdit")->text(), "Saved");
    EXPECT_FALSE(window->modified());
    EXPECT_EQ(ShownTitle(*window), "Tabora - saved.gif");
}

// The window does not edit states yet, but it never drops them: a file
// with states of its own keeps them through Save and Save As.
TEST_F(FileCommandsTest, SavingKeepsTheStatesOfTheOpenedFile) {
    ButtonSettings normal;
    normal.caption = "Go";
    normal.fontStyle = kFontBold;
    ButtonStates states;
    StateDelta hover;
    hover.patch.Set(FieldNamed("brightness"), int32_t(99));
    states.SetCustom(ButtonState::Hover, hover);
    TaboraButton made(GetArchive());
    made.ApplySettings(normal);
    const std::string path = PathIn("stated.png");
    ASSERT_TRUE(SaveButton(made, path, false, &states).saved());

    host.fileAnswers.push_back(path);
    window->OnOpen();
    Child<QSlider>("hueSlider")->setValue(900);
    window->saveAction()->trigger();
    host.fileAnswers.push_back(PathIn("copy.png"));
    window->SaveAsFormat(ImageFormat::Png);
    for (const char* name : {"stated.png", "copy.png"}) {
        TaboraButton reread(GetArchive());
        const OpenResult opened = OpenButton(reread, PathIn(name));
        ASSERT_TRUE(opened.opened()) << name;
        EXPECT_EQ(opened.payloadVersion, kPayloadStates) << name;
        EXPECT_EQ(opened.states, states) << name;
        EXPECT_EQ(reread.settings().hueShift, 900) << name;
    }
}

TEST_F(FileCommandsTest, OpenWithoutChangesAsksNothing) {
    host.fileAnswers.push_back(PathIn("saved.png"));
    window->SaveAsFormat(ImageFormat::Png);
    host.fileAnswers.push_back(PathIn("saved.png"));
    window->OnOpen();
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_EQ(host.fileRequests.size(), 2u);
}

TEST_F(FileCommandsTest, FileWithoutSettingsLeavesTheDesignAndSaysWhy) {
    Child<QSlider>("hueSlider")->setValue(300);
    const ButtonSettings before = window->settings();
    QImage plain(8, 8, QImage::Format_RGB32);
    plain.fill(Qt::red);
    ASSERT_TRUE(plain.save(QString::fromStdString(PathIn("plain.png"))));
    ASSERT_TRUE(plain.save(QString::fromStdString(PathIn("plain.jpg"))));

    host.askAnswers = {true, true};
    host.fileAnswers.push_back(PathIn("plain.png"));
    window->OnOpen();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("plain.png"), std::string::npos);
    EXPECT_EQ(window->settings(), before);
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(ShownTitle(*window), "Tabora*");

    // The JPEG reader's own words after the file's name.
    host.fileAnswers.push_back(PathIn("plain.jpg"));
    window->OnOpen();
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1], "plain.jpg: sig != Tbra");
    EXPECT_EQ(window->settings(), before);
}

// What was undoable belongs to the design that was open before.
TEST_F(FileCommandsTest, OpeningAnotherFileClearsTheUndoHistory) {
    host.fileAnswers.push_back(PathIn("first.png"));
    window->SaveAsFormat(ImageFormat::Png);
    Child<QSlider>("hueSlider")->setValue(700);
    Child<QSlider>("hueSlider")->sliderReleased();
    Child<QSlider>("brightnessSlider")->setValue(250);
    ASSERT_TRUE(window->undoAction()->isEnabled());

    host.askAnswers.push_back(true);
    host.fileAnswers.push_back(PathIn("first.png"));
    window->OnOpen();
    EXPECT_EQ(window->settings().hueShift, 0);
    EXPECT_FALSE(window->undoAction()->isEnabled());
    EXPECT_FALSE(window->redoAction()->isEnabled());
    EXPECT_FALSE(window->modified());
    window->OnUndo();  // nothing to undo: the opened design stays
    EXPECT_EQ(window->settings().hueShift, 0);
}

TEST_F(FileCommandsTest, DroppedFileOpens) {
    host.fileAnswers.push_back(PathIn("drop.bmp"));
    Child<QSlider>("hueSlider")->setValue(1234);
    window->SaveAsFormat(ImageFormat::Bmp);
    Child<QSlider>("hueSlider")->setValue(0);
    host.askAnswers.push_back(true);

    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(PathIn("drop.bmp")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
    QApplication::sendEvent(window.get(), &drop);
    QTRY_COMPARE(window->settings().hueShift, 1234);
    EXPECT_EQ(ShownTitle(*window), "Tabora - drop.bmp");
}

// Only one local file is taken: two files, or an address, are refused at the
// door and nothing is asked.
TEST_F(FileCommandsTest, DropsOfSeveralFilesOrAddressesAreRefused) {
    const QList<QList<QUrl>> refused = {
        {QUrl::fromLocalFile(QString::fromStdString(PathIn("a.png"))),
         QUrl::fromLocalFile(QString::fromStdString(PathIn("b.png")))},
        {QUrl(QStringLiteral("https://example.org/a.png"))},
    };
    for (const QList<QUrl>& urls : refused) {
        QMimeData mime;
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        enter.ignore();
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_FALSE(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, {});
        drop.ignore();
        QApplication::sendEvent(window.get(), &drop);
        EXPECT_FALSE(drop.isAccepted());
    }
    QTest::qWait(10);
    EXPECT_TRUE(host.prompts.empty());
    EXPECT_TRUE(host.messages.empty());
    EXPECT_TRUE(window->currentPath().empty());
}

TEST_F(FileCommandsTest, FileOnTheCommandLineOpens) {
    host.fileAnswers.push_back(PathIn("given.png"));
    Child<QSlider>("brightnessSlider")->setValue(300);
    window->SaveAsFormat(ImageFormat::Png);
    window.reset();
    window = std::make_unique<TaboraWindow>();
    const QString path = QString::fromStdString(PathIn("given.png"));
    EXPECT_TRUE(OpenFromArguments(*window, {"tabora", "--style", path}));
    EXPECT_EQ(window->settings().brightness, 95);
    EXPECT_EQ(ShownTitle(*window), "Tabora - given.png");
    EXPECT_FALSE(OpenFromArguments(*window, {"tabora"}));
}

TEST_F(FileCommandsTest, QuitAsksOnlyWithUnsavedChanges) {
    EXPECT_TRUE(window->QueryQuit());
    EXPECT_TRUE(host.prompts.empty());

    Child<QSlider>("hueSlider")->setValue(50);
    host.askAnswers.push_back(false);
    window->close();
    ASSERT_EQ(host.prompts.size(), 1u);
    EXPECT_EQ(host.prompts[0], Prompt::QuitWithoutSaving);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->settings().hueShift, 50);

    host.askAnswers.push_back(true);
    window->close();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(FileCommandsTest, FormatIconsSaveAsTheirFormat) {
    host.fileAnswers.push_back(PathIn("icon.gif"));
    ScriptOptionsDialogs();
    QTest::mouseClick(Child<QWidget>("gifIcon"), Qt::LeftButton);
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_EQ(host.fileRequests[0].defaultExtension, "gif");
    EXPECT_EQ(FileHead(PathIn("icon.gif"), 4), "GIF8");
}

TEST_F(FileCommandsTest, AboutBoxShowsThePicture) {
    ScriptOptionsDialogs([](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "About Tabora");
        auto* picture = dialog.findChild<QLabel*>("picture");
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->pixmap().size(), QSize(AboutBox::kWidth, AboutBox::kHeight));
    });
    window->OnAbout();
    EXPECT_EQ(dialogsShown, (std::vector<QString>{"About Tabora"}));
}

}  // namespace
}  // namespace tabora::testing
