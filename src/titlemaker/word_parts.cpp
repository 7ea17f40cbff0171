#include "titlemaker/word_parts.h"

#include <algorithm>

#include "subtitles/subtitle_time.h"

namespace olve {

namespace {

bool IsBlankRange(const std::string& text, std::size_t begin, std::size_t end)
{
    for (std::size_t i = begin; i < end; ++i)
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\n')
            return false;
    return true;
}

bool InTimeOrder(const std::vector<TTimedPart>& parts)
{
    return std::is_sorted(parts.begin(), parts.end(),
                          [](const TTimedPart& a, const TTimedPart& b) { return a.StartMs < b.StartMs; });
}

}  // namespace

void NormaliseParts(TSubtitleCue& cue, const std::string& prefix, std::vector<std::string>& notes)
{
    std::vector<TTimedPart>& parts = cue.Parts;
    if (parts.empty())
        return;
    if (!InTimeOrder(parts)) {
        notes.push_back(prefix + "cue " + std::to_string(cue.Number) + " (" + SubtitleTimeText(cue.StartMs) +
                        ") has word times out of order; shown as one card");
        parts.clear();
        return;
    }
    for (TTimedPart& part : parts)
        part.StartMs = std::max(part.StartMs, cue.StartMs);
    std::erase_if(parts, [&](const TTimedPart& part) {
        return part.StartMs >= cue.EndMs || part.Offset >= cue.Text.size();
    });
    // Of stamps at one place the later one tells when that text begins.
    std::vector<TTimedPart> kept;
    for (const TTimedPart& part : parts) {
        if (!kept.empty() && kept.back().Offset == part.Offset)
            kept.back() = part;
        else
            kept.push_back(part);
    }
    // A stamp before nothing but blanks marks where the word before it ended.
    for (std::size_t i = kept.size(); i-- > 0;) {
        const std::size_t end = i + 1 < kept.size() ? kept[i + 1].Offset : cue.Text.size();
        if (IsBlankRange(cue.Text, kept[i].Offset, end))
            kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(i));
    }
    // Words before the first stamp are spoken from the cue's start; a first stamp with only
    // blanks before it is when the cue's first word is spoken, which may be after the start.
    if (kept.empty() || !IsBlankRange(cue.Text, 0, kept.front().Offset))
        kept.insert(kept.begin(), TTimedPart{cue.StartMs, 0});
    std::vector<TTimedPart> timed;
    for (const TTimedPart& part : kept)
        if (timed.empty() || timed.back().StartMs < part.StartMs)
            timed.push_back(part);
    const bool timesWords = timed.size() > 1 || (timed.size() == 1 && timed.front().StartMs > cue.StartMs);
    parts = timesWords ? std::move(timed) : std::vector<TTimedPart>();
}

}  // namespace olve
