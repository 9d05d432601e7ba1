// The window without a mouse: the archive takes the keyboard and picks
// styles, Tab walks the steps in order, the format icons act on keys, and
// every control tells a screen reader its name and purpose.
#include <QAccessible>
#include <QSlider>
#include <set>

#include "GuiTestSupport.h"
#include "controls/FormatIconWnd.h"
#include "styles/Archive.h"
#include "styles/ArchiveNavigation.h"
#include "styles/Catalogue.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora::testing {
namespace {

using KeyboardTest = WindowTest;

void Press(QWidget* widget, Qt::Key key) { QTest::keyClick(widget, key); }

TEST_F(KeyboardTest, TheArchivePicksAStyleWithTheKeyboardAlone) {
    ArchiveWnd* archive = window->archive();
    Child<QSlider>("hueSlider")->setValue(900);
    archive->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(archive->hasFocus());
    // The keyboard starts on the first picture in sight.
    const ArchiveNavigation navigation(CatalogueTable(), Archive::kVisibleStripHeight);
    const int32_t first = navigation.FirstAtOrBelow(0);
    EXPECT_EQ(archive->HighlightedStyle(), first);
    EXPECT_TRUE(GetArchive().HasStyleData(first));

    Press(archive, Qt::Key_Right);
    const int32_t second = archive->HighlightedStyle();
    EXPECT_EQ(second, navigation.Move(first, ArchiveMove::Next, 0));
    EXPECT_EQ(window->settings().styleNumber, 0);  // moving picks nothing
    Press(archive, Qt::Key_Return);
    EXPECT_EQ(window->settings().styleNumber, second);
    EXPECT_EQ(window->settings().hueShift, 0);  // exactly as a click: adjustments reset
    EXPECT_TRUE(window->modified());
    EXPECT_EQ(archive->ChosenStyle(), second);

    // Down a screen, then Space.
    Press(archive, Qt::Key_PageDown);
    const int32_t below = archive->HighlightedStyle();
    EXPECT_GT(GetArchive().Entry(below)->top, GetArchive().Entry(second)->top);
    Press(archive, Qt::Key_Space);
    EXPECT_EQ(window->settings().styleNumber, below);

    // End reaches the last style, scrolled into view; Home goes back.
    Press(archive, Qt::Key_End);
    const int32_t last = archive->HighlightedStyle();
    const QRect shown = archive->ViewRectOf(last);
    EXPECT_TRUE(archive->viewport()->rect().contains(shown)) << last;
    EXPECT_GT(archive->ScrollY(), 10000);
    Press(archive, Qt::Key_Home);
    EXPECT_EQ(archive->HighlightedStyle(), first);
    EXPECT_EQ(archive->ScrollY(), 0);
    // Undo takes the pick back and the frame follows.
    window->OnUndo();
    EXPECT_EQ(window->settings().styleNumber, second);
    EXPECT_EQ(archive->ChosenStyle(), second);
}

TEST_F(KeyboardTest, ArrowsSkipHeadingsAndStayInTheStrip) {
    const ArchiveNavigation navigation(CatalogueTable(), Archive::kVisibleStripHeight);
    int32_t headings = 0;
    int32_t style = navigation.FirstAtOrBelow(0);
    // Walking the whole strip forward visits only styles with pictures, in
    // strip order, and ends on the last one.
    for (int steps = 0; steps < Archive::kEntryCount; ++steps) {
        const int32_t next = navigation.Move(style, ArchiveMove::Next, 0);
        if (next == style) break;
        const ArchiveEntry* a = GetArchive().Entry(style);
        const ArchiveEntry* b = GetArchive().Entry(next);
        ASSERT_TRUE(GetArchive().HasStyleData(next)) << next;
        ASSERT_TRUE(b->top > a->top || (b->top == a->top && b->left > a->left)) << next;
        ASSERT_LE(b->bottom, Archive::kVisibleStripHeight) << next;
        style = next;
    }
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n) headings += !GetArchive().HasStyleData(n);
    EXPECT_GT(headings, 0);
    EXPECT_EQ(style, navigation.Move(style, ArchiveMove::Last, 0));
    // Up and Down change rows and keep the column where they can.
    const int32_t down = navigation.Move(navigation.FirstAtOrBelow(0), ArchiveMove::Down, 0);
    EXPECT_GT(GetArchive().Entry(down)->top, GetArchive().Entry(navigation.FirstAtOrBelow(0))->top);
    EXPECT_EQ(navigation.Move(down, ArchiveMove::Up, 0), navigation.FirstAtOrBelow(0));
    EXPECT_EQ(navigation.Move(navigation.FirstAtOrBelow(0), ArchiveMove::Up, 0),
              navigation.FirstAtOrBelow(0));
}

TEST_F(KeyboardTest, TheChosenStyleIsFramedWithoutCoveringItsNeighbours) {
    ArchiveWnd* archive = window->archive();
    const ArchiveNavigation navigation(CatalogueTable(), Archive::kVisibleStripHeight);
    const int32_t n = navigation.Move(navigation.FirstAtOrBelow(0), ArchiveMove::Down, 0);
    window->PickStyle(n);
    ASSERT_EQ(archive->ChosenStyle(), n);
    window->clientArea()->setFocus();  // no keyboard mark, only the frame
    const QImage plain = [&] {
        archive->SetChosenStyle(0);
        return archive->viewport()->grab().toImage();
    }();
    archive->SetChosenStyle(n);
    const QImage framed = archive->viewport()->grab().toImage();
    const QRect picture = archive->ViewRectOf(n);
    int changed = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == framed.pixel(x, y)) continue;
            ++changed;
            const QPoint p(x, y);
            // Only the ring just outside the picture changes.
            ASSERT_FALSE(picture.contains(p)) << x << "," << y;
            ASSERT_TRUE(picture.adjusted(-2, -2, 2, 2).contains(p)) << x << "," << y;
            const int32_t hit =
                GetArchive().HitTest(x + archive->ScrollX(), y + archive->ScrollY());
            ASSERT_TRUE(hit == 0 || hit == n) << x << "," << y;
        }
    EXPECT_GT(changed, 2 * (picture.width() + picture.height()));
}

TEST_F(KeyboardTest, TabFollowsTheStepsAndTheIconsSaveOnKeys) {
    const std::vector<QWidget*> order = window->TabOrder();
    ASSERT_EQ(order.front(), window->archive());
    // Tab from the archive visits every control once, in this order.
    order.front()->setFocus(Qt::TabFocusReason);
    for (size_t i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), order[i])
            << i << " " << QApplication::focusWidget()->objectName().toStdString();
    }
    // The steps run top to bottom: each control lies no higher than the
    // start of its step (the numbered discs' tops).
    const int stepTops[] = {82, 184, 258, 295, 339, 470};
    auto stepOf = [&](QWidget* w) {
        if (w == window->archive()) return 0;
        const int y = w->mapTo(window->clientArea(), QPoint(0, 0)).y();
        int step = 0;
        for (int i = 0; i < 6; ++i)
            if (y + w->height() > stepTops[i]) step = i;
        return step;
    };
    for (size_t i = 1; i < order.size(); ++i)
        EXPECT_LE(stepOf(order[i - 1]), stepOf(order[i])) << order[i]->objectName().toStdString();

    // The last five are the icons, left to right; Enter and Space save.
    auto* gif = Child<FormatIconWnd>("gifIcon");
    auto* png = Child<FormatIconWnd>("pngIcon");
    EXPECT_EQ(order[order.size() - 5], gif);
    gif->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(gif->hasFocus());
    host.fileAnswers.push_back(PathIn("keys.gif"));
    QTest::keyClick(gif, Qt::Key_Return);
    ASSERT_EQ(host.fileRequests.size(), 1u);
    EXPECT_EQ(FileHead(PathIn("keys.gif"), 4), "GIF8");
    host.fileAnswers.push_back(PathIn("keys.png"));
    QTest::keyClick(png, Qt::Key_Space);
    EXPECT_EQ(FileHead(PathIn("keys.png"), 4), "\x89PNG");
}

TEST_F(KeyboardTest, TheFocusedIconShowsAMark) {
    auto* jpg = Child<FormatIconWnd>("jpgIcon");
    window->clientArea()->setFocus();
    const QImage plain = jpg->grab().toImage();
    jpg->setFocus(Qt::TabFocusReason);
    const QImage focused = jpg->grab().toImage();
    EXPECT_NE(plain, focused);
}

// Everything a screen reader can reach has a name and a description, as the
// accessibility tree Qt builds reports them.
TEST_F(KeyboardTest, EveryControlHasAnAccessibleNameAndDescription) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window.get());
    ASSERT_NE(root, nullptr);
    std::vector<QAccessibleInterface*> pending{root};
    std::set<QWidget*> described;
    while (!pending.empty()) {
        QAccessibleInterface* node = pending.back();
        pending.pop_back();
        for (int i = 0; i < node->childCount(); ++i)
            if (QAccessibleInterface* child = node->child(i)) pending.push_back(child);
        auto* widget = qobject_cast<QWidget*>(node->object());
        if (!widget || !window->clientArea()->isAncestorOf(widget)) continue;
        if (!(widget->focusPolicy() & Qt::TabFocus)) continue;
        const std::string what =
            widget->objectName().toStdString() + " (" + widget->metaObject()->className() + ")";
        EXPECT_FALSE(node->text(QAccessible::Name).isEmpty()) << what;
        EXPECT_FALSE(node->text(QAccessible::Description).isEmpty()) << what;
        described.insert(widget);
    }
    // Every control Tab reaches was in the tree.
    for (QWidget* control : window->TabOrder())
        EXPECT_TRUE(described.count(control)) << control->objectName().toStdString();
    // The icons are announced as buttons.
    QAccessibleInterface* icon = QAccessible::queryAccessibleInterface(Child<QWidget>("bmpIcon"));
    EXPECT_EQ(icon->role(), QAccessible::Button);
    EXPECT_EQ(icon->text(QAccessible::Name), "Save as BMP");
}

}  // namespace
}  // namespace tabora::testing
