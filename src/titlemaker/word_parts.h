#pragma once
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Tidies a cue's word stamps into the times of its words: stamps out of time order drop them
// all (with a note); stamps before the cue's start count from its start; stamps at or after
// its end, stamps at the end of the text, and stamps followed only by blanks before the next
// stamp are dropped; of two stamps at one place the later wins, and of two at one time the
// first. Text before the first stamp becomes a part at the cue's start and offset 0 unless it
// is blank; then the first stamp keeps its own time. One part alone at the cue's start is no
// word timing: Parts is then emptied.
void NormaliseParts(TSubtitleCue& cue, const std::string& prefix, std::vector<std::string>& notes);

}  // namespace olve
