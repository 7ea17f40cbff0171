#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads LRC lyrics (UTF-8, "\n" line ends): "[mm:ss.xx]text" lines, several time tags on one
// line giving one cue each, "<mm:ss.xx>" word stamps inside the text, and the tags "ti"
// (the title) and "offset" (milliseconds by which every time comes earlier). A line lasts
// until the next line starts; a line without text only ends the one before it; a word stamp
// at the very end of a line ends that line. The last line's end is open. Cues are numbered
// in time order.
TSubtitleFile ReadLrc(const std::string& text);

}  // namespace olve
