
#include "timing/positions.h"
namespace olve {

std::uint32_t MakePackedPosition(std::uint32_t media, std::uint32_t minutes, std::uint32_t seconds, std::uint32_t ms)
{
    return (media & 255) | ((((minutes & 255) * 60 + (seconds & 255)) * 1000 + ms) << 8);
}

std::uint32_t MakeTmsf(std::uint32_t track, std::uint32_t minutes, std::uint32_t seconds, std::uint32_t frames)
{
    return (track & 255) | ((minutes & 255) << 8) | ((seconds & 255) << 16) | ((frames & 255) << 24);
}

std::uint32_t TmsfToFrames(std::uint32_t t)
{
    return TmsfFrames(t) + 75 * TmsfSeconds(t) + 4500 * TmsfMinutes(t);
}

std::uint32_t ToPlayerUnits(std::uint32_t p, TOlveTimeFormat format)
{
    if (format == otfTrackMilliseconds || format == otfFrames)
        return PackedTime(p);
    return TmsfToFrames(p);
}

TOlveTimeFormat ClassifyTimeFormat(int timeFormatCode)
{
    switch (timeFormatCode) {
    case TimeFormatFrames:
        return otfFrames;
    case TimeFormatTmsf:
        return otfTMSF;
    default:
        return otfTrackMilliseconds;
    }
}

}  // namespace olve
