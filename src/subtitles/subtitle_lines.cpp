#include "subtitles/subtitle_lines.h"

#include "subtitles/subtitle_time.h"

namespace olve {

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool IsBlankLine(std::string_view line)
{
    return TrimBlanks(line).empty();
}

TTimingLine ReadTimingLine(std::string_view line, std::int64_t& startMs, std::int64_t& endMs)
{
    const std::size_t arrow = line.find("-->");
    if (arrow == std::string_view::npos)
        return TTimingLine::None;
    std::string_view rest = TrimBlanks(line.substr(arrow + 3));
    const std::size_t blank = rest.find_first_of(" \t");
    if (blank != std::string_view::npos)
        rest = rest.substr(0, blank);
    const bool good = ParseSubtitleTime(TrimBlanks(line.substr(0, arrow)), startMs) && ParseSubtitleTime(rest, endMs);
    return good ? TTimingLine::Good : TTimingLine::Bad;
}

std::string LinePrefix(std::size_t index)
{
    return "line " + std::to_string(index + 1) + ": ";
}

}  // namespace olve
