// The caption field shows what the button draws: one line, at most the 255
// bytes a file stores, and a hint for characters no installed font has.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>

#include "GuiTestSupport.h"
#include "app/CaptionField.h"

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
    EXPECT_EQ(hint->geometry().top(), edit->geometry().bottom() + 1);  // just under the field
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

}  // namespace
}  // namespace tabora::testing
