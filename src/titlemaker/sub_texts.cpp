#include "titlemaker/sub_texts.h"

#include <algorithm>
#include <cstdint>

namespace olve {

namespace {

std::int64_t Overlap(const TSubtitleCue& a, const TSubtitleCue& b)
{
    return std::min(a.EndMs, b.EndMs) - std::max(a.StartMs, b.StartMs);
}

// The index of the cue of list that overlaps cue most, or -1.
int MostOverlapping(const TSubtitleCue& cue, const std::vector<TSubtitleCue>& list)
{
    int best = -1;
    std::int64_t most = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::int64_t overlap = Overlap(cue, list[i]);
        if (overlap > most) {
            most = overlap;
            best = static_cast<int>(i);
        }
    }
    return best;
}

void JoinInto(std::string& line, const std::string& more)
{
    if (more.empty())
        return;
    const bool wide = !line.empty() && static_cast<std::uint8_t>(line.back()) >= 0x80 &&
                      static_cast<std::uint8_t>(more.front()) >= 0x80;
    if (!line.empty() && !wide)
        line += ' ';
    line += more;
}

}  // namespace

std::string OneLine(const std::string& text)
{
    std::string line;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        JoinInto(line, text.substr(start, end - start));
        start = end + 1;
    }
    return line;
}

std::vector<std::string> MatchSubTexts(const std::vector<TSubtitleCue>& cues,
                                       const std::vector<TSubtitleCue>& translation)
{
    std::vector<std::vector<int>> given(cues.size());
    for (std::size_t t = 0; t < translation.size(); ++t) {
        const int cue = MostOverlapping(translation[t], cues);
        if (cue >= 0)
            given[static_cast<std::size_t>(cue)].push_back(static_cast<int>(t));
    }
    std::vector<std::string> texts(cues.size());
    for (std::size_t c = 0; c < cues.size(); ++c) {
        if (given[c].empty()) {
            const int t = MostOverlapping(cues[c], translation);
            if (t >= 0)
                given[c].push_back(t);
        }
        for (int t : given[c])
            JoinInto(texts[c], OneLine(translation[static_cast<std::size_t>(t)].Text));
    }
    return texts;
}

std::vector<std::string> OwnSubTexts(const std::vector<TSubtitleCue>& cues)
{
    std::vector<std::string> texts;
    for (const TSubtitleCue& cue : cues)
        texts.push_back(OneLine(cue.Translation));
    return texts;
}

}  // namespace olve
