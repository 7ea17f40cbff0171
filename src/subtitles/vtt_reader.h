#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads WebVTT text (UTF-8, "\n" line ends): the header, NOTE, STYLE and REGION blocks are
// skipped, cue identifiers and cue settings are ignored, tags are removed and inline times
// ("<00:00:01.500>") become word-level stamps. A line with "-->" always starts a cue, even
// without a blank line before it (right after the header or another cue's text). Times are
// read as browsers read them ("mm:ss.ttt" or "hh:mm:ss.ttt", nothing looser): a block whose
// timing line cannot be read is passed over with its text and a note. A file that does not
// begin with "WEBVTT" is read all the same, with a note.
TSubtitleFile ReadWebVtt(const std::string& text);

}  // namespace olve
