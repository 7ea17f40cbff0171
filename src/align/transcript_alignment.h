#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "align/pcm_recording.h"
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

// Told after each stretch of the recording is aligned: how many of how many are done.
using TAlignProgress = std::function<void(std::size_t done, std::size_t total)>;

// Times each sentence and each of its words in the recording: the recording is cut at pauses
// and each stretch is aligned with the words that follow the last ones placed, so a long
// recording never needs one search over the whole text. Sentences that stay unplaced share
// the time between their placed neighbours, with a note each for the first of them and one
// note for the rest. The cost grows in step with the recording's length and the transcript's.
// False with a reason (English) when the recognizer cannot be used or places no sentence at all.
bool AlignTranscript(const TPcmRecording& recording, const std::vector<std::string>& sentences,
                     TTranscriptAlignment& alignment, std::string& error, const TAlignProgress& progress = {});

}  // namespace olve
