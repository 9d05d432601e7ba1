// Where the keyboard's moves through the archive lead, on a small strip:
// two rows of two under a heading, a row of three, a heading, one picture,
// and a picture in the hidden end of the strip.
#include <gtest/gtest.h>

#include <vector>

#include "styles/ArchiveNavigation.h"

namespace tabora {
namespace {

ArchiveEntry At(int32_t left, int32_t top, int32_t right, int32_t bottom, bool picture = true) {
    return {top, left, bottom, right, int16_t(picture ? 1 : 0), 0, -1};
}

const std::vector<ArchiveEntry> kStrip = {
    At(0, 0, 196, 24, false),     // 1: heading
    At(4, 28, 94, 68),            // 2
    At(102, 28, 192, 68),         // 3
    At(4, 74, 94, 114),           // 4
    At(102, 74, 192, 114),        // 5
    At(4, 120, 60, 140),          // 6
    At(70, 120, 126, 140),        // 7
    At(136, 120, 192, 140),       // 8
    At(0, 160, 196, 184, false),  // 9: heading
    At(50, 188, 140, 228),        // 10
    At(50, 240, 140, 280),        // 11: below the rows the view shows
};
constexpr int32_t kShown = 235;

TEST(ArchiveNavigation, ReadingOrderSkipsHeadingsAndTheHiddenEnd) {
    const ArchiveNavigation nav(kStrip, kShown);
    EXPECT_FALSE(nav.Reachable(1));
    EXPECT_FALSE(nav.Reachable(9));
    EXPECT_FALSE(nav.Reachable(11));
    EXPECT_TRUE(nav.Reachable(10));
    std::vector<int32_t> visited{nav.FirstAtOrBelow(0)};
    for (;;) {
        const int32_t next = nav.Move(visited.back(), ArchiveMove::Next, 100);
        if (next == visited.back()) break;
        visited.push_back(next);
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{2, 3, 4, 5, 6, 7, 8, 10}));
    EXPECT_EQ(nav.Move(2, ArchiveMove::Previous, 100), 2);
    EXPECT_EQ(nav.Move(6, ArchiveMove::Previous, 100), 5);
    EXPECT_EQ(nav.Move(5, ArchiveMove::First, 100), 2);
    EXPECT_EQ(nav.Move(5, ArchiveMove::Last, 100), 10);
}

TEST(ArchiveNavigation, UpAndDownKeepTheColumnAcrossRowsOfOtherWidths) {
    const ArchiveNavigation nav(kStrip, kShown);
    EXPECT_EQ(nav.Move(3, ArchiveMove::Down, 100), 5);
    EXPECT_EQ(nav.Move(5, ArchiveMove::Down, 100), 8);   // right column
    EXPECT_EQ(nav.Move(4, ArchiveMove::Down, 100), 6);   // left column
    EXPECT_EQ(nav.Move(7, ArchiveMove::Down, 100), 10);  // over the heading
    EXPECT_EQ(nav.Move(10, ArchiveMove::Down, 100), 10);
    EXPECT_EQ(nav.Move(10, ArchiveMove::Up, 100), 7);
    EXPECT_EQ(nav.Move(2, ArchiveMove::Up, 100), 2);
}

TEST(ArchiveNavigation, PagesMoveAScreenAndAtLeastARow) {
    const ArchiveNavigation nav(kStrip, kShown);
    EXPECT_EQ(nav.Move(2, ArchiveMove::PageDown, 100), 6);  // row 120 is within 28 + 100
    EXPECT_EQ(nav.Move(2, ArchiveMove::PageDown, 10), 4);   // a short page still moves
    EXPECT_EQ(nav.Move(2, ArchiveMove::PageDown, 1000), 10);
    EXPECT_EQ(nav.Move(10, ArchiveMove::PageUp, 100), 7);
    EXPECT_EQ(nav.Move(10, ArchiveMove::PageUp, 1000), 2);
    EXPECT_EQ(nav.Move(2, ArchiveMove::PageUp, 100), 2);
    // Starting where the view stands; a style out of reach starts afresh.
    EXPECT_EQ(nav.FirstAtOrBelow(70), 4);
    EXPECT_EQ(nav.FirstAtOrBelow(5000), 10);
    EXPECT_EQ(nav.Move(11, ArchiveMove::Next, 100), 2);
    EXPECT_EQ(ArchiveNavigation({}, kShown).Move(2, ArchiveMove::Next, 100), 0);
}

}  // namespace
}  // namespace tabora
