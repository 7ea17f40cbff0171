#include "subtitles/lrc_reader.h"

#include <algorithm>
#include <vector>

#include "storage/comma_text.h"
#include "storage/cp932_text.h"
#include "subtitles/cue_markup.h"
#include "subtitles/subtitle_lines.h"
#include "subtitles/subtitle_time.h"

namespace olve {

namespace {

struct TLyricLine {
    std::int64_t StartMs = 0;
    TCueText Text;
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
        std::size_t pos = 0;
        while (pos < line.size() && line[pos] == '[') {
            const std::size_t close = line.find(']', pos);
            if (close == std::string_view::npos)
                break;
            const std::string_view tag = TrimBlanks(line.substr(pos + 1, close - pos - 1));
            std::int64_t ms = 0;
            if (ParseLrcTime(tag, ms))
                times.push_back(ms);
            else if (!ReadMetadata(tag))
                break;
            pos = close + 1;
        }
        if (times.empty()) {
            if (pos == 0)
                FFile.Notes.push_back(LinePrefix(index) + "a line without a time; passed over");
            return;
        }
        const TCueText cue = CueTextOfLines({std::string(line.substr(pos))});
        for (std::int64_t ms : times)
            FLines.push_back({ms, cue});
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
