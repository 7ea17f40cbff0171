#include "codec/dos_date_time.h"

namespace olve {

std::uint32_t DosDateTimeOf(std::time_t time)
{
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr)
        return (1u << 21) | (1u << 16);
    const int year = local.tm_year + 1900;
    if (year < 1980)
        return (1u << 21) | (1u << 16);
    if (year > 2107)
        return (127u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    return (static_cast<std::uint32_t>(year - 1980) << 25) | (static_cast<std::uint32_t>(local.tm_mon + 1) << 21) |
           (static_cast<std::uint32_t>(local.tm_mday) << 16) | (static_cast<std::uint32_t>(local.tm_hour) << 11) |
           (static_cast<std::uint32_t>(local.tm_min) << 5) | static_cast<std::uint32_t>(local.tm_sec / 2);
}

bool TimeOfDosDateTime(std::uint32_t dosDateTime, std::time_t& time)
{
    const int month = static_cast<int>((dosDateTime >> 21) & 15);
    const int day = static_cast<int>((dosDateTime >> 16) & 31);
    const int hour = static_cast<int>((dosDateTime >> 11) & 31);
    const int minute = static_cast<int>((dosDateTime >> 5) & 63);
    const int second = static_cast<int>(dosDateTime & 31) * 2;
    if (month < 1 || month > 12 || day < 1 || hour > 23 || minute > 59 || second > 59)
        return false;
    std::tm local{};
    local.tm_year = static_cast<int>(dosDateTime >> 25) + 80;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const std::time_t result = std::mktime(&local);
    // mktime quietly carries 31 February into March; such a day is out of range too.
    if (result == static_cast<std::time_t>(-1) || local.tm_mday != day)
        return false;
    time = result;
    return true;
}

}  // namespace olve
