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

class TWebVttReader {
public:
    explicit TWebVttReader(const std::string& text) : FLines(SplitLines(text)) {}

    TSubtitleFile Read()
    {
        if (!FLines.empty() && StartsWithWord(FLines[0], "WEBVTT"))
            SkipBlock();
        else
            FFile.Notes.push_back("the file does not begin with WEBVTT; read as WebVTT all the same");
        while (FPos < FLines.size()) {
            if (IsBlankLine(FLines[FPos])) {
                ++FPos;
                continue;
            }
            const std::size_t first = FPos;
            SkipBlock();
            ReadBlock(first, FPos);
        }
        return std::move(FFile);
    }

private:
    void SkipBlock()
    {
        while (FPos < FLines.size() && !IsBlankLine(FLines[FPos]))
            ++FPos;
    }

    bool IsTiming(std::size_t i) const
    {
        std::int64_t start = 0, end = 0;
        return ReadTimingLine(FLines[i], start, end) != TTimingLine::None;
    }

    void ReadBlock(std::size_t first, std::size_t end)
    {
        const std::string_view head = TrimBlanks(FLines[first]);
        if (StartsWithWord(head, "NOTE") || head == "STYLE" || head == "REGION")
            return;
        std::size_t timing = first;
        if (!IsTiming(timing) && (++timing == end || !IsTiming(timing))) {
            // Before the first cue such blocks are header matter ("Region:" lines).
            if (FNumber > 0)
                FFile.Notes.push_back(LinePrefix(first) + "text outside any cue; passed over");
            return;
        }
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
