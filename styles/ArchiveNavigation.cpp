#include "styles/ArchiveNavigation.h"

#include <algorithm>
#include <cstdlib>

namespace tabora {

namespace {
int32_t CentreX(const ArchiveEntry& e) { return (e.left + e.right) / 2; }
}  // namespace

ArchiveNavigation::ArchiveNavigation(std::span<const ArchiveEntry> table, int32_t visibleHeight)
    : table_(table) {
    for (size_t i = 0; i < table.size(); ++i) {
        const ArchiveEntry& e = table[i];
        if (e.resourceNumber != 0 && e.right > e.left && e.bottom > e.top &&
            e.bottom <= visibleHeight)
            order_.push_back(int32_t(i + 1));
    }
    std::stable_sort(order_.begin(), order_.end(), [this](int32_t a, int32_t b) {
        const ArchiveEntry& x = table_[size_t(a - 1)];
        const ArchiveEntry& y = table_[size_t(b - 1)];
        return x.top != y.top ? x.top < y.top : x.left < y.left;
    });
}

bool ArchiveNavigation::Reachable(int32_t style) const {
    return std::find(order_.begin(), order_.end(), style) != order_.end();
}

int32_t ArchiveNavigation::RowNear(int32_t top, int direction) const {
    // Rows are the distinct tops; the nearest one strictly on that side.
    int32_t best = -1;
    for (int32_t style : order_) {
        const int32_t t = table_[size_t(style - 1)].top;
        if (direction < 0 ? t < top && (best < 0 || t > best) : t > top && (best < 0 || t < best))
            best = t;
    }
    return best;
}

int32_t ArchiveNavigation::NearestInRow(int32_t rowTop, int32_t x) const {
    int32_t best = 0;
    int32_t bestDistance = 0;
    for (int32_t style : order_) {
        const ArchiveEntry& e = table_[size_t(style - 1)];
        if (e.top != rowTop) continue;
        const int32_t distance = std::abs(CentreX(e) - x);
        if (best == 0 || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

int32_t ArchiveNavigation::Move(int32_t current, ArchiveMove move, int32_t page) const {
    if (order_.empty()) return 0;
    const auto at = std::find(order_.begin(), order_.end(), current);
    if (at == order_.end()) return FirstAtOrBelow(0);
    const ArchiveEntry& here = table_[size_t(current - 1)];
    switch (move) {
        case ArchiveMove::Previous:
            return at == order_.begin() ? current : *(at - 1);
        case ArchiveMove::Next:
            return at + 1 == order_.end() ? current : *(at + 1);
        case ArchiveMove::First:
            return order_.front();
        case ArchiveMove::Last:
            return order_.back();
        case ArchiveMove::Up:
        case ArchiveMove::Down: {
            const int32_t row = RowNear(here.top, move == ArchiveMove::Up ? -1 : 1);
            return row < 0 ? current : NearestInRow(row, CentreX(here));
        }
        case ArchiveMove::PageUp:
        case ArchiveMove::PageDown: {
            // The row a screen away, or the last row before it; at least one
            // row, so a page shorter than a row still moves.
            const bool up = move == ArchiveMove::PageUp;
            const int32_t target = here.top + (up ? -page : page);
            int32_t row = RowNear(here.top, up ? -1 : 1);
            if (row < 0) return current;
            for (int32_t next = row; next >= 0 && (up ? next >= target : next <= target);
                 next = RowNear(next, up ? -1 : 1))
                row = next;
            return NearestInRow(row, CentreX(here));
        }
    }
    return current;
}

int32_t ArchiveNavigation::FirstAtOrBelow(int32_t y) const {
    if (order_.empty()) return 0;
    for (int32_t style : order_)
        if (table_[size_t(style - 1)].top >= y) return style;
    return order_.back();
}

}  // namespace tabora
