#pragma once
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

struct TCueText {
    std::string Text;
    std::vector<TTimedPart> Stamps;
};

// The plain text of a cue's lines (UTF-8): HTML-like tags ("<i>", "<font ...>", "<c.red>",
// "<v Anna>") and ruby readings ("<rt>", "<rt.small>", with "<rp>") removed, "{\an8}"-style
// override codes removed, character references ("&amp;", "&#233;") decoded, each line
// trimmed, and empty lines dropped; lines are joined with "\n". A tag that holds a time
// ("<00:01.50>", "<00:00:01.500>") becomes a stamp at the place it stood, and in a line with
// stamps each run of blanks becomes one space. A "<" that does not open a tag is kept as it
// is.
TCueText CueTextOfLines(const std::vector<std::string>& lines);

}  // namespace olve
