#pragma once
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Tidies a cue's word stamps into parts that each become a card: stamps out of time order
// drop them all (with a note); stamps before the cue's start count from its start; stamps at
// or after its end, stamps at the end of the text, and stamps followed only by blanks before
// the next stamp are dropped; of two stamps at one place the later wins, and of two at one
// time the first. The first part starts at the cue's start and offset 0. One part alone is
// no word timing: Parts is then emptied.
void NormaliseParts(TSubtitleCue& cue, const std::string& prefix, std::vector<std::string>& notes);

}  // namespace olve
