#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// True when most letters of a text (UTF-8) are kana or kanji.
bool IsMostlyJapanese(std::string_view text);

// Sets a cue's Text, Parts and Translation from its blocks of lines (markup as
// CueTextOfLines reads it). Bilingual files give a cue a block in each language: when some
// blocks are mostly Japanese and others are not, the Japanese ones become the translation;
// otherwise every block is the text.
void SetCueTexts(TSubtitleCue& cue, const std::vector<std::vector<std::string>>& blocks);

}  // namespace olve
