#include "align/cue_spans.h"

#include <algorithm>

#include "align/placement_sweep.h"

namespace olve {

namespace {

constexpr double FrameMs = 10;
// A cue with no end lasts to the next (at most this long); no cue counts as longer than 20 s.
constexpr std::int64_t OpenCueFrames = 300;
constexpr std::int64_t LongestCueFrames = 2000;

}  // namespace

std::vector<TCueSpan> CueSpans(const std::vector<TSubtitleCue>& cues, std::size_t frames)
{
    const double reach = (double(frames) + double(PlacementSearchFrames)) / SmallestPlacementRate;
    std::vector<TCueSpan> spans;
    for (std::size_t k = 0; k < cues.size(); ++k) {
        const double begin = double(cues[k].StartMs) / FrameMs;
        double end = double(cues[k].EndMs) / FrameMs;
        if (cues[k].EndMs == TSubtitleCue::OpenEnd)
            end = k + 1 < cues.size() && cues[k + 1].StartMs > cues[k].StartMs
                      ? std::min(double(cues[k + 1].StartMs) / FrameMs, begin + OpenCueFrames)
                      : begin + OpenCueFrames;
        end = std::min(end, begin + LongestCueFrames);
        if (cues[k].StartMs >= 0 && end > begin && begin <= reach)
            spans.push_back({begin, end});
    }
    std::sort(spans.begin(), spans.end(), [](const TCueSpan& a, const TCueSpan& b) { return a.Begin < b.Begin; });
    return spans;
}

}  // namespace olve
