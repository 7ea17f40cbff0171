#pragma once
#include <atomic>
#include <cstddef>
#include <string>
#include <vector>

#include "align/align_progress.h"
#include "align/recording_source.h"
#include "subtitles/subtitle_cue.h"

namespace olve {

// One cue per sentence of a transcript, numbered from 1, with a part for each written word.
struct TTranscriptAlignment {
    std::vector<TSubtitleCue> Cues;
    // Sentences that the recognizer could not place, with the times they were given (English).
    std::vector<std::string> Notes;
    // The sentences (from 0) that were not heard and were timed between their neighbours.
    std::vector<std::size_t> Unplaced;
};

// Times each sentence and each of its words in the recording: the recording is cut at pauses
// and each stretch is aligned with the words that follow the last ones placed, so a long
// recording never needs one search over the whole text. The recording is read twice, once for
// its levels and once for the stretches, and only the levels and the stretch being aligned are
// held, so a recording of many hours takes little memory. Sentences that stay unplaced share
// the time between their placed neighbours, with a note each for the first of them and one
// note for the rest. The cost grows in step with the recording's length and the transcript's.
// False with a reason (English) when the recognizer cannot be used or places no sentence at all.
// Setting *cancel stops the alignment soon after, with the reason Cancelled.
bool AlignTranscript(const TRecordingSource& recording, const std::vector<std::string>& sentences,
                     TTranscriptAlignment& alignment, std::string& error, const TAlignProgress& progress = {},
                     const std::atomic<bool>* cancel = nullptr);

inline constexpr const char* AlignmentCancelled = "the alignment was cancelled";

}  // namespace olve
