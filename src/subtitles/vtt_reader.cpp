#include "subtitles/vtt_reader.h"

#include <vector>

#include "subtitles/cue_markup.h"
#include "subtitles/subtitle_lines.h"

namespace olve {

namespace {

bool StartsWithWord(std::string_view line, std::string_view word)
{
    return line.substr(0, word.size()) == word &&
           (line.size() == word.size() || line[word.size()] == ' ' || line[word.size()] == '\t');
}

bool HasArrow(std::string_view line)
{
    return line.find("-->") != std::string_view::npos;
}

// Blocks are read as a browser reads them: a block ends at a blank line, and a line with
// "-->" always belongs to a cue, so one that cannot be the timing line of the block being
// read starts the next block.
class TWebVttReader {
public:
    explicit TWebVttReader(const std::string& text) : FLines(SplitLines(text)) {}

    TSubtitleFile Read()
    {
        if (!FLines.empty() && StartsWithWord(FLines[0], "WEBVTT")) {
            // The header ends at a blank line, or where a cue follows it directly.
            FPos = 1;
            SkipLines();
        } else {
            FFile.Notes.push_back("the file does not begin with WEBVTT; read as WebVTT all the same");
        }
        while (FPos < FLines.size()) {
            if (IsBlankLine(FLines[FPos]))
                ++FPos;
            else
                ReadBlock();
        }
        return std::move(FFile);
    }

private:
    // Up to the next blank line or line with "-->".
    void SkipLines()
    {
        while (FPos < FLines.size() && !IsBlankLine(FLines[FPos]) && !HasArrow(FLines[FPos]))
            ++FPos;
    }

    // The timing line is the block's first line, or its second after a cue identifier.
    void ReadBlock()
    {
        const std::size_t first = FPos;
        const std::size_t timing = HasArrow(FLines[first]) ? first : first + 1;
        const bool timed = timing < FLines.size() && HasArrow(FLines[timing]);
        FPos = timed ? timing + 1 : first + 1;
        SkipLines();
        if (timed)
            ReadCue(timing, FPos);
        else
            PassOver(first);
    }

    void PassOver(std::size_t first)
    {
        const std::string_view head = TrimBlanks(FLines[first]);
        if (StartsWithWord(head, "NOTE") || head == "STYLE" || head == "REGION")
            return;
        // Before the first cue such blocks are header matter ("Region:" lines).
        if (FNumber > 0)
            FFile.Notes.push_back(LinePrefix(first) + "text outside any cue; passed over");
    }

    void ReadCue(std::size_t timing, std::size_t end)
    {
        TSubtitleCue cue;
        cue.Number = ++FNumber;
        if (ReadTimingLine(FLines[timing], cue.StartMs, cue.EndMs) != TTimingLine::Good) {
            FFile.Notes.push_back(LinePrefix(timing) + "cue " + std::to_string(cue.Number) +
                                  " has times that cannot be read; passed over");
            return;
        }
        TCueText plain = CueTextOfLines(std::vector<std::string>(FLines.begin() + timing + 1, FLines.begin() + end));
        cue.Text = std::move(plain.Text);
        cue.Parts = std::move(plain.Stamps);
        FFile.Cues.push_back(std::move(cue));
    }

    std::vector<std::string> FLines;
    std::size_t FPos = 0;
    int FNumber = 0;
    TSubtitleFile FFile;
};

}  // namespace

TSubtitleFile ReadWebVtt(const std::string& text)
{
    return TWebVttReader(text).Read();
}

}  // namespace olve
