#pragma once
#include <cstdint>
#include <vector>

namespace olve {

// Something in a row that takes time: a sentence or a word. StartMs < 0: not placed yet.
struct TTimedItem {
    double Weight = 1;
    std::int64_t StartMs = -1;
    std::int64_t EndMs = -1;

    bool Placed() const { return StartMs >= 0; }
};

// Gives every unplaced item a time: each run of them shares the gap between the placed items
// on either side (or from, to at the ends of the row) in proportion to their weights, so the
// row stays in time order.
void FillUnplacedTimes(std::vector<TTimedItem>& items, std::int64_t from, std::int64_t to);

}  // namespace olve
