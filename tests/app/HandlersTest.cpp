// Each control handler: the setting it changes, the read-out it updates and
// the `modified` flag; and undo and redo of those changes.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "controls/AValueWnd.h"
#include "controls/ColorButton.h"
#include "controls/FontPopup.h"
#include "controls/PreviewWnd.h"

namespace tabora::testing {
namespace {

using HandlersTest = WindowTest;

TEST_F(HandlersTest, SlidersSetTheirFieldAndReadOut) {
    auto* hue = Child<QSlider>("hueSlider");
    const int paints = window->preview()->PaintCount();
    hue->setValue(2048);
    EXPECT_EQ(window->settings().hueShift, 2048);
    EXPECT_EQ(Child<AValueWnd>("hueValue")->Text(), QString::fromUtf8("+179°"));
    EXPECT_TRUE(window->modified());
    EXPECT_GT(window->preview()->PaintCount(), paints);  // repainted at once

    auto* brightness = Child<QSlider>("brightnessSlider");
    brightness->setValue(305);
    EXPECT_EQ(window->settings().brightness, 100);
    EXPECT_EQ(Child<AValueWnd>("brightnessValue")->Text(), "+9.6%");
    brightness->setValue(0);
    EXPECT_EQ(window->settings().brightness, -205);
    EXPECT_EQ(Child<AValueWnd>("brightnessValue")->Text(), "-20.0%");

    auto* size = Child<QSlider>("sizeSlider");
    size->setValue(20);
    EXPECT_EQ(window->settings().buttonSize, 20);
    EXPECT_EQ(Child<AValueWnd>("sizeValue")->Text(), "10%");
}

TEST_F(HandlersTest, KeyboardOnASliderIsAChangeToo) {
    auto* hue = Child<QSlider>("hueSlider");
    hue->setFocus();
    QTest::keyClick(hue, Qt::Key_Right);
    EXPECT_EQ(window->settings().hueShift, hue->singleStep());
    EXPECT_TRUE(window->modified());
}

TEST_F(HandlersTest, CheckBoxesToggleTheirFlags) {
    QTest::mouseClick(Child<QCheckBox>("shadowCheck"), Qt::LeftButton);
    EXPECT_FALSE(window->settings().shadow);
    EXPECT_TRUE(window->modified());
    QTest::mouseClick(Child<QCheckBox>("antialiasCheck"), Qt::LeftButton);
    EXPECT_TRUE(window->settings().antialias);
    QTest::mouseClick(Child<QCheckBox>("textShadowCheck"), Qt::LeftButton);
    EXPECT_FALSE(window->settings().textShadow);
}

TEST_F(HandlersTest, ColourDialogConfirmedOrCancelled) {
    auto* swatch = Child<ColorButton>("backgroundSwatch");
    host.colorAnswers.push_back(std::nullopt);
    QTest::mouseClick(swatch, Qt::LeftButton);
    ASSERT_EQ(host.colorRequests.size(), 1u);
    EXPECT_EQ(host.colorRequests[0], 0xFFFFFFu);  // opens on the swatch's colour
    EXPECT_FALSE(window->modified());

    host.colorAnswers.push_back(MakeColor(0x20, 0x40, 0x80));
    QTest::mouseClick(swatch, Qt::LeftButton);
    EXPECT_EQ(window->settings().backgroundColor, MakeColor(0x20, 0x40, 0x80));
    EXPECT_EQ(swatch->color, MakeColor(0x20, 0x40, 0x80));
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(window->preview()->grab().toImage().pixelColor(87, 37), QColor(0x20, 0x40, 0x80));

    // The text colour, confirmed unchanged: still a change.
    host.colorAnswers.push_back(0xFFFFFFu);
    QTest::mouseClick(Child<ColorButton>("textColorSwatch"), Qt::LeftButton);
    EXPECT_EQ(window->settings().textColor, 0xFFFFFFu);
}

TEST_F(HandlersTest, SameColourMarksModified) {
    host.colorAnswers.push_back(0xFFFFFFu);
    QTest::mouseClick(Child<ColorButton>("textColorSwatch"), Qt::LeftButton);
    EXPECT_TRUE(window->modified());
}

TEST_F(HandlersTest, NudgesMoveTheCaptionWithoutLimit) {
    QTest::mouseClick(Child<QToolButton>("nudgeLeft"), Qt::LeftButton);
    QTest::mouseClick(Child<QToolButton>("nudgeLeft"), Qt::LeftButton);
    QTest::mouseClick(Child<QToolButton>("nudgeDown"), Qt::LeftButton);
    EXPECT_EQ(window->settings().textOffset, (Point{-2, 1}));
    QTest::mouseClick(Child<QToolButton>("nudgeRight"), Qt::LeftButton);
    QTest::mouseClick(Child<QToolButton>("nudgeUp"), Qt::LeftButton);
    QTest::mouseClick(Child<QToolButton>("nudgeUp"), Qt::LeftButton);
    EXPECT_EQ(window->settings().textOffset, (Point{-1, -1}));
    EXPECT_TRUE(window->modified());
}

TEST_F(HandlersTest, CaptionTakesTheTypedText) {
    auto* edit = Child<QLineEdit>("captionEdit");
    const int paints = window->preview()->PaintCount();
    QTest::keyClicks(edit, "Home");
    EXPECT_EQ(window->settings().caption, "Home");
    EXPECT_TRUE(window->modified());
    EXPECT_GE(window->preview()->PaintCount(), paints + 4);  // after every keystroke
    // Typed text beyond ASCII, as an input method delivers it.
    QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(" – café"));
    QApplication::sendEvent(edit, &typed);
    EXPECT_EQ(window->settings().caption, "Home – café");
}

TEST_F(HandlersTest, FontStyleAndSizeLists) {
    auto* style = Child<QComboBox>("styleList");
    style->setCurrentIndex(3);
    emit style->activated(3);
    EXPECT_EQ(window->settings().fontStyle, 0x21u);
    EXPECT_TRUE(window->modified());

    auto* size = Child<QComboBox>("sizeList");
    const int index = size->findText("24");
    ASSERT_GE(index, 0);
    size->setCurrentIndex(index);
    emit size->activated(index);
    EXPECT_EQ(window->settings().fontSize, 24);

    // A size typed and confirmed with Enter.
    size->setFocus();
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), "13");
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window->settings().fontSize, 13);
    EXPECT_EQ(size->currentText(), "13");

    auto* fonts = Child<FontPopup>("fontList");
    ASSERT_GE(fonts->count(), 2);
    const int other = fonts->currentIndex() == 0 ? 1 : 0;
    fonts->setCurrentIndex(other);
    emit fonts->activated(other);
    EXPECT_EQ(window->settings().fontName, fonts->itemText(other).toStdString());
    EXPECT_EQ(window->settings().fontSize, 13);  // the size stays
    EXPECT_EQ(size->count(), 15);
}

// Another font alone is a change to save and to undo.
TEST_F(HandlersTest, ChangingOnlyTheFontMarksTheDocumentModified) {
    ASSERT_FALSE(window->modified());
    auto* fonts = Child<FontPopup>("fontList");
    ASSERT_GE(fonts->count(), 2);
    const ButtonSettings before = window->settings();
    const int other = fonts->currentIndex() == 0 ? 1 : 0;
    fonts->setCurrentIndex(other);
    emit fonts->activated(other);
    EXPECT_TRUE(window->modified());
    ButtonSettings expected = before;
    expected.fontName = fonts->itemText(other).toStdString();
    EXPECT_EQ(window->settings(), expected);  // nothing else moved
    EXPECT_TRUE(window->undoAction()->isEnabled());
}

TEST_F(HandlersTest, SameStyleChosenAgainIsNoChange) {
    auto* style = Child<QComboBox>("styleList");
    emit style->activated(0);
    EXPECT_FALSE(window->modified());
}

TEST_F(HandlersTest, UndoAndRedoEveryKindOfChange) {
    auto* hue = Child<QSlider>("hueSlider");
    // A drag is one step.
    for (int v = 100; v <= 1000; v += 100) hue->setValue(v);
    emit hue->sliderReleased();
    QTest::keyClicks(Child<QLineEdit>("captionEdit"), "Go");
    QTest::mouseClick(Child<QCheckBox>("shadowCheck"), Qt::LeftButton);
    EXPECT_TRUE(window->undoAction()->isEnabled());

    window->OnUndo();
    EXPECT_TRUE(window->settings().shadow);
    EXPECT_TRUE(Child<QCheckBox>("shadowCheck")->isChecked());
    window->OnUndo();
    EXPECT_EQ(window->settings().caption, "");
    EXPECT_EQ(Child<QLineEdit>("captionEdit")->text(), "");
    window->OnUndo();
    EXPECT_EQ(window->settings().hueShift, 0);
    EXPECT_EQ(hue->value(), 0);
    EXPECT_EQ(Child<AValueWnd>("hueValue")->Text(), QString::fromUtf8("+0°"));
    // Back at the state of the start: nothing unsaved.
    EXPECT_FALSE(window->modified());
    EXPECT_FALSE(window->undoAction()->isEnabled());

    window->OnRedo();
    EXPECT_EQ(window->settings().hueShift, 1000);
    EXPECT_TRUE(window->modified());
    window->OnRedo();
    EXPECT_EQ(window->settings().caption, "Go");
    // A new change drops what could be redone.
    Child<QSlider>("sizeSlider")->setValue(100);
    EXPECT_FALSE(window->redoAction()->isEnabled());
}

TEST_F(HandlersTest, CtrlZInTheCaptionIsTheWindowsUndo) {
    auto* edit = Child<QLineEdit>("captionEdit");
    Child<QSlider>("hueSlider")->setValue(500);
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    edit->setFocus();
    QTest::keyClicks(edit, "Ab");
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->settings().caption, "");
    EXPECT_EQ(window->settings().hueShift, 500);
    QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->settings().caption, "Ab");
}

}  // namespace
}  // namespace tabora::testing
