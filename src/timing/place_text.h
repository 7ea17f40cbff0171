#pragma once
#include <cstdint>
#include <string>

namespace olve {

// "3 / 10": the current card counted from 1 among the title's cards; "- / 10" before the
// first card has been reached; empty without cards.
std::string CardCounterText(int current, int count);

// "0:12 / 2:45": a position and the recording's length in milliseconds, as minutes and
// seconds, or as hours, minutes and seconds when the recording lasts an hour or more.
std::string PlaceTimeText(std::int64_t positionMs, std::int64_t lengthMs);

}  // namespace olve
