#pragma once
#include <string>

#include "subtitles/subtitle_packet.h"

typedef struct _GstCaps GstCaps;

namespace olve {

// What the stream format of a subtitle track says about it.
struct TSubtitleTrackCaps {
    // A short name for the user ("UTF-8 text", "ASS", "DVD subpictures" ...).
    std::string Format;
    // False for pictures and other packets that hold no readable text.
    bool IsText = true;
    TSubtitlePacketFormat Packet = TSubtitlePacketFormat::Text;
};

// False when the caps are not those of a subtitle track.
bool SubtitleTrackCapsOf(const GstCaps* caps, TSubtitleTrackCaps& track);

}  // namespace olve
