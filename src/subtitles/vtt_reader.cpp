#include "subtitles/vtt_reader.h"

#include <cstdint>
#include <string_view>
#include <vector>

#include "subtitles/cue_markup.h"
#include "subtitles/rolling_captions.h"
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

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsVttSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\f';
}

// The digits at pos, as a number. More digits than any recording needs make the time
// unreadable rather than overflow.
bool Digits(std::string_view line, std::size_t& pos, std::size_t& count, std::int64_t& value)
{
    const std::size_t start = pos;
    value = 0;
    for (; pos < line.size() && IsDigit(line[pos]); ++pos)
        if (pos - start < 9)
            value = value * 10 + (line[pos] - '0');
    count = pos - start;
    return count > 0 && count <= 9;
}

// A WebVTT timestamp, as browsers read one: "mm:ss.ttt" or "h...h:mm:ss.ttt", minutes and
// seconds of two digits below 60, milliseconds of exactly three digits.
bool ReadTimestamp(std::string_view line, std::size_t& pos, std::int64_t& ms)
{
    std::size_t count = 0;
    std::int64_t first = 0, second = 0, third = 0, fraction = 0;
    if (!Digits(line, pos, count, first))
        return false;
    const bool hours = count != 2 || first > 59;
    if (pos >= line.size() || line[pos++] != ':' || !Digits(line, pos, count, second) || count != 2)
        return false;
    if (hours || (pos < line.size() && line[pos] == ':')) {
        if (pos >= line.size() || line[pos++] != ':' || !Digits(line, pos, count, third) || count != 2)
            return false;
    } else {
        third = second;
        second = first;
        first = 0;
    }
    if (pos >= line.size() || line[pos++] != '.' || !Digits(line, pos, count, fraction) || count != 3)
        return false;
    if (second > 59 || third > 59)
        return false;
    ms = ((first * 60 + second) * 60 + third) * 1000 + fraction;
    return true;
}

// "start --> end [settings]"; blanks around the arrow may be left out, the settings are not
// read.
bool ReadVttTimingLine(std::string_view line, std::int64_t& startMs, std::int64_t& endMs)
{
    std::size_t pos = 0;
    const auto skipSpaces = [&] {
        while (pos < line.size() && IsVttSpace(line[pos]))
            ++pos;
    };
    skipSpaces();
    if (!ReadTimestamp(line, pos, startMs))
        return false;
    skipSpaces();
    if (line.substr(pos, 3) != "-->")
        return false;
    pos += 3;
    skipSpaces();
    return ReadTimestamp(line, pos, endMs);
}

// Blocks are read as a browser reads them: a block ends at an empty line, and a line with
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
        if (IsRollingCaptions(FFile.Cues)) {
            FFile.Cues = SpokenLines(FFile.Cues);
            FFile.Notes.push_back("the captions roll up line by line, as video sites make them; read as one cue "
                                  "for each spoken line, without the lines shown again");
        }
        return std::move(FFile);
    }

private:
    // Up to the next empty line or line with "-->". A line of blanks is no empty line: cues
    // hold such lines (rolling captions begin with one).
    void SkipLines()
    {
        while (FPos < FLines.size() && !FLines[FPos].empty() && !HasArrow(FLines[FPos]))
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
        if (!ReadVttTimingLine(FLines[timing], cue.StartMs, cue.EndMs)) {
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
