#pragma once
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Captions that video sites make automatically roll up line by line: a cue shows the line
// before it again above its new line, whose words carry their times, and a cue of a few
// milliseconds repeats the lines without their times while they scroll. True when cues
// show that shape: some cue times its words, and some brief cue only repeats lines of the
// cue before it.
bool IsRollingCaptions(const std::vector<TSubtitleCue>& cues);

// The spoken lines of rolling captions: a cue keeps only the lines that the cue before it
// did not end with, and their word times; a cue left with nothing (a repeat) is dropped, and
// the cue it repeats lasts until the repeat ends.
std::vector<TSubtitleCue> SpokenLines(const std::vector<TSubtitleCue>& cues);

}  // namespace olve
