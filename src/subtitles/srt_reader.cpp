#include "subtitles/srt_reader.h"

#include <vector>

#include "subtitles/cue_markup.h"
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
        return i < FLines.size() ? ReadTimingLine(FLines[i], start, end) : TTimingLine::None;
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
        const bool good = ReadTimingLine(FLines[FPos++], cue.StartMs, cue.EndMs) == TTimingLine::Good;
        std::vector<std::string> text;
        while (IsTextLine(FPos))
            text.push_back(FLines[FPos++]);
        if (!good) {
            FFile.Notes.push_back(LinePrefix(timing) + "cue " + std::to_string(cue.Number) +
                                  " has times that cannot be read; passed over");
            return;
        }
        TCueText plain = CueTextOfLines(text);
        cue.Text = std::move(plain.Text);
        cue.Parts = std::move(plain.Stamps);
        FFile.Cues.push_back(std::move(cue));
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
