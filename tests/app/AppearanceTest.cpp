// A dark desktop, the German translation, and the font list's long and
// substituted names.
#include <QAbstractItemView>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

#include "GuiTestSupport.h"
#include "app/TaboraApp.h"
#include "app/Translations.h"
#include "controls/FontPopup.h"
#include "platform/Fonts.h"

namespace tabora::testing {
namespace {

using AppearanceTest = WindowTest;

bool Light(const QWidget* widget) {
    return widget->palette().color(QPalette::Window).lightness() > 160 &&
           widget->palette().color(QPalette::Base).lightness() > 160 &&
           widget->palette().color(QPalette::WindowText).lightness() < 100;
}

TEST_F(AppearanceTest, ADarkDesktopGetsOneLightPaletteThroughout) {
    const QPalette before = QApplication::palette();
    QPalette dark(QColor(45, 45, 48), QColor(30, 30, 30));
    dark.setColor(QPalette::WindowText, Qt::white);
    dark.setColor(QPalette::Text, Qt::white);
    dark.setColor(QPalette::Base, QColor(25, 25, 25));
    QApplication::setPalette(dark);
    ASSERT_TRUE(IsDarkPalette(QApplication::palette()));
    EXPECT_TRUE(KeepLightPalette());
    EXPECT_FALSE(KeepLightPalette());  // nothing left to do
    window = std::make_unique<TaboraWindow>();
    window->show();
    // The window, its menus, the lists and the dialogs' parent all light.
    EXPECT_TRUE(Light(window.get()));
    EXPECT_TRUE(Light(window->clientArea()));
    EXPECT_TRUE(Light(window->menuBar()));
    EXPECT_TRUE(Light(window->findChild<QMenu*>("fileMenu")));
    EXPECT_TRUE(Light(Child<FontPopup>("fontList")->view()));
    QApplication::setPalette(before);
}

TEST_F(AppearanceTest, GermanLoadsWhenAskedForAndEnglishStaysAsWritten) {
    EXPECT_FALSE(InstallTranslations(QLocale(QLocale::English, QLocale::UnitedStates)));
    ASSERT_TRUE(InstallTranslations(QLocale(QLocale::German, QLocale::Germany)));
    window = std::make_unique<TaboraWindow>();
    EXPECT_EQ(window->findChild<QMenu*>("fileMenu")->title(), "&Datei");
    EXPECT_EQ(Child<QWidget>("fontList")->accessibleName(), "Schrift");
    EXPECT_EQ(Child<QWidget>("pngIcon")->accessibleName(), "Als PNG speichern");
    host.fileAnswers.push_back(PathIn("x.tiff"));
    window->SaveAsFormat(ImageFormat::Png);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_NE(host.messages[0].find("kann nicht gespeichert werden"), std::string::npos);
    auto* states = Child<QComboBox>("stateList");
    EXPECT_EQ(states->itemText(2), "Gedrückt");
    RemoveTranslations();
    window = std::make_unique<TaboraWindow>();
    EXPECT_EQ(window->findChild<QMenu*>("fileMenu")->title(), "&File");
    EXPECT_EQ(Child<QWidget>("fontList")->accessibleName(), "Font");
}

TEST_F(AppearanceTest, LongFontNamesShowWhole) {
    auto* fonts = Child<FontPopup>("fontList");
    const QString longName = QStringLiteral("Extraordinarily Long Family Name For A Narrow List");
    FontRecord record;
    record.faceName = longName.toStdString();
    const int index = fonts->AddFont(record, 4);
    ASSERT_GE(index, 0);
    EXPECT_EQ(fonts->itemData(index, Qt::ToolTipRole).toString(), longName);
    fonts->showPopup();
    EXPECT_GE(fonts->view()->width(),
              fonts->view()->fontMetrics().horizontalAdvance(longName) + fonts->iconSize().width());
    EXPECT_GT(fonts->view()->width(), fonts->width());
    fonts->hidePopup();
}

TEST_F(AppearanceTest, ASubstitutedFontIsMarkedAsSuch) {
    auto* fonts = Child<FontPopup>("fontList");
    ButtonSettings s = window->settings();
    s.fontName = "No Such Family Anywhere";
    window->button().ApplySettings(s);
    window->SyncControlsFromSettings();
    if (fonts->currentIndex() < 0) GTEST_SKIP() << "the fallback family is not in the list";
    EXPECT_EQ(fonts->SubstituteFor(), "No Such Family Anywhere");
    EXPECT_EQ(fonts->ShownText(), fonts->currentText() + " (for No Such Family Anywhere)");
    // Choosing a family from the list drops the mark.
    fonts->activated(fonts->currentIndex());
    EXPECT_TRUE(fonts->SubstituteFor().isEmpty());
    EXPECT_EQ(fonts->ShownText(), fonts->currentText());
}

}  // namespace
}  // namespace tabora::testing
