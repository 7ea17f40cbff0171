#include "align/unplaced_times.h"

#include <algorithm>

namespace olve {

namespace {

void SpreadRun(std::vector<TTimedItem>& items, std::size_t begin, std::size_t end, std::int64_t from, std::int64_t to)
{
    double total = 0;
    for (std::size_t i = begin; i < end; ++i)
        total += items[i].Weight;
    total = std::max(total, 1e-9);
    const double span = static_cast<double>(std::max<std::int64_t>(0, to - from));
    double done = 0;
    for (std::size_t i = begin; i < end; ++i) {
        items[i].StartMs = from + static_cast<std::int64_t>(span * done / total);
        done += items[i].Weight;
        items[i].EndMs = from + static_cast<std::int64_t>(span * done / total);
    }
}

}  // namespace

void FillUnplacedTimes(std::vector<TTimedItem>& items, std::int64_t from, std::int64_t to)
{
    std::int64_t before = from;
    for (std::size_t i = 0; i < items.size();) {
        if (items[i].Placed()) {
            before = std::max(before, items[i].EndMs);
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < items.size() && !items[end].Placed())
            ++end;
        const std::int64_t after = end < items.size() ? items[end].StartMs : to;
        SpreadRun(items, i, end, before, std::max(before, after));
        i = end;
    }
}

}  // namespace olve
