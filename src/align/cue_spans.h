#pragma once
#include <cstddef>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Where a cue is written, in the speech measure's 10 ms frames.
struct TCueSpan {
    double Begin = 0;
    double End = 0;
};

// The cues' spans in the order of their starts. A cue with no end lasts to the next one (at
// most 3 s), none longer than 20 s; cues written before 0, or so late that no offset and rate
// the sync tries could lay them over a recording of `frames`, are left out, so that a wild time
// in a file cannot make the search run long.
std::vector<TCueSpan> CueSpans(const std::vector<TSubtitleCue>& cues, std::size_t frames);

}  // namespace olve
