#include "titlemaker/cue_timing.h"

#include <algorithm>

#include "subtitles/subtitle_time.h"
#include "titlemaker/word_parts.h"

namespace olve {

namespace {

bool IsBlankText(const std::string& text)
{
    return text.find_first_not_of(" \t\n") == std::string::npos;
}

std::string CueName(const std::string& prefix, const TSubtitleCue& cue)
{
    return prefix + "cue " + std::to_string(cue.Number) + " (" + SubtitleTimeText(cue.StartMs) + ")";
}

class TCuePreparer {
public:
    TCuePreparer(std::int64_t lengthMs, const std::string& prefix, std::vector<std::string>& notes)
        : FLengthMs(lengthMs), FPrefix(prefix), FNotes(notes)
    {
    }

    std::vector<TSubtitleCue> Prepare(std::vector<TSubtitleCue> cues)
    {
        DropUnplayable(cues);
        SortByStart(cues);
        CloseEnds(cues);
        std::vector<TSubtitleCue> result;
        for (TSubtitleCue& cue : cues)
            Append(result, std::move(cue));
        for (TSubtitleCue& cue : result)
            NormaliseParts(cue, FPrefix, FNotes);
        return result;
    }

private:
    void Note(const TSubtitleCue& cue, const std::string& text) { FNotes.push_back(CueName(FPrefix, cue) + text); }

    void DropUnplayable(std::vector<TSubtitleCue>& cues)
    {
        std::erase_if(cues, [this](const TSubtitleCue& cue) {
            if (IsBlankText(cue.Text)) {
                Note(cue, " has no text; passed over");
                return true;
            }
            if (cue.EndMs != TSubtitleCue::OpenEnd && cue.EndMs <= cue.StartMs) {
                Note(cue, " ends at " + SubtitleTimeText(cue.EndMs) + ", not after it starts; passed over");
                return true;
            }
            if (cue.StartMs >= FLengthMs) {
                Note(cue, " starts after the recording ends (" + SubtitleTimeText(FLengthMs) + "); passed over");
                return true;
            }
            return false;
        });
    }

    void SortByStart(std::vector<TSubtitleCue>& cues)
    {
        auto earlier = [](const TSubtitleCue& a, const TSubtitleCue& b) { return a.StartMs < b.StartMs; };
        if (std::is_sorted(cues.begin(), cues.end(), earlier))
            return;
        FNotes.push_back(FPrefix + "the cues are not in time order; put in order of their start times");
        std::stable_sort(cues.begin(), cues.end(), earlier);
    }

    void CloseEnds(std::vector<TSubtitleCue>& cues)
    {
        for (std::size_t i = 0; i < cues.size(); ++i) {
            TSubtitleCue& cue = cues[i];
            if (cue.EndMs == TSubtitleCue::OpenEnd) {
                cue.EndMs = FLengthMs;
                for (std::size_t k = i + 1; k < cues.size() && cue.EndMs == FLengthMs; ++k)
                    if (cues[k].StartMs > cue.StartMs)
                        cue.EndMs = cues[k].StartMs;
            } else if (cue.EndMs > FLengthMs) {
                Note(cue, " ends at " + SubtitleTimeText(cue.EndMs) + ", after the recording; cut to its end");
                cue.EndMs = FLengthMs;
            }
        }
    }

    void Append(std::vector<TSubtitleCue>& result, TSubtitleCue cue)
    {
        if (!result.empty() && result.back().StartMs == cue.StartMs) {
            TSubtitleCue& last = result.back();
            Note(last, " and cue " + std::to_string(cue.Number) + " start together; made into one card");
            last.Text += "\n" + cue.Text;
            if (!cue.Translation.empty())
                last.Translation += (last.Translation.empty() ? "" : "\n") + cue.Translation;
            last.EndMs = std::max(last.EndMs, cue.EndMs);
            last.Parts.clear();
            return;
        }
        if (!result.empty() && result.back().EndMs > cue.StartMs) {
            TSubtitleCue& last = result.back();
            Note(last, " overlaps cue " + std::to_string(cue.Number) + "; it now ends at " +
                           SubtitleTimeText(cue.StartMs));
            last.EndMs = cue.StartMs;
        }
        result.push_back(std::move(cue));
    }

    std::int64_t FLengthMs;
    const std::string& FPrefix;
    std::vector<std::string>& FNotes;
};

}  // namespace

std::int64_t TitleLengthMs(std::int64_t mediaLengthMs, std::vector<std::string>& notes)
{
    if (mediaLengthMs <= MaxTitleMs)
        return mediaLengthMs;
    notes.push_back("the recording is longer than a title can reach (" + SubtitleTimeText(MaxTitleMs) +
                    "); cues after that are passed over");
    return MaxTitleMs;
}

std::vector<TSubtitleCue> PrepareCues(std::vector<TSubtitleCue> cues, std::int64_t lengthMs, const std::string& prefix,
                                      std::vector<std::string>& notes)
{
    return TCuePreparer(lengthMs, prefix, notes).Prepare(std::move(cues));
}

}  // namespace olve
