#include "codec/comma_text.h"

#include <algorithm>
#include <charconv>

#include "codec/cp932_text.h"

namespace olve {

namespace {

bool IsBlank(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b >= 1 && b <= 32;
}

bool NeedsQuotes(const std::string& item)
{
    for (char c : item)
        if (static_cast<unsigned char>(c) <= 32 || c == '"' || c == ',')
            return true;
    return false;
}

std::string Quoted(const std::string& item)
{
    std::string out = "\"";
    for (char c : item) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + '"';
}

// Reads a quoted item starting at the opening quote; an unclosed quote takes the rest.
std::string ReadQuoted(const std::string& text, std::size_t& at)
{
    std::string item;
    ++at;
    while (at < text.size() && text[at] != '\0') {
        if (text[at] == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') {
                item += '"';
                at += 2;
                continue;
            }
            ++at;
            return item;
        }
        item += text[at++];
    }
    return item;
}

}  // namespace

std::string CommaTextJoin(const std::vector<std::string>& items)
{
    if (items.size() == 1 && items[0].empty())
        return "\"\"";
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ',';
        out += NeedsQuotes(items[i]) ? Quoted(items[i]) : items[i];
    }
    return out;
}

std::vector<std::string> CommaTextSplit(const std::string& text)
{
    // A NUL byte ends the text, as it ends the string it came from.
    const std::size_t end = std::min(text.find('\0'), text.size());
    std::vector<std::string> items;
    std::size_t at = 0;
    auto skipBlanks = [&] {
        while (at < end && IsBlank(text[at]))
            ++at;
    };
    skipBlanks();
    while (at < end) {
        if (text[at] == '"') {
            items.push_back(ReadQuoted(text, at));
            at = std::min(at, end);
        } else {
            const std::size_t start = at;
            while (at < end && static_cast<unsigned char>(text[at]) > 32 && text[at] != ',')
                ++at;
            items.push_back(text.substr(start, at - start));
        }
        skipBlanks();
        if (at < end && text[at] == ',') {
            ++at;
            skipBlanks();
        }
    }
    return items;
}

std::string NameOf(const std::string& line)
{
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(0, eq);
}

std::string ValueOf(const std::string& line)
{
    const std::size_t eq = line.find('=');
    return eq == std::string::npos ? std::string() : line.substr(eq + 1);
}

std::string NamedLine(std::string_view name, std::string_view value)
{
    std::string line;
    line.reserve(name.size() + 1 + value.size());
    return line.append(name).append("=").append(value);
}

bool IsNamed(const std::string& line, std::string_view name)
{
    const std::size_t eq = line.find('=');
    return eq != std::string::npos && SameTextIgnoringCase(std::string_view(line).substr(0, eq), name);
}

bool FindTag(const std::string& text, const std::string& name, std::string& value)
{
    for (const std::string& item : CommaTextSplit(text)) {
        if (IsNamed(item, name)) {
            value = ValueOf(item);
            return true;
        }
    }
    return false;
}

std::string GetTag(const std::string& text, const std::string& name)
{
    std::string value;
    FindTag(text, name, value);
    return value;
}

std::string SetTag(const std::string& text, const std::string& name, const std::string& value)
{
    std::vector<std::string> items = CommaTextSplit(text);
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (IsNamed(*it, name)) {
            items.erase(it);
            break;
        }
    }
    if (!value.empty())
        items.push_back(name + "=" + value);
    return CommaTextJoin(items);
}

bool ParseDecimal(const std::string& text, int& value)
{
    const char* first = text.data();
    const char* last = first + text.size();
    if (first != last && *first == '+') {
        ++first;
        if (first != last && *first == '-')
            return false;
    }
    if (first == last || (*first == '-' && first + 1 == last))
        return false;
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

int DecimalOr(const std::string& text, int fallback)
{
    int value = 0;
    return ParseDecimal(text, value) ? value : fallback;
}

}  // namespace olve
