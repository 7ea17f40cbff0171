#include "codec/card_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "codec/comma_text.h"
#include "codec/cp932_text.h"

namespace olve {

namespace {

constexpr std::int32_t LargestLength = std::numeric_limits<std::int32_t>::max();

}  // namespace

std::string ExpandLineBreaks(const std::string& text)
{
    std::string result;
    result.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsLeadByte(static_cast<std::uint8_t>(text[i])) && i + 1 < text.size()) {
            result += text[i];
            result += text[++i];
        } else if (text[i] == '|' && i + 1 < text.size() && text[i + 1] == '|') {
            result += "\r\n";
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

bool TextRangeOf(const std::string& dataText, std::int32_t& start, std::int32_t& length)
{
    start = 0;
    length = LargestLength;
    std::string value;
    if (!FindTag(dataText, "SST", value))
        return false;
    if (!ParseDecimal(value, start))
        start = 0;
    if (!FindTag(dataText, "SLG", value) || !ParseDecimal(value, length))
        length = LargestLength;
    return true;
}

std::string CardTextPart(const std::string& text, const std::string& dataText)
{
    std::int32_t start = 0;
    std::int32_t length = 0;
    if (!TextRangeOf(dataText, start, length))
        return text;
    const std::string prefix = start > 0 ? "   " : "";
    const std::size_t from = start > 0 ? static_cast<std::size_t>(start) : 0;
    if (length <= 0 || from >= text.size())
        return prefix;
    return prefix + text.substr(from, static_cast<std::size_t>(length));
}

}  // namespace olve
