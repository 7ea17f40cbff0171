#include "subtitles/cue_markup.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "storage/cp932_text.h"
#include "subtitles/subtitle_text.h"
#include "subtitles/subtitle_time.h"

namespace olve {

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

// The text a character reference stands for; false when it is not one we know. Marks of
// writing direction stand for nothing; a no-break space is a space, which code page 932 has.
bool Reference(const std::string& name, std::string& text)
{
    static const std::pair<const char*, const char*> named[] = {
        {"amp", "&"}, {"lt", "<"}, {"gt", ">"}, {"quot", "\""}, {"apos", "'"},
        {"nbsp", " "}, {"lrm", ""}, {"rlm", ""}};
    for (const auto& [key, value] : named) {
        if (name == key) {
            text = value;
            return true;
        }
    }
    if (name.size() < 2 || name[0] != '#')
        return false;
    const bool hex = name[1] == 'x' || name[1] == 'X';
    const std::string digits = name.substr(hex ? 2 : 1);
    if (digits.empty() || digits.size() > 6)
        return false;
    char* end = nullptr;
    const unsigned long code = std::strtoul(digits.c_str(), &end, hex ? 16 : 10);
    if (*end != '\0' || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code < 0xE000))
        return false;
    text.clear();
    AppendUtf8(text, static_cast<std::uint32_t>(code));
    return true;
}

class TLineReader {
public:
    explicit TLineReader(const std::string& line) : FLine(line) {}

    TCueText Read()
    {
        while (FPos < FLine.size()) {
            if (!(FLine[FPos] == '<' && Tag()) && !(FLine[FPos] == '{' && Override()) &&
                !(FLine[FPos] == '&' && CharacterReference()))
                FOut.Text += FLine[FPos++];
        }
        return std::move(FOut);
    }

private:
    bool Tag()
    {
        const std::size_t close = FLine.find('>', FPos);
        if (close == std::string::npos)
            return false;
        const std::string inner = FLine.substr(FPos + 1, close - FPos - 1);
        std::int64_t ms = 0;
        if (ParseSubtitleTime(inner, ms)) {
            FOut.Stamps.push_back({ms, FOut.Text.size()});
        } else if (inner.empty() || !(IsAsciiLetter(inner[0]) || inner[0] == '/')) {
            return false;
        } else if (LowerAscii(inner) == "rt") {
            // The reading of a ruby text is not part of the sentence.
            const std::size_t end = LowerAscii(FLine).find("</rt>", close);
            FPos = end == std::string::npos ? FLine.size() : end + 5;
            return true;
        }
        FPos = close + 1;
        return true;
    }

    bool Override()
    {
        const std::size_t close = FLine.find('}', FPos);
        if (FPos + 1 >= FLine.size() || FLine[FPos + 1] != '\\' || close == std::string::npos)
            return false;
        FPos = close + 1;
        return true;
    }

    bool CharacterReference()
    {
        const std::size_t end = FLine.find(';', FPos);
        if (end == std::string::npos || end - FPos > 10)
            return false;
        std::string text;
        if (!Reference(FLine.substr(FPos + 1, end - FPos - 1), text))
            return false;
        FOut.Text += text;
        FPos = end + 1;
        return true;
    }

    const std::string& FLine;
    std::size_t FPos = 0;
    TCueText FOut;
};

// Removes the blanks at both ends; stamps keep pointing at the same characters, and those
// that stood in the blanks move to the nearest end.
void Trim(TCueText& line)
{
    std::size_t first = 0, last = line.Text.size();
    while (first < last && IsBlank(line.Text[first]))
        ++first;
    while (last > first && IsBlank(line.Text[last - 1]))
        --last;
    line.Text = line.Text.substr(first, last - first);
    for (TTimedPart& stamp : line.Stamps)
        stamp.Offset = stamp.Offset < first ? 0 : std::min(stamp.Offset - first, line.Text.size());
}

}  // namespace

TCueText CueTextOfLines(const std::vector<std::string>& lines)
{
    TCueText cue;
    for (const std::string& raw : lines) {
        TCueText line = TLineReader(raw).Read();
        Trim(line);
        if (!line.Text.empty() && !cue.Text.empty())
            cue.Text += '\n';
        for (const TTimedPart& stamp : line.Stamps)
            cue.Stamps.push_back({stamp.StartMs, cue.Text.size() + stamp.Offset});
        cue.Text += line.Text;
    }
    return cue;
}

}  // namespace olve
