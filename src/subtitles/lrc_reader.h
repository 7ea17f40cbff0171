#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads LRC lyrics (UTF-8, "\n" line ends): "[mm:ss.xx]text" lines, several time tags on one
// line giving one cue each, "<mm:ss.xx>" word stamps inside the text, and the tags "ti"
// (the title) and "offset" (milliseconds by which every time comes earlier). Times may have
// blanks inside their brackets ("[ 2:00]"). A line lasts until the next line starts; a line
// without text only ends the one before it; a word stamp at the very end of a line ends that
// line. A time after text ("[00:01]one [00:03] two", "[00:01]one[00:02]") ends the text
// before it, and the text after it is a line of its own from then; text before a line's first
// time is passed over with a note. The last line's end is open. Cues are numbered in time
// order.
TSubtitleFile ReadLrc(const std::string& text);

}  // namespace olve
