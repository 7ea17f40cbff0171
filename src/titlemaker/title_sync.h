#pragma once
#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "align/align_progress.h"
#include "align/subtitle_sync.h"
#include "subtitles/subtitle_cue.h"

namespace olve {

// The cues of a title as read, before they are laid over the recording's speech.
struct TTitleCues {
    std::vector<TSubtitleCue> Main;
    // Empty when the title has no translation.
    std::vector<TSubtitleCue> Translation;
};

// Lays the main cues over the recording's speech, and the translation's with them when it is
// timed as the main cues were written (a translation timed apart from them is kept). known: a
// sync found before for these very files, used instead of searching. A recording whose speech
// cannot be read keeps the times as written, with a note saying why. False with
// TRecordingSource::StoppedReading only when *cancel turned true.
bool SyncTitleCues(const std::string& recording, std::int64_t lengthMs, const std::optional<TSubtitleSync>& known,
                   TTitleCues& cues, TSubtitleSync& found, std::vector<std::string>& notes, std::string& error,
                   const TAlignProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

// Whether the translation's cues lie nearer the main cues as written than as synced: the
// translation was timed as the main subtitles were, and moves with them.
bool TranslationFollowsMain(const std::vector<TSubtitleCue>& translation, const std::vector<TSubtitleCue>& written,
                            const std::vector<TSubtitleCue>& synced);

// What the sync found, for the learner, in Japanese and English on a line each:
// "字幕は2.35秒遅れていました。補正しました\nsubtitles were 2.35 s late; corrected".
std::string SyncNotice(const TSubtitleSync& sync);

}  // namespace olve
