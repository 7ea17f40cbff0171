#include "storage/card_text.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <vector>

#include "storage/cp932_text.h"

namespace olve {

namespace {

constexpr std::int32_t LargestLength = std::numeric_limits<std::int32_t>::max();

bool IsBlank(char c)
{
    return c != 0 && static_cast<unsigned char>(c) <= 32;
}

// Comma text as card data texts use it: items separated by commas, an item in double quotes
// when it holds blanks, commas or quotes (two quotes inside standing for one); an unquoted
// item ends at a comma or a blank.
std::vector<std::string> SplitItems(const std::string& text)
{
    std::vector<std::string> items;
    // The text ends at a NUL byte, as a C string would.
    const std::size_t n = std::min(text.find('\0'), text.size());
    std::size_t i = 0;
    while (i < n && IsBlank(text[i]))
        ++i;
    while (i < n) {
        std::string item;
        if (text[i] == '"') {
            for (++i; i < n; ++i) {
                if (text[i] == '"' && (i + 1 >= n || text[i + 1] != '"'))
                    break;
                if (text[i] == '"')
                    ++i;
                item += text[i];
            }
            if (i < n)
                ++i;
        } else {
            while (i < n && text[i] != ',' && !IsBlank(text[i]))
                item += text[i++];
        }
        items.push_back(item);
        while (i < n && IsBlank(text[i]))
            ++i;
        if (i < n && text[i] == ',') {
            ++i;
            while (i < n && IsBlank(text[i]))
                ++i;
        }
    }
    return items;
}

// The value of the first item named name (ignoring ASCII case); false when there is none.
bool FindTag(const std::vector<std::string>& items, const char* name, std::string& value)
{
    for (const std::string& item : items) {
        const std::size_t eq = item.find('=');
        if (eq != std::string::npos && SameTextIgnoringCase(item.substr(0, eq), name)) {
            value = item.substr(eq + 1);
            return true;
        }
    }
    return false;
}

bool ParseInt32(const std::string& text, std::int32_t& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+')
        ++first;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last && first != last;
}

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
    const std::vector<std::string> items = SplitItems(dataText);
    std::string value;
    if (!FindTag(items, "SST", value))
        return false;
    if (!ParseInt32(value, start))
        start = 0;
    if (!FindTag(items, "SLG", value) || !ParseInt32(value, length))
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
