#pragma once
#include <string>

#include "subtitles/cue_markup.h"

namespace olve {

// How the text of one cue is packed in a track embedded in a recording.
enum class TSubtitlePacketFormat {
    // Plain UTF-8 text, or text with HTML-like or Pango markup (SubRip-style tracks, MP4
    // timed text).
    Text,
    // An SSA/ASS event: "ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text", or a
    // whole "Dialogue:" line.
    Ssa,
    // A WebVTT cue payload, with or without the "WEBVTT" header and its timing line.
    WebVtt,
};

// The plain text of one packet, as CueTextOfLines gives it.
TCueText SubtitlePacketText(const std::string& packet, TSubtitlePacketFormat format);

}  // namespace olve
