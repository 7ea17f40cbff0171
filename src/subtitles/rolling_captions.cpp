#include "subtitles/rolling_captions.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "subtitles/subtitle_lines.h"

namespace olve {

namespace {

// A scrolling repeat is shown for a frame or two; a spoken line lasts far longer.
constexpr std::int64_t BriefMs = 50;
// Rolling captions show two or three lines at once; more are never compared, so a cue of
// many lines costs no more than a short one.
constexpr std::size_t MostRolledLines = 4;

// How many of a cue's first lines repeat the last lines of the cue before it.
std::size_t RepeatedLines(const std::vector<std::string>& lines, const std::vector<std::string>& before)
{
    for (std::size_t k = std::min({lines.size(), before.size(), MostRolledLines}); k > 0; --k)
        if (std::equal(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(k),
                       before.end() - static_cast<std::ptrdiff_t>(k)))
            return k;
    return 0;
}

// The cue from its line `first` on; word times before that line are the line before's.
TSubtitleCue FromLine(const TSubtitleCue& cue, const std::vector<std::string>& lines, std::size_t first)
{
    std::size_t offset = 0;
    for (std::size_t k = 0; k < first; ++k)
        offset += lines[k].size() + 1;
    TSubtitleCue spoken = cue;
    spoken.Text = cue.Text.substr(offset);
    spoken.Parts.clear();
    for (const TTimedPart& part : cue.Parts)
        if (part.Offset >= offset)
            spoken.Parts.push_back({part.StartMs, part.Offset - offset});
    return spoken;
}

bool IsBrief(const TSubtitleCue& cue)
{
    return cue.EndMs != TSubtitleCue::OpenEnd && cue.EndMs - cue.StartMs <= BriefMs;
}

}  // namespace

bool IsRollingCaptions(const std::vector<TSubtitleCue>& cues)
{
    const bool timed =
        std::any_of(cues.begin(), cues.end(), [](const TSubtitleCue& cue) { return !cue.Parts.empty(); });
    for (std::size_t i = 1; timed && i < cues.size(); ++i) {
        const std::vector<std::string> lines = SplitLines(cues[i].Text);
        if (IsBrief(cues[i]) && !lines.empty() && RepeatedLines(lines, SplitLines(cues[i - 1].Text)) == lines.size())
            return true;
    }
    return false;
}

std::vector<TSubtitleCue> SpokenLines(const std::vector<TSubtitleCue>& cues)
{
    std::vector<TSubtitleCue> spoken;
    std::vector<std::string> before;
    for (const TSubtitleCue& cue : cues) {
        std::vector<std::string> lines = SplitLines(cue.Text);
        const std::size_t repeated = RepeatedLines(lines, before);
        if (repeated < lines.size()) {
            spoken.push_back(FromLine(cue, lines, repeated));
        } else if (!spoken.empty() && cue.StartMs <= spoken.back().EndMs) {
            spoken.back().EndMs = std::max(spoken.back().EndMs, cue.EndMs);
        }
        before = std::move(lines);
    }
    return spoken;
}

}  // namespace olve
