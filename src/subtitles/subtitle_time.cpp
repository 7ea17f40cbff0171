#include "subtitles/subtitle_time.h"

#include <cstdio>
#include <vector>

namespace olve {

namespace {

bool AllDigits(std::string_view text)
{
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// Whole numbers that cannot overflow: ten digits are far beyond any recording.
bool Number(std::string_view text, std::int64_t& value)
{
    if (!AllDigits(text) || text.size() > 10)
        return false;
    value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    return true;
}

std::vector<std::string_view> Fields(std::string_view text)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (std::size_t colon; (colon = text.find(':', start)) != std::string_view::npos; start = colon + 1)
        fields.push_back(text.substr(start, colon - start));
    fields.push_back(text.substr(start));
    return fields;
}

bool Fraction(std::string_view digits, std::int64_t& ms)
{
    if (!AllDigits(digits))
        return false;
    std::int64_t scale = 100;
    ms = 0;
    for (std::size_t i = 0; i < digits.size() && i < 3; ++i, scale /= 10)
        ms += (digits[i] - '0') * scale;
    return true;
}

}  // namespace

bool ParseSubtitleTime(std::string_view text, std::int64_t& ms)
{
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.size() < 2 || fields.size() > 3)
        return false;
    std::string_view seconds = fields.back();
    std::int64_t fraction = 0;
    const std::size_t point = seconds.find_first_of(".,");
    if (point != std::string_view::npos) {
        if (!Fraction(seconds.substr(point + 1), fraction))
            return false;
        seconds = seconds.substr(0, point);
    }
    std::int64_t hours = 0, minutes = 0, secs = 0;
    if (seconds.size() > 2 || !Number(seconds, secs) || secs > 59)
        return false;
    if (!Number(fields[fields.size() - 2], minutes))
        return false;
    if (fields.size() == 3) {
        if (!Number(fields[0], hours) || minutes > 59)
            return false;
    }
    ms = ((hours * 60 + minutes) * 60 + secs) * 1000 + fraction;
    return true;
}

std::string SubtitleTimeText(std::int64_t ms)
{
    if (ms < 0)
        return "(open)";
    char text[40];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

}  // namespace olve
