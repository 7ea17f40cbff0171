#include "titlemaker/title_sync.h"

#include <algorithm>
#include <cstdlib>

#include "align/recording_file.h"

namespace olve {

namespace {

std::vector<std::int64_t> SortedStarts(const std::vector<TSubtitleCue>& cues)
{
    std::vector<std::int64_t> starts;
    for (const TSubtitleCue& cue : cues)
        starts.push_back(cue.StartMs);
    std::sort(starts.begin(), starts.end());
    return starts;
}

std::int64_t NearestDistance(const std::vector<std::int64_t>& sorted, std::int64_t at)
{
    const auto after = std::lower_bound(sorted.begin(), sorted.end(), at);
    std::int64_t nearest = INT64_MAX;
    if (after != sorted.end())
        nearest = *after - at;
    if (after != sorted.begin())
        nearest = std::min(nearest, at - *(after - 1));
    return nearest;
}

// The middle of the distances from each translation cue's start to the nearest start of cues.
std::int64_t MedianDistance(const std::vector<TSubtitleCue>& translation, const std::vector<TSubtitleCue>& cues)
{
    const std::vector<std::int64_t> starts = SortedStarts(cues);
    std::vector<std::int64_t> distances;
    for (const TSubtitleCue& cue : translation)
        distances.push_back(NearestDistance(starts, cue.StartMs));
    if (distances.empty())
        return 0;
    auto middle = distances.begin() + static_cast<std::ptrdiff_t>(distances.size() / 2);
    std::nth_element(distances.begin(), middle, distances.end());
    return *middle;
}

}  // namespace

bool TranslationFollowsMain(const std::vector<TSubtitleCue>& translation, const std::vector<TSubtitleCue>& written,
                            const std::vector<TSubtitleCue>& synced)
{
    return MedianDistance(translation, written) <= MedianDistance(translation, synced);
}

// A recording whose sound cannot be read still makes a title: the learner can shift its
// cards by hand, which is better than no title at all.
bool SyncTitleCues(const std::string& recording, std::int64_t lengthMs, const std::optional<TSubtitleSync>& known,
                   TTitleCues& cues, TSubtitleSync& found, std::vector<std::string>& notes, std::string& error,
                   const TAlignProgress& progress, const std::atomic<bool>* cancel)
{
    found = known.value_or(TSubtitleSync());
    if (!known && !FindSubtitleSync(TRecordingFile(recording, lengthMs), cues.Main, found, error, progress, cancel)) {
        if ((cancel && *cancel) || error == TRecordingSource::StoppedReading) {
            error = TRecordingSource::StoppedReading;
            return false;
        }
        found = TSubtitleSync();
        found.Kept = error;
        found.KeptJapanese = "録音の音声を読めませんでした";
        notes.push_back("sync: " + error + "; the times are kept as written");
        error.clear();
        return true;
    }
    if (!found.Corrected)
        return true;
    const std::vector<TSubtitleCue> written = cues.Main;
    ApplySubtitleSync(found, cues.Main);
    if (cues.Translation.empty())
        return true;
    if (TranslationFollowsMain(cues.Translation, written, cues.Main))
        ApplySubtitleSync(found, cues.Translation);
    else
        notes.push_back("translation: timed apart from the subtitles, so its times are kept as written");
    return true;
}

// One line each: side by side, the two are wider than a small window.
std::string SyncNotice(const TSubtitleSync& sync)
{
    return SyncSummaryJapanese(sync) + "\n" + SyncSummary(sync);
}

}  // namespace olve
