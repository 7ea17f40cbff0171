#include "textview/text_runs.h"

#include "codec/cp932_text.h"

namespace olve {

namespace {

bool IsLead(std::string_view text, std::size_t i)
{
    return i < text.size() && IsLeadByte(static_cast<std::uint8_t>(text[i]));
}

bool IsBreakOrSpace(char c)
{
    return c == '\r' || c == '\n' || c == ' ';
}

// A lead byte at the very end has no trail byte; it still makes a run of its own.
std::size_t DoubleByteRunEnd(std::string_view text, std::size_t i)
{
    while (IsLead(text, i)) {
        i = std::min(i + 2, text.size());
        while (i < text.size() && IsBreakOrSpace(text[i]))
            ++i;
    }
    return i;
}

std::size_t SingleByteRunEnd(std::string_view text, std::size_t i)
{
    while (i < text.size() && !IsLead(text, i))
        ++i;
    return i;
}

}  // namespace

std::vector<TTextRun> SplitTextRuns(std::string_view text)
{
    std::vector<TTextRun> runs;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool doubleByte = IsLead(text, i);
        const std::size_t end = doubleByte ? DoubleByteRunEnd(text, i) : SingleByteRunEnd(text, i);
        runs.push_back({i, end - i, doubleByte});
        i = end;
    }
    return runs;
}

}  // namespace olve
