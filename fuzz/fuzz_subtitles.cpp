// The subtitle readers, as a title is made from their cues: a file read under the format
// the first byte picks (its encoding guessed as for any file), the cues prepared for a
// recording, matched as each other's translation, and turned into a title's main cards.
//
// First byte: bits 0-1 the extension (".srt", ".vtt", ".lrc", or ".txt" to guess the
// format from the text); bits 2-7 the recording's length in minutes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "subtitles/subtitle_file.h"
#include "titlemaker/cue_timing.h"
#include "titlemaker/sub_texts.h"
#include "titlemaker/title_cards.h"

using namespace olve;

namespace {

void CheckRead(const TSubtitleFile& file)
{
    for (const TSubtitleCue& cue : file.Cues)
        for (const TTimedPart& part : cue.Parts)
            OLVE_FUZZ_CHECK(part.Offset <= cue.Text.size());
}

// Prepared cues are what the cards are made from: in order, each inside the recording, and
// none overlapping the next.
void CheckPrepared(const std::vector<TSubtitleCue>& cues, std::int64_t lengthMs)
{
    for (std::size_t i = 0; i < cues.size(); ++i) {
        const TSubtitleCue& cue = cues[i];
        OLVE_FUZZ_CHECK(cue.StartMs >= 0 && cue.StartMs < cue.EndMs && cue.EndMs <= lengthMs);
        OLVE_FUZZ_CHECK(i + 1 == cues.size() || cue.EndMs <= cues[i + 1].StartMs);
        for (std::size_t p = 0; p < cue.Parts.size(); ++p) {
            OLVE_FUZZ_CHECK(cue.Parts[p].Offset < cue.Text.size());
            OLVE_FUZZ_CHECK(cue.Parts[p].StartMs >= cue.StartMs && cue.Parts[p].StartMs < cue.EndMs);
            OLVE_FUZZ_CHECK(p == 0 || cue.Parts[p - 1].Offset < cue.Parts[p].Offset);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    constexpr const char* extensions[] = {".srt", ".vtt", ".lrc", ".txt"};
    const std::string path = (fuzz::Scratch() / (std::string("cues") + extensions[data[0] & 3])).string();
    const std::int64_t minutes = data[0] >> 2;
    fuzz::WriteBytes(path, data + 1, size - 1);

    TSubtitleFile file;
    std::string error;
    if (!ReadSubtitleFile(path, file, error))
        return 0;
    CheckRead(file);

    std::vector<std::string> notes;
    const std::int64_t lengthMs = TitleLengthMs(minutes * 60000 + 1, notes);
    const std::vector<TSubtitleCue> cues = PrepareCues(file.Cues, lengthMs, "", notes);
    CheckPrepared(cues, lengthMs);
    const std::vector<std::string> subTexts = MatchSubTexts(cues, cues);
    OLVE_FUZZ_CHECK(subTexts.size() == cues.size());

    TPlayPackage title;
    AddMainCards(title, cues, subTexts, {}, notes);
    for (int i = 0; i < title.MainCards.Count(); ++i)
        title.MainCards.ShowText(i);
    return 0;
}
