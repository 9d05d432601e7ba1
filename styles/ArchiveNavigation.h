#pragma once
#include <cstdint>
#include <span>
#include <vector>

#include "styles/Archive.h"

namespace tabora {

// The moves of the keyboard through the archive.
enum class ArchiveMove { Previous, Next, Up, Down, PageUp, PageDown, First, Last };

// Which styles the keyboard can reach, and where each move leads. Only
// entries with style data that lie wholly in the rows the view can show
// count: headings and the hidden end of the strip are skipped.
class ArchiveNavigation {
public:
    // Style i + 1 is table element i; `visibleHeight` is how many strip rows
    // the view scrolls over.
    ArchiveNavigation(std::span<const ArchiveEntry> table, int32_t visibleHeight);

    bool Reachable(int32_t style) const;
    // The style a move from `current` (a reachable style) leads to; `page`
    // is the view's height in strip rows. At an end the move stays.
    int32_t Move(int32_t current, ArchiveMove move, int32_t page) const;
    // The first reachable style whose picture starts at or below strip row
    // `y` (the last one when none does): where the keyboard starts.
    int32_t FirstAtOrBelow(int32_t y) const;

private:
    // The nearest row above (-1) or below (+1) row `top`, and the entry in it
    // closest to the horizontal centre `x`.
    int32_t NearestInRow(int32_t rowTop, int32_t x) const;
    int32_t RowNear(int32_t top, int direction) const;

    std::span<const ArchiveEntry> table_;
    // Reachable styles in reading order: top to bottom, then left to right.
    std::vector<int32_t> order_;
};

}  // namespace tabora
