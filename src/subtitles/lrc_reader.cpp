#include "subtitles/lrc_reader.h"

#include <algorithm>
#include <vector>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "subtitles/cue_markup.h"
#include "subtitles/subtitle_lines.h"
#include "subtitles/subtitle_time.h"

namespace olve {

namespace {

struct TLyricLine {
    std::int64_t StartMs = 0;
    // From a time stamp after the text; open when the next line ends it.
    std::int64_t EndMs = TSubtitleCue::OpenEnd;
    TCueText Text;
};

// A stretch of a line's text and the time stamp before it (Timed false for the text before
// the first stamp inside the line).
struct TLyricPiece {
    bool Timed = false;
    std::int64_t StartMs = 0;
    std::string Text;
};

// "mm:ss.xx" and "mm:ss"; some players write hundredths after a colon ("mm:ss:xx").
bool ParseLrcTime(std::string_view tag, std::int64_t& ms)
{
    const std::size_t last = tag.rfind(':');
    if (last != std::string_view::npos && tag.find(':') != last && tag.size() - last == 3 &&
        tag.find_first_of(".,") == std::string_view::npos) {
        std::string dotted(tag);
        dotted[last] = '.';
        return ParseSubtitleTime(dotted, ms);
    }
    return ParseSubtitleTime(tag, ms);
}

// A bracketed time, with or without blanks inside: "[01:02.50]", "[ 2:00]", "[1:00 ]".
bool BracketTime(std::string_view line, std::size_t open, std::size_t& close, std::int64_t& ms)
{
    close = line.find(']', open);
    return close != std::string_view::npos && ParseLrcTime(TrimBlanks(line.substr(open + 1, close - open - 1)), ms);
}

// The text after a line's leading tags, cut at the time stamps inside it.
std::vector<TLyricPiece> Pieces(std::string_view text)
{
    std::vector<TLyricPiece> pieces(1);
    std::size_t from = 0;
    for (std::size_t open = text.find('['); open != std::string_view::npos; open = text.find('[', open + 1)) {
        std::size_t close = 0;
        std::int64_t ms = 0;
        if (!BracketTime(text, open, close, ms)) {
            if (close == std::string_view::npos)
                break;
            continue;
        }
        pieces.back().Text = text.substr(from, open - from);
        pieces.push_back({true, ms, std::string()});
        from = close + 1;
        open = close;
    }
    pieces.back().Text = text.substr(from);
    return pieces;
}

class TLrcReader {
public:
    TSubtitleFile Read(const std::string& text)
    {
        const std::vector<std::string> lines = SplitLines(text);
        for (std::size_t i = 0; i < lines.size(); ++i)
            ReadLine(i, TrimBlanks(lines[i]));
        Shift();
        MakeCues();
        return std::move(FFile);
    }

private:
    void ReadLine(std::size_t index, std::string_view line)
    {
        if (line.empty())
            return;
        std::vector<std::int64_t> times;
        const std::size_t pos = ReadLeadingTags(line, times);
        const std::vector<TLyricPiece> pieces = Pieces(line.substr(pos));
        const std::int64_t firstEnd = pieces.size() > 1 ? pieces[1].StartMs : TSubtitleCue::OpenEnd;
        const TCueText first = CueTextOfLines({pieces[0].Text});
        if (times.empty() && pieces.size() == 1) {
            if (pos == 0)
                FFile.Notes.push_back(LinePrefix(index) + "a line without a time; passed over");
            return;
        }
        if (times.empty() && !first.Text.empty())
            FFile.Notes.push_back(LinePrefix(index) + "text before the line's first time; passed over");
        for (std::int64_t ms : times)
            FLines.push_back({ms, firstEnd, first});
        // A stamp after text ends it; the text after a stamp is a line of its own.
        for (std::size_t i = 1; i < pieces.size(); ++i) {
            const TCueText text = CueTextOfLines({pieces[i].Text});
            const std::int64_t end = i + 1 < pieces.size() ? pieces[i + 1].StartMs : TSubtitleCue::OpenEnd;
            if (!text.Text.empty())
                FLines.push_back({pieces[i].StartMs, end, text});
        }
    }

    // The time and metadata tags at the start of a line; returns where its text begins.
    std::size_t ReadLeadingTags(std::string_view line, std::vector<std::int64_t>& times)
    {
        std::size_t pos = 0;
        for (;;) {
            const std::size_t open = line.find_first_not_of(" \t", pos);
            if (open == std::string_view::npos || line[open] != '[')
                return pos;
            std::size_t close = 0;
            std::int64_t ms = 0;
            if (BracketTime(line, open, close, ms))
                times.push_back(ms);
            else if (close == std::string_view::npos || !ReadMetadata(TrimBlanks(line.substr(open + 1, close - open - 1))))
                return pos;
            pos = close + 1;
        }
    }

    // "key:value" tags; false for bracketed text that is none.
    bool ReadMetadata(std::string_view tag)
    {
        const std::size_t colon = tag.find(':');
        if (colon == std::string_view::npos || colon == 0)
            return false;
        const std::string key = LowerAscii(TrimBlanks(tag.substr(0, colon)));
        std::string value(TrimBlanks(tag.substr(colon + 1)));
        if (key == "ti")
            FFile.Title = value;
        if (key == "offset") {
            if (!value.empty() && value[0] == '+')
                value.erase(0, 1);
            int offset = 0;
            if (ParseDecimal(value, offset))
                FOffset = offset;
            else
                FFile.Notes.push_back("the offset tag \"" + value + "\" is not a number; ignored");
        }
        return true;
    }

    void Shift()
    {
        auto shifted = [this](std::int64_t ms) { return std::max<std::int64_t>(0, ms - FOffset); };
        for (TLyricLine& line : FLines) {
            line.StartMs = shifted(line.StartMs);
            if (line.EndMs != TSubtitleCue::OpenEnd)
                line.EndMs = shifted(line.EndMs);
            for (TTimedPart& stamp : line.Text.Stamps)
                stamp.StartMs = shifted(stamp.StartMs);
        }
        std::stable_sort(FLines.begin(), FLines.end(),
                         [](const TLyricLine& a, const TLyricLine& b) { return a.StartMs < b.StartMs; });
    }

    void MakeCues()
    {
        for (std::size_t i = 0; i < FLines.size(); ++i) {
            TLyricLine& line = FLines[i];
            if (line.Text.Text.empty())
                continue;
            TSubtitleCue cue;
            cue.Number = static_cast<int>(FFile.Cues.size()) + 1;
            cue.StartMs = line.StartMs;
            if (line.EndMs > line.StartMs)
                cue.EndMs = line.EndMs;
            for (std::size_t k = i + 1; k < FLines.size() && cue.EndMs == TSubtitleCue::OpenEnd; ++k)
                if (FLines[k].StartMs > line.StartMs)
                    cue.EndMs = FLines[k].StartMs;
            const auto& stamps = line.Text.Stamps;
            if (!stamps.empty() && stamps.back().Offset == line.Text.Text.size() && stamps.back().StartMs > cue.StartMs &&
                (cue.EndMs == TSubtitleCue::OpenEnd || stamps.back().StartMs < cue.EndMs))
                cue.EndMs = stamps.back().StartMs;
            cue.Text = line.Text.Text;
            cue.Parts = stamps;
            FFile.Cues.push_back(std::move(cue));
        }
    }

    std::vector<TLyricLine> FLines;
    std::int64_t FOffset = 0;
    TSubtitleFile FFile;
};

}  // namespace

TSubtitleFile ReadLrc(const std::string& text)
{
    return TLrcReader().Read(text);
}

}  // namespace olve
