#include "title/shown_card_text.h"

#include <algorithm>
#include <cstdint>

#include "codec/card_text.h"
#include "codec/comma_text.h"
#include "codec/cp932_text.h"
#include "codec/percent_text.h"

namespace olve {

namespace {

bool IsUnreserved(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

// The letters of a valid UTF-8 text, one code point each; false for text that is not UTF-8.
bool SplitLetters(const std::string& text, std::vector<std::string>& letters)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto b = static_cast<std::uint8_t>(text[i]);
        const std::size_t length = Utf8SequenceLength(b);
        if ((b >= 0x80 && length == 1) || i + length > text.size())
            return false;
        for (std::size_t k = 1; k < length; ++k)
            if ((static_cast<std::uint8_t>(text[i + k]) & 0xC0) != 0x80)
                return false;
        letters.push_back(text.substr(i, length));
        i += length;
    }
    return true;
}

// The exact letters of the tag, a line break as the two bars the main text stores for it.
bool TagLetters(const std::string& dataText, std::vector<std::string>& letters)
{
    std::string value, text;
    if (!FindTag(dataText, ExactTextTagName, value) || !PercentDecoded(value, text))
        return false;
    std::vector<std::string> split;
    if (!SplitLetters(text, split))
        return false;
    for (std::string& letter : split) {
        if (letter == "\n")
            letters.insert(letters.end(), {"|", "|"});
        else
            letters.push_back(std::move(letter));
    }
    return true;
}

}  // namespace

std::string ExactTextValue(const std::string& utf8)
{
    return PercentEncoded(utf8, IsUnreserved);
}

TShownText::TShownText(const std::string& mainText, const std::string& dataText) : FMain(mainText)
{
    FStarts.push_back(0);
    std::vector<std::string> letters;
    if (!TagLetters(dataText, letters))
        return;
    std::string joined;
    for (const std::string& letter : letters)
        joined += letter;
    const std::vector<int> chars = Cp932CharOffsets(mainText);
    if (static_cast<std::size_t>(chars.back()) != letters.size() || Utf8ToCp932(joined) != mainText)
        return;
    FStarts.clear();
    for (std::size_t b = 0; b < mainText.size(); ++b)
        if (b == 0 || chars[b] != chars[b - 1])
            FStarts.push_back(b);
    FStarts.push_back(mainText.size());
    FLetters = std::move(letters);
    FExact = true;
}

std::size_t TShownText::CharAt(std::size_t offset) const
{
    return static_cast<std::size_t>(std::upper_bound(FStarts.begin(), FStarts.end(), offset) - FStarts.begin()) - 1;
}

std::string TShownText::Utf8(std::size_t from, std::size_t to, bool breaks) const
{
    if (!FExact) {
        const std::string part = from < FMain.size() ? FMain.substr(from, to - std::min(from, to)) : std::string();
        return Cp932ToUtf8(breaks ? ExpandLineBreaks(part) : part);
    }
    std::string text;
    const std::size_t first = CharAt(from);
    const std::size_t end = std::min(to, FStarts.back());
    std::size_t last = CharAt(end);
    if (FStarts[std::min(last, FStarts.size() - 1)] < end)
        ++last;
    for (std::size_t k = first; k < std::min(last, FLetters.size()); ++k) {
        if (breaks && FLetters[k] == "|" && k + 1 < last && FLetters[k + 1] == "|") {
            text += "\r\n";
            ++k;
        } else {
            text += FLetters[k];
        }
    }
    return text;
}

std::string ShownCardText(const TPlayCardItem& card, TCardBreaks breaks)
{
    const bool crLf = breaks == TCardBreaks::CrLf;
    const TShownText shown(card.MainText, card.DataText);
    if (!shown.IsExact())
        return Cp932ToUtf8(crLf ? ExpandLineBreaks(CardTextPart(card.MainText, card.DataText))
                                : CardTextPart(card.MainText, card.DataText));
    const std::size_t size = card.MainText.size();
    std::int32_t start = 0;
    std::int32_t length = 0;
    if (!TextRangeOf(card.DataText, start, length))
        return shown.Utf8(0, size, crLf);
    const std::string prefix = start > 0 ? "   " : "";
    const std::size_t from = start > 0 ? static_cast<std::size_t>(start) : 0;
    if (length <= 0 || from >= size)
        return prefix;
    return prefix + shown.Utf8(from, from + std::min(static_cast<std::size_t>(length), size - from), crLf);
}

std::string ExactMainLines(const TPlayCardItem& card)
{
    const TShownText shown(card.MainText, card.DataText);
    return shown.IsExact() ? shown.Utf8(0, card.MainText.size(), true) : std::string();
}

std::size_t StoredPrefixLength(const std::string& utf8, std::size_t maxBytes)
{
    // Utf8ToCp932 stores each sequence as one character (or "?"): walk both side by side.
    const std::string stored = Utf8ToCp932(utf8);
    std::size_t at = 0;
    std::size_t bytes = 0;
    while (at < utf8.size() && bytes < stored.size()) {
        const std::size_t width = IsLeadByte(static_cast<std::uint8_t>(stored[bytes])) ? 2 : 1;
        if (bytes + width > maxBytes)
            break;
        bytes += width;
        at += std::min(Utf8SequenceLength(static_cast<std::uint8_t>(utf8[at])), utf8.size() - at);
    }
    return at;
}

}  // namespace olve
