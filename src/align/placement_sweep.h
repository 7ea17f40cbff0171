#pragma once
#include <atomic>
#include <cstdint>
#include <limits>
#include <vector>

#include "align/cue_spans.h"

namespace olve {

// Cues written at frame t laid at t * Rate + Offset (frames), and how well they lie there.
struct TPlacement {
    double Rate = 1;
    std::int64_t Offset = 0;
    double Score = -std::numeric_limits<double>::infinity();
};

// Offsets are tried this far either way (300 s); the rates tried are 1 and the frame-rate pairs
// of 25, 24 and 23.976 fps either way, the smallest this.
constexpr std::int64_t PlacementSearchFrames = 30000;
constexpr double SmallestPlacementRate = 23.976 / 25;

// The rate and offset at which the cues lie over the most speech and the least quiet (presence:
// one value from 0 to 1 per frame), against a recording whose frames were each as likely speech
// as its average, swept at 50 ms and then to the frame; and `runnerUp`, the best score of the
// placements that lay the cues' middle 2 s or more away, to tell how clearly the speech picks
// `best`. False when *cancel turned true.
bool SweepPlacements(const std::vector<float>& presence, const std::vector<TCueSpan>& spans,
                     const std::atomic<bool>* cancel, TPlacement& best, double& runnerUp);

}  // namespace olve
