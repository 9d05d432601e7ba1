// The caption field shows what the button draws: one line, at most the 255
// bytes a file stores, and a hint for characters no installed font has.
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QToolBar>

#include "GuiTestSupport.h"
#include "app/CaptionField.h"
#include "app/Translations.h"

namespace tabora::testing {
namespace {

using CaptionFieldTest = WindowTest;

void Paste(QLineEdit* edit, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    edit->paste();
}

TEST_F(CaptionFieldTest, APasteOfSeveralLinesKeepsItsFirstLine) {
    auto* edit = Child<QLineEdit>("captionEdit");
    QTest::keyClicks(edit, "Go ");
    Paste(edit, QStringLiteral("Home\nAbout\nContact"));
    EXPECT_EQ(edit->text(), "Go Home");
    EXPECT_EQ(window->settings().caption, "Go Home");

    // Pasted in the middle: what stood after the cursor stays.
    edit->setCursorPosition(2);
    Paste(edit, QStringLiteral("!\r\nignored"));
    EXPECT_EQ(edit->text(), "Go! Home");
    EXPECT_EQ(window->settings().caption, "Go! Home");
    EXPECT_EQ(edit->cursorPosition(), 3);
}

TEST_F(CaptionFieldTest, HoldsAtMost255BytesAndRefusesMore) {
    auto* edit = Child<QLineEdit>("captionEdit");
    // 127 two-byte letters: 254 bytes, though only 127 characters.
    const QString greek(127, QChar(0x03A9));
    Paste(edit, greek);
    EXPECT_EQ(window->settings().caption.size(), 254u);
    // One more two-byte letter would make 256 bytes: refused whole.
    Paste(edit, QStringLiteral("\u03A9"));
    EXPECT_EQ(edit->text(), greek);
    // A one-byte letter still fits exactly.
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(window->settings().caption.size(), 255u);
    EXPECT_EQ(edit->text().toUtf8().size(), 255);
    QTest::keyClicks(edit, "y");
    EXPECT_EQ(window->settings().caption.size(), 255u);
    // A paste too long as a whole is refused, not cut.
    edit->clear();
    Paste(edit, QString(300, QLatin1Char('a')));
    EXPECT_EQ(edit->text(), "");
}

TEST_F(CaptionFieldTest, HintNamesCharactersNoFontHas) {
    auto* edit = Child<QLineEdit>("captionEdit");
    auto* hint = Child<QLabel>("captionHint");
    window->show();
    QTest::keyClicks(edit, "Shop ");
    Paste(edit, QStringLiteral("\u4E2D"));
    // Drawn from a fallback face (the hint speaks of the contrast instead).
    EXPECT_FALSE(hint->text().contains("No font")) << hint->text().toStdString();
    // Plane 5 is unassigned: no font has U+50000.
    Paste(edit, QStringLiteral("\U00050000"));
    ASSERT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains("U+50000")) << hint->text().toStdString();
    // In the state bar, not over the editor's controls.
    EXPECT_TRUE(Child<QToolBar>("statesBar")->isAncestorOf(hint));
    if (const char* shot = std::getenv("TABORA_CAPTION_HINT_SHOT")) {
        window->grab().save(QString::fromLocal8Bit(shot));
    }
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(hint->text().contains("No font")) << hint->text().toStdString();
}

// The checks before shipping, quietly under the field: a caption running
// past its body, else its contrast with a pass mark.
TEST_F(CaptionFieldTest, HintTellsOverflowAndContrast) {
    EXPECT_EQ(CaptionCheckHint(12, 1.5, 4.5), "Caption runs 12 px past the body");
    EXPECT_EQ(CaptionCheckHint(0, 7.16, 4.5), QStringLiteral("Contrast 7.1:1 \u2713"));
    EXPECT_EQ(CaptionCheckHint(0, 4.49, 4.5), QStringLiteral("Contrast 4.4:1 \u2717 needs 4.5:1"));
    EXPECT_EQ(CaptionCheckHint(0, 0, 4.5), "");
    // The brief forms a crowded bar shows keep the figure and the mark.
    EXPECT_EQ(CaptionCheckBrief(12, 1.5, 4.5), QStringLiteral("+12 px \u2717"));
    EXPECT_EQ(CaptionCheckBrief(0, 7.16, 4.5), QStringLiteral("7.1:1 \u2713"));
    EXPECT_EQ(CaptionCheckBrief(0, 4.49, 4.5), QStringLiteral("4.4:1 \u2717"));
    EXPECT_EQ(CaptionCheckBrief(0, 0, 4.5), "");
    EXPECT_EQ(MissingCharactersBrief({0x378}), "U+0378");
    EXPECT_EQ(MissingCharactersBrief({}), "");

    auto* edit = Child<QLineEdit>("captionEdit");
    auto* hint = Child<QLabel>("captionHint");
    window->show();
    // White on the white page without a style: nothing to read.
    QTest::keyClicks(edit, "Go");
    ASSERT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().startsWith("Contrast 1.0:1 \u2717")) << hint->text().toStdString();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_FALSE(hint->isVisible());
}

// Every visible widget of the window the read-out overlaps, its own
// containers aside ("fontList (FontPopup)").
std::string Covered(QWidget* window, QLabel* hint) {
    const QRect area(hint->mapTo(window, QPoint()), hint->size());
    QStringList covered;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (widget == hint || widget->window() != window || !widget->isVisible() ||
            widget->isAncestorOf(hint))
            continue;
        if (QRect(widget->mapTo(window, QPoint()), widget->size()).intersects(area))
            covered << widget->objectName() + " (" + widget->metaObject()->className() + ")";
    }
    return covered.join(QStringLiteral(", ")).toStdString();
}

// The read-out covers no control, in either language, whichever state's
// controls share its bar, however long it grows, and never widens the window.
TEST_F(CaptionFieldTest, HintCoversNoControlAndKeepsTheWindowsWidth) {
    struct English {
        ~English() { RemoveTranslations(); }
    } english;
    for (const bool german : {false, true}) {
        SCOPED_TRACE(german ? "German" : "English");
        if (german) {
            ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)));
        }
        window = std::make_unique<TaboraWindow>();
        window->show();
        const int width = window->width();
        auto* edit = Child<QLineEdit>("captionEdit");
        auto* hint = Child<QLabel>("captionHint");
        auto* states = Child<QComboBox>("stateList");
        QTest::keyClicks(edit, "Go");
        for (int index = 0; index < states->count(); ++index) {
            states->setCurrentIndex(index);
            emit states->activated(index);
            QApplication::processEvents();
            // A disabled button need not be readable: no contrast to tell.
            if (states->itemData(index).toInt() == int(ButtonState::Disabled)) {
                EXPECT_FALSE(hint->isVisible());
                continue;
            }
            ASSERT_TRUE(hint->isVisible()) << index;
            EXPECT_EQ(Covered(window.get(), hint), "") << index;
            // Whole where there is room (always in English, and beside the
            // normal state's few controls in German), else brief;
            // the mark shows either way.
            auto* readOut = dynamic_cast<ReadOutLabel*>(hint);
            ASSERT_NE(readOut, nullptr);
            const QString whole = readOut->wholeText();
            EXPECT_TRUE(
                whole.startsWith(german ? "Kontrast 1.0:1 \u2717 " : "Contrast 1.0:1 \u2717 "))
                << index;
            if (!german || index == 0) {
                EXPECT_EQ(hint->text(), whole) << index;
            }
            EXPECT_TRUE(hint->text() == whole || hint->text() == QStringLiteral("1.0:1 \u2717"))
                << hint->text().toStdString();
            EXPECT_GE(hint->width(), hint->minimumSizeHint().width()) << index;
        }
        // Eight characters no font has, with the disabled state's controls
        // in the bar: longer than it has room for.
        ASSERT_EQ(states->currentData().toInt(), int(ButtonState::Disabled));
        Paste(edit, QStringLiteral(" \U00050000\U00050001\U00050002\U00050003\U00050004"
                                   "\U00050005\U00050006\U00050007"));
        QApplication::processEvents();
        ASSERT_TRUE(hint->toolTip().contains("U+50007")) << hint->toolTip().toStdString();
        EXPECT_EQ(hint->text(), QStringLiteral("U+50000\u2026"));
        EXPECT_EQ(Covered(window.get(), hint), "");
        EXPECT_EQ(window->width(), width);
        EXPECT_EQ(width, TaboraWindow::kClientWidth);
    }
}

}  // namespace
}  // namespace tabora::testing
