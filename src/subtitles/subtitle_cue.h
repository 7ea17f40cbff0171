#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// A word-level stamp: the text of the cue from Offset on is spoken from StartMs.
struct TTimedPart {
    std::int64_t StartMs = 0;
    // Byte offset into the cue's Text, on a character boundary.
    std::size_t Offset = 0;

    bool operator==(const TTimedPart&) const = default;
};

// One cue of a subtitle file. Text is UTF-8 with "\n" between lines and markup removed.
struct TSubtitleCue {
    // The cue's place in the file, counting from 1 (the number pictures are named after).
    int Number = 0;
    std::int64_t StartMs = 0;
    // OpenEnd: the cue lasts until the next one starts, or to the end of the recording.
    std::int64_t EndMs = OpenEnd;
    std::string Text;
    // Word-level stamps in the order of the text; empty when the file has none.
    std::vector<TTimedPart> Parts;
    // The cue's Japanese rendering where the file carries one in the cue itself (UTF-8, "\n"
    // between lines); usually empty.
    std::string Translation;

    static constexpr std::int64_t OpenEnd = -1;
};

struct TSubtitleFile {
    std::vector<TSubtitleCue> Cues;
    // The title the file names for itself (LRC "ti"), UTF-8; usually empty.
    std::string Title;
    // What was passed over or guessed, in English, one line each, for the user.
    std::vector<std::string> Notes;
};

}  // namespace olve
