#pragma once
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// SubRip text ("\n" line ends) that ReadSubRip reads back to the same times and texts. Cues
// are numbered from 1 in the order given. "&", "<" and "{\" are written as character
// references, so that text which looks like markup stays text. An open end is written as the
// next later start, or, for the last cues, as a time past any recording (the title maker cuts
// it to the recording's end).
std::string SubRipText(const std::vector<TSubtitleCue>& cues);

}  // namespace olve
