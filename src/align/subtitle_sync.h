#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "align/align_progress.h"
#include "align/recording_source.h"
#include "subtitles/subtitle_cue.h"

namespace olve {

// How a subtitle file's times lie against its recording's speech: a cue written at t (ms) is
// spoken at t * Rate + OffsetMs. Subtitles timed 2.35 s late have OffsetMs -2350; subtitles
// made for a 25 fps release of a 23.976 fps film have Rate 25 / 23.976.
struct TSubtitleSync {
    double OffsetMs = 0;
    double Rate = 1;
    // False when the cues are kept as written: they already lie over the speech (within
    // 30 ms everywhere), or the speech does not tell where they belong.
    bool Corrected = false;
    // Why they were kept, when they were not corrected and the speech did not tell (English).
    std::string Kept;
    // The same reason in Japanese.
    std::string KeptJapanese;

    // The time a cue written at `writtenMs` is spoken at, never before 0.
    std::int64_t Map(std::int64_t writtenMs) const;
};

// What was found, for the user, one line in English: "subtitles were 2.35 s late; corrected",
// "subtitles were 1.20 s early and ran 4.3% fast; corrected", "subtitles already match the
// speech", or why nothing was changed.
std::string SyncSummary(const TSubtitleSync& sync);
// The same in Japanese.
std::string SyncSummaryJapanese(const TSubtitleSync& sync);

// Finds the speech of the recording (read once, as it streams) and the offset and rate that
// best lay the cues over it. False with a reason (English) when the recording cannot be read,
// and with TRecordingSource::StoppedReading soon after *cancel turned true. Progress is told
// in thousandths (TAlignProgressShare::Whole).
bool FindSubtitleSync(const TRecordingSource& recording, const std::vector<TSubtitleCue>& cues,
                      TSubtitleSync& found, std::string& error, const TAlignProgress& progress = {},
                      const std::atomic<bool>* cancel = nullptr);

// The same from speech already measured: the levels of the recording's 10 ms frames
// (TSpeechActivity). False only when *cancel turned true.
bool FitSubtitleSync(const std::vector<float>& frameLevels, const std::vector<TSubtitleCue>& cues,
                     TSubtitleSync& found, const std::atomic<bool>* cancel = nullptr);

// Moves every cue's start, end and word times as the sync says; nothing when not Corrected.
void ApplySubtitleSync(const TSubtitleSync& sync, std::vector<TSubtitleCue>& cues);

}  // namespace olve
