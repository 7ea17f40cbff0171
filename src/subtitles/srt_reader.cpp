#include "subtitles/srt_reader.h"

#include <string>
#include <vector>

#include "subtitles/bilingual_text.h"
#include "subtitles/subtitle_lines.h"

namespace olve {

namespace {

bool IsCueNumber(std::string_view line)
{
    line = TrimBlanks(line);
    if (line.empty())
        return false;
    for (char c : line)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The timing line of a cue, also when "-->" is mistyped as "->" (shortArrow is then set),
// which is taken only when both times can be read.
TTimingLine ReadSubRipTiming(std::string_view line, std::int64_t& startMs, std::int64_t& endMs, bool& shortArrow)
{
    shortArrow = false;
    const TTimingLine timing = ReadTimingLine(line, startMs, endMs);
    const std::size_t arrow = line.find("->");
    if (timing != TTimingLine::None || arrow == std::string_view::npos)
        return timing;
    std::string mended(line);
    mended.insert(arrow, "-");
    if (ReadTimingLine(mended, startMs, endMs) != TTimingLine::Good)
        return TTimingLine::None;
    shortArrow = true;
    return TTimingLine::Good;
}

class TSubRipReader {
public:
    explicit TSubRipReader(const std::string& text) : FLines(SplitLines(text)) {}

    TSubtitleFile Read()
    {
        while (FPos < FLines.size()) {
            if (IsBlankLine(FLines[FPos]))
                ++FPos;
            else if (TimingAt(FPos) != TTimingLine::None)
                ReadCue();
            else if (IsCueNumber(FLines[FPos]) && TimingAt(FPos + 1) != TTimingLine::None)
                ++FPos;
            else
                SkipStrayText();
        }
        return std::move(FFile);
    }

private:
    TTimingLine TimingAt(std::size_t i) const
    {
        std::int64_t start = 0, end = 0;
        bool shortArrow = false;
        return i < FLines.size() ? ReadSubRipTiming(FLines[i], start, end, shortArrow) : TTimingLine::None;
    }

    // A line that belongs to the text of the cue being read.
    bool IsTextLine(std::size_t i) const
    {
        return i < FLines.size() && !IsBlankLine(FLines[i]) && TimingAt(i) == TTimingLine::None &&
               !(IsCueNumber(FLines[i]) && TimingAt(i + 1) != TTimingLine::None);
    }

    void ReadCue()
    {
        TSubtitleCue cue;
        cue.Number = static_cast<int>(++FNumber);
        const std::size_t timing = FPos;
        bool shortArrow = false;
        const bool good = ReadSubRipTiming(FLines[FPos++], cue.StartMs, cue.EndMs, shortArrow) == TTimingLine::Good;
        const std::vector<std::vector<std::string>> blocks = CueBlocks();
        if (!good) {
            FFile.Notes.push_back(LinePrefix(timing) + "cue " + std::to_string(cue.Number) +
                                  " has times that cannot be read; passed over");
            return;
        }
        if (shortArrow)
            FFile.Notes.push_back(LinePrefix(timing) + "\"->\" read as \"-->\"");
        SetCueTexts(cue, blocks);
        FFile.Cues.push_back(std::move(cue));
    }

    // The cue's text lines, and each block after it that has neither a number nor a timing
    // line: such a block belongs to the cue (bilingual files put a blank line between the
    // languages).
    std::vector<std::vector<std::string>> CueBlocks()
    {
        std::vector<std::vector<std::string>> blocks(1);
        for (;;) {
            while (IsTextLine(FPos))
                blocks.back().push_back(FLines[FPos++]);
            std::size_t next = FPos;
            while (next < FLines.size() && IsBlankLine(FLines[next]))
                ++next;
            if (next == FPos || !IsTextLine(next) || IsCueNumber(FLines[next]))
                return blocks;
            FPos = next;
            blocks.emplace_back();
        }
    }

    void SkipStrayText()
    {
        FFile.Notes.push_back(LinePrefix(FPos) + "text outside any cue; passed over");
        while (FPos < FLines.size() && !IsBlankLine(FLines[FPos]) && TimingAt(FPos) == TTimingLine::None)
            ++FPos;
    }

    std::vector<std::string> FLines;
    std::size_t FPos = 0;
    std::size_t FNumber = 0;
    TSubtitleFile FFile;
};

}  // namespace

TSubtitleFile ReadSubRip(const std::string& text)
{
    return TSubRipReader(text).Read();
}

}  // namespace olve
