// The archive view: the two-tile buffer, and picks of styles by pressing on
// the strip, on an entry, between entries and on a heading without data.
#include <QElapsedTimer>
#include <QSlider>
#include <algorithm>
#include <utility>

#include "GuiTestSupport.h"
#include "controls/AValueWnd.h"
#include "controls/PreviewWnd.h"
#include "imaging/JpegCodec.h"
#include "io/CDib.h"
#include "io/MacStream.h"
#include "platform/Resources.h"
#include "styles/Archive.h"
#include "styles/qt/ArchiveWnd.h"

namespace tabora::testing {
namespace {

using ArchiveTest = WindowTest;

// The first entry of the catalogue that satisfies `wanted`, or 0.
template <class Pred>
int32_t FindEntry(Pred wanted) {
    for (int32_t n = 1; n <= Archive::kEntryCount; ++n)
        if (wanted(n)) return n;
    return 0;
}

// A strip point inside the entry that the hit test gives for it.
QPoint PointIn(int32_t n) {
    const ArchiveEntry* e = GetArchive().Entry(n);
    for (int32_t y = e->top; y < e->bottom; ++y)
        for (int32_t x = e->left; x < e->right; ++x)
            if (GetArchive().HitTest(x, y) == n) return {x, y};
    return {-1, -1};
}

void PressOnStrip(ArchiveWnd* archive, QPoint strip) {
    archive->ScrollTo(std::max(0, strip.y() - 100));
    const QPoint inView(strip.x() - archive->ScrollX(), strip.y() - archive->ScrollY());
    QTest::mouseClick(archive->viewport(), Qt::LeftButton, {}, inView);
}

TEST_F(ArchiveTest, PickingAStyleResetsTheAdjustments) {
    // A stretchable style, so the size slider's maximum moves.
    const int32_t n = FindEntry([](int32_t i) {
        return GetArchive().HasStyleData(i) && GetArchive().Entry(i)->stretchColumn >= 0;
    });
    ASSERT_GT(n, 0);
    Child<QSlider>("hueSlider")->setValue(1000);
    Child<QSlider>("brightnessSlider")->setValue(100);
    Child<QSlider>("sizeSlider")->setValue(50);

    PressOnStrip(window->archive(), PointIn(n));
    const ButtonSettings& s = window->settings();
    EXPECT_EQ(s.styleNumber, n);
    EXPECT_EQ(s.buttonSize, window->button().DefaultButtonSize());
    EXPECT_EQ(s.hueShift, 0);
    EXPECT_EQ(s.brightness, 0);
    auto* size = Child<QSlider>("sizeSlider");
    EXPECT_EQ(size->maximum(), 200 + 2 * window->button().MaxExtraWidth());
    EXPECT_GT(size->maximum(), 200);
    EXPECT_EQ(size->value(), s.buttonSize);
    EXPECT_EQ(Child<QSlider>("hueSlider")->value(), 0);
    EXPECT_EQ(Child<QSlider>("brightnessSlider")->value(), 205);
    EXPECT_EQ(Child<AValueWnd>("hueValue")->Text(), QString::fromUtf8("+0°"));
    EXPECT_EQ(Child<AValueWnd>("brightnessValue")->Text(), "+0.0%");
    EXPECT_EQ(Child<AValueWnd>("sizeValue")->value, float(s.buttonSize / 2));
    EXPECT_TRUE(window->modified());
    // The style shows: the preview is no longer plain white in the middle.
    QTest::qWait(0);
    QImage shot = window->preview()->grab().toImage();
    EXPECT_NE(shot.pixelColor(87, 37), QColor(Qt::white));
}

TEST_F(ArchiveTest, PressBetweenEntriesKeepsTheStyleButResets) {
    const int32_t n = FindEntry([](int32_t i) { return GetArchive().HasStyleData(i); });
    PressOnStrip(window->archive(), PointIn(n));
    Child<QSlider>("hueSlider")->setValue(700);
    Child<QSlider>("sizeSlider")->setValue(60);

    // A strip point that no entry holds. Not (0, 0): the test library
    // takes a null point for the middle of the widget.
    QPoint gap(-1, -1);
    for (int32_t y = 1; y < 600 && gap.x() < 0; ++y) {
        for (int32_t x = 1; x < Archive::kStripWidth && gap.x() < 0; ++x) {
            if (GetArchive().HitTest(x, y) == 0) gap = {x, y};
        }
    }
    ASSERT_GE(gap.x(), 0);
    PressOnStrip(window->archive(), gap);
    EXPECT_EQ(window->settings().styleNumber, n);
    EXPECT_EQ(window->settings().hueShift, 0);
    EXPECT_EQ(window->settings().buttonSize, window->button().DefaultButtonSize());
}

TEST_F(ArchiveTest, EntryWithoutDataIsIgnored) {
    const int32_t heading = FindEntry([](int32_t i) { return !GetArchive().HasStyleData(i); });
    if (heading == 0) GTEST_SKIP() << "every entry carries a style";
    Child<QSlider>("hueSlider")->setValue(700);
    const ButtonSettings before = window->settings();
    const bool modified = window->modified();
    PressOnStrip(window->archive(), PointIn(heading));
    EXPECT_EQ(window->settings(), before);
    EXPECT_EQ(window->modified(), modified);
}

TEST_F(ArchiveTest, PressIsLookedUpAtTheScrolledStripPoint) {
    ArchiveWnd* archive = window->archive();
    archive->ScrollTo(1200);
    // Window point (400, 100) is strip point (70, 1298).
    const int32_t expected = GetArchive().HitTest(70, 1298);
    window->OnParentNotify(QPoint(400, 100));
    if (expected > 0 && GetArchive().HasStyleData(expected)) {
        EXPECT_EQ(window->settings().styleNumber, expected);
    } else if (expected == 0) {
        EXPECT_EQ(window->settings().styleNumber, 0);
    }
}

TEST_F(ArchiveTest, DecodesOnlyWhenTheTopEntersAnotherTile) {
    ArchiveWnd* archive = window->archive();
    EXPECT_EQ(archive->loadedTile(), 0);
    const int start = archive->DecodeCount();
    archive->ScrollTo(599);
    archive->viewport()->repaint();
    EXPECT_EQ(archive->DecodeCount(), start);
    archive->ScrollTo(600);
    archive->viewport()->repaint();
    EXPECT_EQ(archive->loadedTile(), 1);
    EXPECT_EQ(archive->DecodeCount(), start + 2);
    // At the end only the last tile is decoded.
    archive->ScrollTo(ArchiveWnd::kScrollHeight);
    archive->viewport()->repaint();
    EXPECT_EQ(archive->ScrollY(), ArchiveWnd::kScrollHeight - archive->viewport()->height());
    EXPECT_EQ(archive->loadedTile(), 25);
    EXPECT_EQ(archive->DecodeCount(), start + 3);
}

TEST_F(ArchiveTest, ShowsTheTilesItHolds) {
    // The strip's first rows are painted, not the empty buffer.
    QImage shot = window->archive()->viewport()->grab().toImage();
    int nonWhite = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 196; ++x)
            if (shot.pixel(x, y) != qRgb(255, 255, 255)) ++nonWhite;
    EXPECT_GT(nonWhite, 1000);
}

// Scrolled to the end, the view shows the last tile, decoded: the same pixels
// a decode of that tile on its own gives.
TEST_F(ArchiveTest, TheLastTileDecodesAndDraws) {
    ArchiveWnd* archive = window->archive();
    archive->ScrollTo(ArchiveWnd::kScrollHeight);
    archive->viewport()->repaint();
    const int last = ArchiveWnd::kTileCount - 1;
    ASSERT_EQ(archive->loadedTile(), last);

    const ResourceBytes bytes = Resources().FindRaw(ArchiveWnd::kTileResourceBase + last);
    ASSERT_FALSE(bytes.empty());
    CDib tile(ArchiveWnd::kTileWidth, ArchiveWnd::kTileHeight, 24);
    ASSERT_TRUE(tile.AllocateImage());
    PtrMacStream in(bytes.data(), uint32_t(bytes.size()), false);
    JpegCodec codec;
    codec.Decode(in, tile, Rect{0, 0, ArchiveWnd::kTileWidth, ArchiveWnd::kTileHeight});

    const QImage shot = archive->viewport()->grab().toImage();
    const int top = ArchiveWnd::kTileHeight * last - archive->ScrollY();
    int compared = 0, differing = 0, white = 0;
    for (int y = std::max(0, top); y < shot.height(); ++y) {
        const uint8_t* row = std::as_const(tile).Bits() +
                             size_t(ArchiveWnd::kTileHeight - 1 - (y - top)) * tile.GetRowBytes();
        for (int x = 0; x < std::min(shot.width(), ArchiveWnd::kTileWidth); ++x) {
            const QRgb expected = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
            ++compared;
            if (shot.pixel(x, y) != expected) ++differing;
            if (expected == qRgb(255, 255, 255)) ++white;
        }
    }
    EXPECT_GT(compared, 100 * ArchiveWnd::kTileWidth);
    EXPECT_EQ(differing, 0);
    EXPECT_LT(white, compared / 2);  // styles, not an empty strip
}

// Picking a style starts it at its default size, as the command line does
// for a style given without a size (style 12: 312).
TEST_F(ArchiveTest, APickedStyleStartsAtItsDefaultSize) {
    PressOnStrip(window->archive(), PointIn(12));
    ASSERT_EQ(window->settings().styleNumber, 12);
    EXPECT_EQ(window->settings().buttonSize, 312);
    EXPECT_EQ(window->settings().buttonSize, window->button().DefaultButtonSize());
}

TEST(ArchiveWndAlone, DamagedTileIsReportedOnceAndTheViewGoesOn) {
    // Tile 0 is not a JPEG, tile 1 is missing altogether.
    ResourceBlobWriter writer;
    writer.AddRaw(ArchiveWnd::kTileResourceBase, std::vector<uint8_t>(64, 0x5A));
    ScopedResources resources(writer);
    ScriptedDialogHost host;
    ScopedDialogHost asking(host);
    ArchiveWnd archive;
    archive.resize(213, 520);
    archive.show();
    EXPECT_EQ(archive.loadedTile(), 0);
    archive.viewport()->repaint();
    QTRY_COMPARE(host.messages.size(), size_t(1));
    EXPECT_EQ(host.messages[0], "fatal JPEG error");
    // Another tile, still damaged or missing: no second message.
    archive.ScrollTo(1300);
    archive.viewport()->repaint();
    QTest::qWait(10);
    EXPECT_EQ(host.messages.size(), 1u);
}

}  // namespace
}  // namespace tabora::testing
