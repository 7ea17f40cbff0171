#pragma once
#include <cstdint>
#include <ctime>

namespace olve {

// File trains carry modification times as packed DOS values in local time: bits 25-31 the
// year since 1980, 21-24 the month, 16-20 the day, 11-15 the hour, 5-10 the minute and 0-4
// the seconds halved. The format cannot say more than that, so times round down to even
// seconds and years outside 1980-2107 are clamped to the ends of that range.
std::uint32_t DosDateTimeOf(std::time_t time);

// False for a value whose fields are out of range (month 13, hour 24 ...): such a file keeps
// the time it got when it was written.
bool TimeOfDosDateTime(std::uint32_t dosDateTime, std::time_t& time);

}  // namespace olve
