#include "title/word_times.h"

#include "codec/comma_text.h"

namespace olve {

namespace {

bool ParsePair(const std::string& pair, TWordTime& time)
{
    const std::size_t colon = pair.find(':');
    if (colon == std::string::npos)
        return false;
    int offset = 0;
    int ms = 0;
    if (!ParseDecimal(pair.substr(0, colon), offset) || !ParseDecimal(pair.substr(colon + 1), ms))
        return false;
    time = {offset, ms};
    return true;
}

}  // namespace

std::vector<TWordTime> WordTimesOf(const std::string& dataText, std::int64_t textSize, std::int64_t lengthMs)
{
    std::string value;
    std::vector<TWordTime> times;
    if (!FindTag(dataText, WordTimesTagName, value))
        return times;
    std::size_t begin = 0;
    while (begin < value.size()) {
        std::size_t end = value.find(';', begin);
        if (end == std::string::npos)
            end = value.size();
        TWordTime time;
        const bool inside = ParsePair(value.substr(begin, end - begin), time) && time.Offset >= 0 &&
                            time.Offset < textSize && time.Ms >= 0 && time.Ms < lengthMs;
        if (inside && (times.empty() || (times.back().Offset < time.Offset && times.back().Ms < time.Ms)))
            times.push_back(time);
        begin = end + 1;
    }
    return times;
}

std::string WordTimesValue(const std::vector<TWordTime>& times)
{
    std::string value;
    for (const TWordTime& time : times) {
        if (!value.empty())
            value += ';';
        value += std::to_string(time.Offset) + ':' + std::to_string(time.Ms);
    }
    return value;
}

}  // namespace olve
