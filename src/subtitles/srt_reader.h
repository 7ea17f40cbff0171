#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads SubRip text (UTF-8, "\n" line ends). Cue numbers may be missing; times may lack
// the fraction or use "." instead of ","; text after the end time (coordinates) is ignored;
// a cue ends at a blank line or where the next cue's timing line (with or without its
// number) begins. Cues with unreadable times and text outside any cue are passed over with
// a note.
TSubtitleFile ReadSubRip(const std::string& text);

}  // namespace olve
