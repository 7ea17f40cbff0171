#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads SubRip text (UTF-8, "\n" line ends). Cue numbers may be missing; times may lack
// the fraction or use "." instead of ","; text after the end time (coordinates) is ignored;
// "->" for "-->" is read with a note; a cue ends where the next cue's timing line (with or
// without its number) begins, or at a blank line that is not followed by a block without
// number and timing line: such a block belongs to the cue, and when one part is Japanese and
// the other not, the Japanese part is the cue's Translation. Cues with unreadable times and
// text outside any cue are passed over with a note.
TSubtitleFile ReadSubRip(const std::string& text);

}  // namespace olve
