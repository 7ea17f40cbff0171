#pragma once
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// The sub text (UTF-8, one line) of each main cue, from the cues of a translation file
// (both prepared, so each is in time order without overlaps). Every translation cue goes
// to the main cue it overlaps most; a main cue that gets none takes the translation cue
// that overlaps it most, so a long translation cue serves each cue it spans. A cue that
// overlaps nothing gets an empty sub text.
std::vector<std::string> MatchSubTexts(const std::vector<TSubtitleCue>& cues,
                                       const std::vector<TSubtitleCue>& translation);

// The sub text of each cue from the translation it carries itself (bilingual subtitles).
std::vector<std::string> OwnSubTexts(const std::vector<TSubtitleCue>& cues);

// The lines of a text (UTF-8, "\n" between lines) as one line, since a sub text is shown
// as it is: lines are joined with a space, but two Japanese characters are joined directly.
std::string OneLine(const std::string& text);

}  // namespace olve
