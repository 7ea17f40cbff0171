#pragma once
#include <string>

#include "subtitles/subtitle_cue.h"

namespace olve {

// Reads WebVTT text (UTF-8, "\n" line ends): the header, NOTE, STYLE and REGION blocks are
// skipped, cue identifiers and cue settings are ignored, tags are removed and inline times
// ("<00:00:01.500>") become word-level stamps. A file that does not begin with "WEBVTT" is
// read all the same, with a note.
TSubtitleFile ReadWebVtt(const std::string& text);

}  // namespace olve
