#include "title/time_format_conversion.h"

#include "timing/positions.h"
#include "title/play_cards.h"

namespace olve {

namespace {

std::uint32_t TmsfToPacked(std::uint32_t t)
{
    return MakePackedPosition(TmsfTrack(t), TmsfMinutes(t), TmsfSeconds(t), TmsfFrames(t) * 1000 / 75);
}

std::uint32_t UnitsToTmsf(std::uint8_t track, std::int32_t units)
{
    const std::uint32_t ms = static_cast<std::uint32_t>(units);
    return MakeTmsf(track, ms / 60000, ms / 1000 % 60, ms % 1000 * 75 / 1000);
}

}  // namespace

void ConvertToMilliseconds(TPlayCards& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        list.SetStartPos(i, TmsfToPacked(list.GetCard(i).StartPos));
        list.SetEndPos(i, TmsfToPacked(list.GetCard(i).EndPos));
        list.SetTimeFormat(i, otfTrackMilliseconds);
    }
}

void ConvertToTmsf(TPlayCards& list)
{
    for (int i = 0; i < list.Count(); ++i) {
        list.SetStartPos(i, UnitsToTmsf(list.StartTrack(i), list.StartUnits(i)));
        list.SetEndPos(i, UnitsToTmsf(list.EndTrack(i), list.EndUnits(i)));
        list.SetTimeFormat(i, otfTMSF);
    }
}

}  // namespace olve
