// A screen too short for the window: the left panel scrolls and the archive
// is shortened, never cut off; where the window fits, nothing changes.
#include <QScrollArea>
#include <QScrollBar>

#include "GuiTestSupport.h"
#include "controls/FormatIconWnd.h"
#include "styles/Archive.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora::testing {
namespace {

using ScreenFitTest = WindowTest;

// 1280 x 1024 at 200 %, less a panel: what the window gets in
// device-independent pixels.
const QRect kShortScreen(0, 0, 640, 488);
const QRect kTallScreen(0, 0, 1920, 1080);

// Controls at their places in the table of the fitting layout.
void ExpectTableLayout(TaboraWindow& window) {
    QWidget* client = window.clientArea();
    EXPECT_EQ(client->size(), QSize(TaboraWindow::kClientWidth, TaboraWindow::kClientHeight));
    const std::pair<const char*, QRect> places[] = {
        {"archive", QRect(330, 2, 213, 520)},    {"preview", QRect(142, 86, 174, 74)},
        {"pngIcon", QRect(200, 467, 33, 44)},    {"gifIcon", QRect(120, 467, 33, 44)},
        {"hueSlider", QRect(150, 187, 160, 25)}, {"captionEdit", QRect(15, 365, 154, 23)},
        {"banner", QRect(0, 2, 330, 70)},        {"verticalRule", QRect(328, 2, 2, 523)},
    };
    for (const auto& [name, rect] : places) {
        auto* widget = client->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(widget, nullptr) << name;
        EXPECT_EQ(widget->parentWidget(), client) << name;
        EXPECT_EQ(widget->geometry(), rect) << name;
    }
}

TEST_F(ScreenFitTest, WhereTheWindowFitsNothingChanges) {
    EXPECT_FALSE(window->Fitted());
    ExpectTableLayout(*window);
    window->FitToScreen(kTallScreen);
    EXPECT_FALSE(window->Fitted());
    ExpectTableLayout(*window);
}

TEST_F(ScreenFitTest, AShortScreenScrollsTheLeftPanelAndShortensTheArchive) {
    window->FitToScreen(kShortScreen);
    ASSERT_TRUE(window->Fitted());
    // The window with its frame fits the screen.
    EXPECT_LE(window->frameGeometry().height(), kShortScreen.height());
    EXPECT_GT(window->frameGeometry().height(), kShortScreen.height() - 50);
    QWidget* client = window->clientArea();
    ArchiveWnd* archive = window->archive();
    // The archive is whole inside the client area and still scrolls to the
    // strip's end.
    EXPECT_TRUE(client->rect().contains(archive->geometry()));
    EXPECT_LT(archive->height(), 520);
    EXPECT_EQ(archive->verticalScrollBar()->maximum(),
              Archive::kVisibleStripHeight - archive->viewport()->height());
    // The left panel keeps the table's places inside its scroll area.
    QScrollArea* scroll = window->leftPanelScroll();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->height(), client->height());
    auto* png = Child<FormatIconWnd>("pngIcon");
    EXPECT_EQ(png->geometry(), QRect(200, 467, 33, 44));
    EXPECT_TRUE(scroll->widget()->isAncestorOf(png));
    // The save icons start below the fold; the keyboard brings them into
    // sight.
    EXPECT_TRUE(png->visibleRegion().isEmpty());
    png->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!png->visibleRegion().isEmpty());
    EXPECT_GT(scroll->verticalScrollBar()->value(), 0);

    // Presses still reach their controls: an icon saves, the archive picks.
    host.fileAnswers.push_back(PathIn("fitted.png"));
    QTest::mouseClick(png, Qt::LeftButton);
    EXPECT_EQ(FileHead(PathIn("fitted.png"), 4), "\x89PNG");
    int32_t n = 1;
    while (!GetArchive().HasStyleData(n)) ++n;
    const ArchiveEntry* e = GetArchive().Entry(n);
    archive->ScrollTo(std::max(0, e->top - 20));
    QTest::mouseClick(
        archive->viewport(), Qt::LeftButton, {},
        QPoint((e->left + e->right) / 2, (e->top + e->bottom) / 2 - archive->ScrollY()));
    EXPECT_EQ(window->settings().styleNumber, n);

    // Tab order survives the move into the panel.
    archive->setFocus(Qt::TabFocusReason);
    QTest::keyClick(archive, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>("sizeSlider"));
}

TEST_F(ScreenFitTest, MovingToATallScreenRestoresTheTable) {
    window->FitToScreen(kShortScreen);
    ASSERT_TRUE(window->Fitted());
    window->FitToScreen(kTallScreen);
    EXPECT_FALSE(window->Fitted());
    ExpectTableLayout(*window);
    // The preview still lies above its work area.
    QWidget* client = window->clientArea();
    EXPECT_EQ(client->childAt(QPoint(200, 120)), Child<QWidget>("preview"));
}

}  // namespace
}  // namespace tabora::testing
