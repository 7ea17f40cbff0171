#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Cues further apart than this are not one sentence, whatever their words say.
inline constexpr std::int64_t LongestSentencePauseMs = 1500;
// A sentence longer than this is too long for a card: it stays as its cues.
inline constexpr std::int64_t LongestSentenceCardMs = 20000;

// Whether text (a cue's UTF-8 text) leaves its sentence open so that next goes on with it:
// it does not end with ".", "!", "?" or "…" (closing quotes and brackets after them count
// with them), or it ends with a title or abbreviation such as "Mr." or "e.g.", or it ends
// with "..." or "…" and next goes on in small letters. A next cue that starts a line of
// dialogue ("- ") never goes on with the one before.
bool ContinuesSentence(const std::string& text, const std::string& next);

// Prepared cues (in time order, without overlaps) joined so that each holds one sentence: a
// cue that leaves its sentence open and the one that follows it within LongestSentencePauseMs
// become one cue, from the first's start to the last's end, numbered as the first (so it
// takes the first's picture); texts are joined with a space, line breaks inside them becoming
// spaces except before a line of dialogue; word stamps keep their times and move with their
// words (a cue without stamps joined to one with them is stamped at its start); the cues'
// own translations are joined into one line. A sentence that would last longer than
// LongestSentenceCardMs stays as its cues. A cue holding two sentences is never divided.
std::vector<TSubtitleCue> JoinSentences(const std::vector<TSubtitleCue>& cues);

// True when JoinSentences would join some of the cues.
bool CuesSplitSentences(const std::vector<TSubtitleCue>& cues);

// Whether the subtitle file's cues split sentences, as they would be made into cards; false
// when the file cannot be read (making the title then tells why) or is larger than any
// subtitles are (LargestLookedSubtitles), since the answer is wanted at once.
inline constexpr std::uintmax_t LargestLookedSubtitles = 16 * 1024 * 1024;
bool SubtitleFileSplitsSentences(const std::string& path);

}  // namespace olve
