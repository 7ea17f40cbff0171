#include "title/play_card_text.h"

#include <cstdio>

#include "timing/positions.h"

namespace olve {

std::string PositionText(std::uint32_t position, TOlveTimeFormat format)
{
    char text[64];
    switch (format) {
    case otfTrackMilliseconds:
        std::snprintf(text, sizeof text, "%02u %02u:%02u:%03u", PackedMedia(position), PackedMinutes(position) & 255,
                      PackedSeconds(position) & 255, PackedMilliseconds(position));
        break;
    case otfFrames:
        std::snprintf(text, sizeof text, "%02u %06u", PackedMedia(position), PackedTime(position));
        break;
    default:
        std::snprintf(text, sizeof text, "%02u %02u:%02u:%02u", TmsfTrack(position), TmsfMinutes(position),
                      TmsfSeconds(position), TmsfFrames(position));
        break;
    }
    return text;
}

}  // namespace olve
