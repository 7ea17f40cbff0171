#include "timing/place_text.h"

#include <algorithm>
#include <cstdio>

namespace olve {

namespace {

constexpr std::int64_t HourMs = 3600000;

std::string Clock(std::int64_t ms, bool hours)
{
    const std::int64_t seconds = ms / 1000;
    char text[32];
    if (hours)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

}  // namespace

std::string CardCounterText(int current, int count)
{
    if (count <= 0)
        return {};
    const std::string shown = current < 0 ? "-" : std::to_string(std::min(current, count - 1) + 1);
    return shown + " / " + std::to_string(count);
}

std::string PlaceTimeText(std::int64_t positionMs, std::int64_t lengthMs)
{
    const std::int64_t length = std::max<std::int64_t>(lengthMs, 0);
    const bool hours = length >= HourMs;
    return Clock(std::clamp<std::int64_t>(positionMs, 0, length), hours) + " / " + Clock(length, hours);
}

}  // namespace olve
