#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Card lines keep minutes in one byte, so a title reaches at most this far into a recording.
inline constexpr std::int64_t MaxTitleMs = 256LL * 60 * 1000 - 1;

// The length of the recording that a title can use; a longer one gets a note.
std::int64_t TitleLengthMs(std::int64_t mediaLengthMs, std::vector<std::string>& notes);

// Makes subtitle cues playable as cards over a recording of lengthMs, noting each change:
// cues without text or whose end is not after their start are passed over; cues are put in
// time order; cues that start after the recording are passed over, and ends beyond it are
// cut to it; open ends run to the next cue or to the end; a cue that overlaps the next one
// ends where that one starts, and cues that start together become one. Word stamps are
// tidied by NormaliseParts. Notes are English, for the command line; prefix names the file.
std::vector<TSubtitleCue> PrepareCues(std::vector<TSubtitleCue> cues, std::int64_t lengthMs, const std::string& prefix,
                                      std::vector<std::string>& notes);

}  // namespace olve
