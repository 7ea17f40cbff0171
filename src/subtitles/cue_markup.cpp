#include "subtitles/cue_markup.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

#include "codec/cp932_text.h"
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

// The name of a tag without its classes and annotation: "rt" for "<rt.small>" or "<RT x>".
std::string TagName(const std::string& inner)
{
    return LowerAscii(inner.substr(0, inner.find_first_of(". \t")));
}

class TLineReader {
public:
    explicit TLineReader(const std::string& line) : FLine(line), FLower(LowerAscii(line)) {}

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
        } else if (const std::string name = TagName(inner); name == "rt" || name == "rp") {
            SkipReading(name, close + 1);
            return true;
        }
        FPos = close + 1;
        return true;
    }

    // The reading of a ruby text (and the brackets shown where ruby is not) is not part of
    // the sentence. It ends at its closing tag, or where the ruby ends when that is left out.
    void SkipReading(const std::string& name, std::size_t from)
    {
        const std::size_t close = FLower.find("</" + name + ">", from);
        const std::size_t rubyEnd = FLower.find("</ruby>", from);
        if (close != std::string::npos && close < rubyEnd)
            FPos = close + name.size() + 3;
        else
            FPos = rubyEnd == std::string::npos ? FLine.size() : rubyEnd;
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
    // For closing tags in any letter case.
    const std::string FLower;
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

// Stamps stand between words with a blank on either side, which leaves two once they are
// taken out: each run of blanks becomes one space, and a stamp that stood in a run points at
// the word after it.
void CollapseBlanks(TCueText& line)
{
    const std::string& text = line.Text;
    std::string out;
    std::vector<std::size_t> moved(text.size() + 1);
    for (std::size_t i = 0; i < text.size();) {
        if (!IsBlank(text[i])) {
            moved[i] = out.size();
            out += text[i++];
            continue;
        }
        out += ' ';
        for (; i < text.size() && IsBlank(text[i]); ++i)
            moved[i] = out.size();
    }
    moved[text.size()] = out.size();
    for (TTimedPart& stamp : line.Stamps)
        stamp.Offset = moved[stamp.Offset];
    line.Text = std::move(out);
}

}  // namespace

TCueText CueTextOfLines(const std::vector<std::string>& lines)
{
    TCueText cue;
    for (const std::string& raw : lines) {
        TCueText line = TLineReader(raw).Read();
        if (!line.Stamps.empty())
            CollapseBlanks(line);
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
