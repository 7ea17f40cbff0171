#include "timing/tick_wait.h"

#include <algorithm>
#include <cmath>

namespace olve {

std::int64_t NextBarStep(std::int64_t position, std::int64_t length, int width)
{
    if (length < 1 || width < 1)
        return -1;
    const std::int64_t shown = std::max<std::int64_t>(position, 0) * width / length;
    if (shown >= width)
        return -1;
    return ((shown + 1) * length + width - 1) / width;
}

std::int64_t NextWholeSecond(std::int64_t position)
{
    return position < 0 ? 0 : (position / 1000 + 1) * 1000;
}

std::int64_t PacedChange(std::int64_t position, std::int64_t change, double speed)
{
    if (change < 0)
        return change;
    return std::max(change, position + std::int64_t(std::ceil(FirstTickMs * std::max(speed, 0.0))));
}

int TickWaitMs(std::int64_t position, std::initializer_list<std::int64_t> changes, double speed)
{
    std::int64_t nearest = -1;
    for (const std::int64_t change : changes)
        if (change > position && (nearest < 0 || change < nearest))
            nearest = change;
    if (nearest < 0 || !(speed > 0))
        return LongestTickWaitMs;
    const double wait = std::ceil(double(nearest - position) / speed) + 1;
    return static_cast<int>(std::clamp(wait, 1.0, double(LongestTickWaitMs)));
}

}  // namespace olve
