#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"
#include "title/play_package.h"

namespace olve {

// A time in the one recording of a subtitle title as a packed position (media 1).
std::uint32_t PackedPositionOf(std::int64_t ms);

// A cue's text as a card's main text (code page 932, "||" between lines); false when some
// characters could not be kept and became "?".
bool CardMainText(const std::string& text, std::string& mainText);

// The byte range (code page 932, of the main text) of the words of the part from byte
// offset begin to end of a cue's UTF-8 text, blanks at both ends left out.
void PartRange(const std::string& text, std::size_t begin, std::size_t end, std::int32_t& start,
               std::int32_t& length);

// Adds the main cards of prepared cues: one card per cue. A cue whose words are timed gives
// its card the words' times in the "WTM" tag of its data text (offsets in the stored main
// text, times from the card's start). subTexts (UTF-8) and pictures (stored names, code page
// 932) run parallel to cues and may be empty. A text that code page 932 cannot hold as it
// is written is kept exactly in the "UTX" tag as well (see TShownText); sub texts that lose
// characters are noted.
void AddMainCards(TPlayPackage& package, const std::vector<TSubtitleCue>& cues, const std::vector<std::string>& subTexts,
                  const std::vector<std::string>& pictures, std::vector<std::string>& notes);

// The first VCD card: the whole recording, named after the title (code page 932).
void AddWholeRecordingCard(TPlayPackage& package, const std::string& titleName, std::int64_t lengthMs);

}  // namespace olve
