#include "media/subtitle_track_caps.h"

#include <gst/gst.h>
#include <string_view>

namespace olve {

namespace {

struct TKnownCaps {
    std::string_view Name;
    const char* Format;
    bool IsText;
    TSubtitlePacketFormat Packet;
};

constexpr TKnownCaps KnownCaps[] = {
    {"text/x-raw", "UTF-8 text", true, TSubtitlePacketFormat::Text},
    {"application/x-ssa", "SSA", true, TSubtitlePacketFormat::Ssa},
    {"application/x-ass", "ASS", true, TSubtitlePacketFormat::Ssa},
    {"application/x-subtitle-vtt", "WebVTT", true, TSubtitlePacketFormat::WebVtt},
    {"subpicture/x-dvd", "DVD subpictures", false, TSubtitlePacketFormat::Text},
    {"subpicture/x-pgs", "PGS subpictures", false, TSubtitlePacketFormat::Text},
    {"subpicture/x-dvb", "DVB subpictures", false, TSubtitlePacketFormat::Text},
    {"subpicture/x-xsub", "XSUB subpictures", false, TSubtitlePacketFormat::Text},
    {"subtitle/x-kate", "Kate", false, TSubtitlePacketFormat::Text},
    {"application/x-usf", "USF", false, TSubtitlePacketFormat::Text},
    {"application/x-subtitle-unknown", "unknown subtitles", false, TSubtitlePacketFormat::Text},
};

}  // namespace

bool SubtitleTrackCapsOf(const GstCaps* caps, TSubtitleTrackCaps& track)
{
    if (!caps || gst_caps_get_size(caps) == 0)
        return false;
    const std::string_view name = gst_structure_get_name(gst_caps_get_structure(caps, 0));
    for (const TKnownCaps& known : KnownCaps) {
        if (name == known.Name) {
            track = {known.Format, known.IsText, known.Packet};
            return true;
        }
    }
    return false;
}

}  // namespace olve
