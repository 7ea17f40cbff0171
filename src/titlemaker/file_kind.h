#pragma once
#include <string>

namespace olve {

// What a file given to the player is, by its extension in any letter case: the one place
// that decides it for drops, the command line, hand-overs and the title maker.
enum class TFileKind {
    Package,     // ".qzw"
    Recording,   // audio or video
    Subtitles,   // ".srt", ".vtt", ".lrc"
    Transcript,  // ".txt": plain text to align with a recording
    Other,
};

TFileKind FileKindOf(const std::string& path);

// The language a code names, as subtitle file names ("talk.ja.srt") and recordings' text
// tracks give it, in any letter case and with a region after "-" or "_" ("ja-JP"). "jp" is
// taken for Japanese as well: names in the wild use it, and no language has it as its code,
// so it can mean nothing else. An empty code is Unknown: whether unnamed subtitles are
// English is the caller's rule.
enum class TNamedLanguage { Unknown, English, Japanese, Other };

TNamedLanguage NamedLanguageOf(const std::string& code);

}  // namespace olve
