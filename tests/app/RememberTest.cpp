// What the window remembers between runs (recent files, folders, its
// place, the export options), Save As with the current name and a refused
// name, ".jpeg", file names in messages and the title's unsaved mark.
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QSlider>

#include "GuiTestSupport.h"
#include "imaging/qt/OptionsDialogs.h"

namespace tabora::testing {
namespace {

using RememberTest = WindowTest;

QStringList RecentEntries(TaboraWindow& window) {
    window.FillRecentMenu();
    QStringList texts;
    for (QAction* action : window.recentMenu()->actions())
        if (!action->isSeparator()) texts << action->text();
    return texts;
}

TEST_F(RememberTest, RecentFilesAndFoldersLastBetweenRuns) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("saved")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("opened")));
    EXPECT_TRUE(RecentEntries(*window).isEmpty());
    host.fileAnswers.push_back(PathIn("saved/one.png"));
    window->SaveAsFormat(ImageFormat::Png);
    host.fileAnswers.push_back(PathIn("saved/two.gif"));
    window->SaveAsFormat(ImageFormat::Gif);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(PathIn("saved/one.png")),
                            QString::fromStdString(PathIn("opened/three.png"))));
    host.fileAnswers.push_back(PathIn("opened/three.png"));
    window->OnOpen();
    ASSERT_TRUE(host.messages.empty());

    // The next run: a new window over the same store.
    window.reset();
    window = std::make_unique<TaboraWindow>();
    EXPECT_EQ(RecentEntries(*window),
              QStringList({"&1 three.png", "&2 two.gif", "&3 one.png", "&Clear Menu"}));
    // Open starts in the folder last opened from; Save As, with no current
    // file, in the folder last saved in.
    window->OnOpen();
    EXPECT_EQ(host.fileRequests.back().directory, PathIn("opened"));
    window->SaveAsFormat(ImageFormat::Jpeg);
    EXPECT_EQ(host.fileRequests.back().directory, PathIn("saved"));
    EXPECT_EQ(host.fileRequests.back().initialName, "untitled");

    // A file that is gone is not offered; an entry opens its file.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(PathIn("saved/two.gif"))));
    EXPECT_EQ(RecentEntries(*window), QStringList({"&1 three.png", "&2 one.png", "&Clear Menu"}));
    window->recentMenu()->actions().front()->trigger();
    EXPECT_EQ(window->currentPath(), PathIn("opened/three.png"));
    window->recentMenu()->actions().back()->trigger();  // Clear Menu
    EXPECT_TRUE(RecentEntries(*window).isEmpty());
    EXPECT_FALSE(window->recentMenu()->isEnabled());
}

TEST_F(RememberTest, SaveAsStartsAtTheCurrentFileWithItsName) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("work")));
    host.fileAnswers.push_back(PathIn("work/logo.png"));
    window->SaveAsFormat(ImageFormat::Png);
    window->SaveAsFormat(ImageFormat::Jpeg);  // cancelled
    ASSERT_EQ(host.fileRequests.size(), 2u);
    EXPECT_EQ(host.fileRequests[1].directory, PathIn("work"));
    EXPECT_EQ(host.fileRequests[1].initialName, "logo");
    EXPECT_EQ(host.fileRequests[1].defaultExtension, "jpg");
}

TEST_F(RememberTest, ARefusedNameOpensTheDialogAgainWithThatName) {
    Child<QSlider>("hueSlider")->setValue(100);
    host.fileAnswers.push_back(PathIn("typed.tiff"));
    host.fileAnswers.push_back(PathIn("typed.gif"));
    window->SaveAsFormat(ImageFormat::Png);
    ASSERT_EQ(host.fileRequests.size(), 2u);
    EXPECT_EQ(host.fileRequests[1].initialName, "typed.tiff");
    EXPECT_EQ(host.fileRequests[1].directory, dir.path().toStdString());
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].rfind("typed.tiff: Cannot save a button with \".tiff\"", 0), 0u)
        << host.messages[0];
    EXPECT_FALSE(QFile::exists(QString::fromStdString(PathIn("typed.tiff"))));
    EXPECT_EQ(FileHead(PathIn("typed.gif"), 4), "GIF8");
    EXPECT_FALSE(window->modified());
    // Cancelling the second time ends the command with nothing saved.
    Child<QSlider>("hueSlider")->setValue(200);
    host.fileAnswers.push_back(PathIn("again"));
    window->SaveAsFormat(ImageFormat::Png);
    EXPECT_EQ(host.fileRequests.size(), 4u);
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(window->currentPath(), PathIn("typed.gif"));
}

TEST_F(RememberTest, JpegExtensionSavesOpensAndSavesAgain) {
    Child<QSlider>("hueSlider")->setValue(321);
    host.fileAnswers.push_back(PathIn("photo.jpeg"));
    ScriptOptionsDialogs();
    window->SaveAsFormat(ImageFormat::Png);  // the typed name decides
    EXPECT_EQ(dialogsShown, std::vector<QString>{"JPEG Options"});
    EXPECT_EQ(FileHead(PathIn("photo.jpeg"), 3), "\xFF\xD8\xFF");
    EXPECT_EQ(ShownTitle(*window), "Tabora - photo.jpeg");

    window.reset();
    window = std::make_unique<TaboraWindow>();
    host.fileAnswers.push_back(PathIn("photo.jpeg"));
    window->OnOpen();
    ASSERT_TRUE(host.messages.empty()) << host.messages[0];
    EXPECT_EQ(window->settings().hueShift, 321);
    // Save works on the opened file.
    Child<QSlider>("hueSlider")->setValue(654);
    EXPECT_TRUE(window->saveAction()->isEnabled());
    window->OnSave();
    EXPECT_FALSE(window->modified());
    window.reset();
    window = std::make_unique<TaboraWindow>();
    host.fileAnswers.push_back(PathIn("photo.jpeg"));
    window->OnOpen();
    EXPECT_EQ(window->settings().hueShift, 654);
}

TEST_F(RememberTest, ErrorMessagesNameTheFile) {
    for (const char* name : {"empty.png", "text.png"}) {
        QFile file(QString::fromStdString(PathIn(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        if (std::string(name) == "text.png") file.write("just some words\n");
        file.close();
        host.messages.clear();
        host.fileAnswers.push_back(PathIn(name));
        window->OnOpen();
        ASSERT_EQ(host.messages.size(), 1u) << name;
        EXPECT_EQ(host.messages[0].rfind(std::string(name) + ": ", 0), 0u) << host.messages[0];
    }
    EXPECT_EQ(host.messages[0], "text.png: error reading PNG file");
    EXPECT_EQ(ShownTitle(*window), "Tabora");
}

TEST_F(RememberTest, TheTitleMarksUnsavedChanges) {
    EXPECT_EQ(ShownTitle(*window), "Tabora");
    Child<QSlider>("hueSlider")->setValue(10);
    EXPECT_TRUE(window->isWindowModified());
    EXPECT_EQ(ShownTitle(*window), "Tabora*");
    host.fileAnswers.push_back(PathIn("mark.bmp"));
    window->SaveAsFormat(ImageFormat::Bmp);
    EXPECT_EQ(ShownTitle(*window), "Tabora - mark.bmp");
    Child<QSlider>("hueSlider")->setValue(20);
    EXPECT_EQ(ShownTitle(*window), "Tabora - mark.bmp*");
    window->OnUndo();  // back to what was saved
    EXPECT_EQ(ShownTitle(*window), "Tabora - mark.bmp");
}

TEST_F(RememberTest, TheWindowPlaceAndTheChosenOptionsLast) {
    window->move(37, 41);
    const QPoint place = window->pos();
    host.fileAnswers.push_back(PathIn("q.jpg"));
    ScriptOptionsDialogs([](QDialog& dialog) {
        static_cast<ExportOptionsDialog&>(dialog).qualitySlider()->setValue(55);
    });
    window->SaveAsFormat(ImageFormat::Jpeg);
    ASSERT_EQ(window->settings().jpegQuality, 55);
    window->close();

    window = std::make_unique<TaboraWindow>();
    EXPECT_EQ(window->settings().jpegQuality, 55);
    EXPECT_FALSE(window->modified());
    EXPECT_EQ(window->pos(), place);
}

TEST_F(RememberTest, TheQualitySliderShowsItsNumber) {
    window->button().SetJpegQuality(87);
    TaboraButton& button = window->button();
    ExportOptionsDialog dialog(button, *FindFormat(ImageFormat::Jpeg));
    ASSERT_NE(dialog.qualityValue(), nullptr);
    EXPECT_EQ(dialog.qualityValue()->text(), "87");
    dialog.qualitySlider()->setValue(3);
    EXPECT_EQ(dialog.qualityValue()->text(), "3");
    ExportOptionsDialog png(button, *FindFormat(ImageFormat::Png));
    EXPECT_EQ(png.qualityValue(), nullptr);
}

}  // namespace
}  // namespace tabora::testing
