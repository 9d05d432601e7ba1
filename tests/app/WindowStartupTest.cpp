// The main window as it starts: its frame, its menu, every control of the
// layout at its place with its range and initial state.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>

#include "GuiTestSupport.h"
#include "controls/AValueWnd.h"
#include "controls/ColorButton.h"
#include "controls/FontPopup.h"
#include "controls/PreviewWnd.h"

namespace tabora::testing {
namespace {

using StartupTest = WindowTest;

struct Placement {
    const char* name;
    QRect rect;  // left, top, right, bottom as in the layout table
};

QRect Ltrb(int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r - 1, b - 1)); }

// Every control whose rectangle the layout fixes exactly, in creation order.
const Placement kPlacements[] = {
    {"topRule", Ltrb(0, 0, 548, 2)},          {"banner", Ltrb(0, 2, 330, 72)},
    {"archive", Ltrb(330, 2, 543, 522)},      {"rule2", Ltrb(0, 72, 333, 74)},
    {"rule3", Ltrb(0, 172, 331, 174)},        {"rule4", Ltrb(0, 250, 331, 252)},
    {"rule5", Ltrb(0, 286, 331, 288)},        {"rule6", Ltrb(0, 330, 331, 332)},
    {"rule7", Ltrb(0, 453, 331, 455)},        {"verticalRule", Ltrb(328, 2, 330, 525)},
    {"shadowCheck", Ltrb(231, 303, 244, 316)}, {"sizeSlider", Ltrb(4, 145, 128, 170)},
    {"hueSlider", Ltrb(150, 187, 310, 212)},  {"brightnessSlider", Ltrb(150, 224, 310, 249)},
    {"chooseLabel", Ltrb(38, 82, 126, 124)},  {"step1", Ltrb(11, 82, 31, 102)},
    {"step2", Ltrb(11, 184, 31, 204)},        {"step3", Ltrb(11, 258, 31, 278)},
    {"step4", Ltrb(11, 295, 31, 315)},        {"step5", Ltrb(11, 339, 31, 359)},
    {"step6", Ltrb(11, 470, 31, 490)},        {"adjustLabel", Ltrb(42, 195, 131, 224)},
    {"backgroundLabel", Ltrb(39, 261, 176, 277)}, {"shadowLabel", Ltrb(41, 295, 148, 324)},
    {"typeLabel", Ltrb(42, 341, 191, 357)},   {"saveLabel", Ltrb(38, 470, 99, 496)},
    {"sizeCaption", Ltrb(34, 138, 59, 143)},  {"hueCaption", Ltrb(186, 180, 243, 185)},
    {"brightnessCaption", Ltrb(181, 217, 248, 222)},
    {"textColorCaption", Ltrb(242, 349, 276, 354)},
    {"antialiasCaption", Ltrb(211, 369, 276, 374)},
    {"textShadowCaption", Ltrb(233, 390, 276, 395)},
    {"placementCaption", Ltrb(198, 421, 261, 434)}, {"pngIcon", Ltrb(200, 467, 233, 511)},
    {"jpgIcon", Ltrb(160, 467, 193, 511)},    {"bmpIcon", Ltrb(240, 467, 273, 511)},
    {"gifIcon", Ltrb(120, 467, 153, 511)},    {"webpIcon", Ltrb(280, 467, 313, 511)},
    {"workArea", Ltrb(133, 77, 325, 169)},
    {"antialiasCheck", Ltrb(284, 365, 297, 378)}, {"textShadowCheck", Ltrb(284, 386, 297, 399)},
    {"backgroundSwatch", Ltrb(229, 261, 245, 277)},
    {"textColorSwatch", Ltrb(282, 343, 298, 359)}, {"captionEdit", Ltrb(15, 365, 169, 388)},
    {"nudgeLeft", Ltrb(269, 421, 282, 434)},  {"nudgeUp", Ltrb(285, 412, 298, 425)},
    {"nudgeRight", Ltrb(301, 421, 314, 434)}, {"nudgeDown", Ltrb(285, 428, 298, 441)},
    {"sizeValue", Ltrb(73, 138, 123, 143)},   {"hueValue", Ltrb(256, 180, 306, 185)},
    {"brightnessValue", Ltrb(256, 217, 306, 222)}, {"preview", Ltrb(142, 86, 316, 160)},
};

TEST_F(StartupTest, EveryControlAtItsPlaceInTheClientArea) {
    QWidget* client = window->clientArea();
    EXPECT_EQ(client->size(), QSize(TaboraWindow::kClientWidth, TaboraWindow::kClientHeight));
    // The client area lies below the menu bar.
    EXPECT_GE(client->geometry().top(), window->menuBar()->geometry().bottom());
    QWidget* previous = nullptr;
    for (const Placement& p : kPlacements) {
        auto* widget = Child<QWidget>(p.name);
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->parentWidget(), client) << p.name;
        EXPECT_EQ(widget->geometry(), p.rect) << p.name;
        EXPECT_TRUE(widget->isVisible()) << p.name;
        previous = widget;
    }
    (void)previous;
    // The drop-down lists: the table's rectangle includes the dropped list;
    // closed, they keep its left, top and width.
    for (auto [name, rect] : {std::pair{"fontList", Ltrb(15, 394, 169, 550)},
                              std::pair{"styleList", Ltrb(15, 422, 95, 500)},
                              std::pair{"sizeList", Ltrb(125, 422, 169, 550)}}) {
        auto* list = Child<QComboBox>(name);
        EXPECT_EQ(list->geometry().topLeft(), rect.topLeft()) << name;
        EXPECT_EQ(list->width(), rect.width()) << name;
        EXPECT_LE(list->height(), rect.height()) << name;
    }
    // Later siblings lie above: the preview above the work area.
    const QObjectList& children = client->children();
    EXPECT_GT(children.indexOf(Child<QWidget>("preview")), children.indexOf(Child<QWidget>("workArea")));
}

TEST_F(StartupTest, FixedMinimisableFrameWithMenu) {
    EXPECT_EQ(ShownTitle(*window), "Tabora");
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);

    QStringList menus;
    for (QAction* action : window->menuBar()->actions()) menus << action->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Edit", "&Help"}));
    auto* file = Child<QMenu>("fileMenu");
    QStringList items;
    for (QAction* action : file->actions()) items << action->text();
    EXPECT_EQ(items, (QStringList{"&Open...", "Open &Recent", "&Save", "Save &As", "",
                                  "Also Save S&tate Files", "Also Save S&prite", "Also Save &CSS",
                                  "", "E&xit"}));
    QStringList formats;
    for (QAction* action : Child<QMenu>("saveAsMenu")->actions()) formats << action->text();
    EXPECT_EQ(formats, (QStringList{"GIF...", "JPEG...", "PNG...", "BMP...", "WebP..."}));
    EXPECT_EQ(Child<QAction>("openAction")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(Child<QAction>("saveAction")->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(Child<QAction>("exitAction")->shortcut(), QKeySequence("Ctrl+Q"));
    EXPECT_EQ(Child<QAction>("aboutAction")->text(), "&About Tabora...");
    // Save is greyed until there is a current file with changes.
    EXPECT_FALSE(window->saveAction()->isEnabled());
    EXPECT_FALSE(window->undoAction()->isEnabled());
}

TEST_F(StartupTest, InitialStateOfTheControls) {
    EXPECT_FALSE(window->modified());
    EXPECT_TRUE(window->currentPath().empty());
    EXPECT_TRUE(Child<QCheckBox>("shadowCheck")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>("antialiasCheck")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("textShadowCheck")->isChecked());
    auto* size = Child<QSlider>("sizeSlider");
    EXPECT_EQ(size->minimum(), 20);
    EXPECT_EQ(size->maximum(), 200);
    EXPECT_EQ(size->value(), 200);
    auto* hue = Child<QSlider>("hueSlider");
    EXPECT_EQ(hue->maximum(), 4096);
    EXPECT_EQ(hue->value(), 0);
    auto* brightness = Child<QSlider>("brightnessSlider");
    EXPECT_EQ(brightness->maximum(), 410);
    EXPECT_EQ(brightness->value(), 205);
    EXPECT_EQ(Child<ColorButton>("backgroundSwatch")->color, 0xFFFFFFu);
    EXPECT_EQ(Child<ColorButton>("textColorSwatch")->color, 0xFFFFFFu);
    EXPECT_EQ(Child<QLineEdit>("captionEdit")->text(), "");

    // "Arial", or the family that stands in for it here.
    const QString font = Child<FontPopup>("fontList")->currentText();
    EXPECT_TRUE(font == "Arial" || font == "Liberation Sans") << font.toStdString();
    EXPECT_EQ(window->settings().fontName, "Arial");
    auto* style = Child<QComboBox>("styleList");
    EXPECT_EQ(style->currentText(), "Regular");
    EXPECT_EQ(style->count(), 4);
    EXPECT_EQ(style->itemData(3).toUInt(), 0x21u);
    EXPECT_EQ(Child<QComboBox>("sizeList")->currentText(), "12");
    EXPECT_EQ(Child<QComboBox>("sizeList")->count(), 15);

    EXPECT_EQ(Child<AValueWnd>("sizeValue")->Text(), "100%");
    EXPECT_EQ(Child<AValueWnd>("hueValue")->Text(), QString::fromUtf8("+0°"));
    EXPECT_EQ(Child<AValueWnd>("brightnessValue")->Text(), "+0.0%");
    EXPECT_GE(window->preview()->PaintCount(), 1);
}

TEST_F(StartupTest, PreviewShowsTheDefaultButtonOverThePanel) {
    // No style and no caption: the white background fills the preview.
    QImage shot = window->clientArea()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(142 + 87, 86 + 37), QColor(Qt::white));
    // The button face surrounds the work area.
    EXPECT_EQ(shot.pixelColor(131, 120), window->clientArea()->palette().color(QPalette::Button));
}

TEST_F(StartupTest, PicturesCarryTheirWording) {
    EXPECT_EQ(Child<QWidget>("saveLabel")->accessibleName(), "Save your button");
    EXPECT_EQ(Child<QWidget>("typeLabel")->toolTip(), "Type some text (optional)");
    EXPECT_EQ(Child<QWidget>("gifIcon")->accessibleName(), "Save as GIF");
    EXPECT_EQ(Child<QWidget>("step3")->accessibleName(), "Step 3");
}

TEST(DarkTheme, EditorKeepsTheLightFaceItsPicturesNeed) {
    const QPalette original = QApplication::palette();
    QPalette dark = original;
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    QApplication::setPalette(dark);
    {
        TaboraWindow window;
        EXPECT_GT(window.clientArea()->palette().color(QPalette::Button).lightness(), 200);
        EXPECT_EQ(window.clientArea()->palette().color(QPalette::Window),
                  window.clientArea()->palette().color(QPalette::Button));
    }
    QApplication::setPalette(original);
}

}  // namespace
}  // namespace tabora::testing
