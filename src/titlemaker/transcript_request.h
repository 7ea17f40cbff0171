#pragma once
#include <string>
#include <vector>

#include "align/transcript_alignment.h"
#include "titlemaker/subtitle_title.h"

namespace olve {

// Turns a request whose SubtitlePath is a plain transcript into one the title maker takes:
// the transcript is cut into cards and paired with the translation (TranslationPath, when
// given) as TranscriptCards says, the cards are aligned with the recording (MediaPath) and
// become the cues (Subtitles) with their words timed, each carrying its own translation, and
// TranslationPath is then cleared. Notes (English) say what was guessed and which cards have
// no translation; false with the reason when nothing can be aligned, or when the transcript or
// the translation is not text or too large to be one (see ReadTranscriptFile). Progress, when
// given, is told how much of the recording is aligned; setting *cancel stops the alignment
// (AlignmentCancelled).
bool AlignTranscriptRequest(TSubtitleTitleRequest& request, std::vector<std::string>& notes, std::string& error,
                            const TAlignProgress& progress = {}, const std::atomic<bool>* cancel = nullptr);

}  // namespace olve
