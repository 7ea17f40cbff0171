#include "title/play_card_text.h"

#include <algorithm>
#include <cstdio>

#include "media/positions.h"
#include "title/comma_text.h"

namespace olve {

std::string PositionText(std::uint32_t position, TOlveTimeFormat format)
{
    char text[64];
    switch (format) {
    case otfTrackMilliseconds:
        std::snprintf(text, sizeof text, "%02u %02u:%02u:%03u", PackedMedia(position), PackedMinutes(position) & 255,
                      PackedSeconds(position) & 255, PackedMilliseconds(position));
        break;
    case otfFrames:
        std::snprintf(text, sizeof text, "%02u %06u", PackedMedia(position), PackedTime(position));
        break;
    default:
        std::snprintf(text, sizeof text, "%02u %02u:%02u:%02u", TmsfTrack(position), TmsfMinutes(position),
                      TmsfSeconds(position), TmsfFrames(position));
        break;
    }
    return text;
}

TTextRange SpokenRange(const std::string& mainText, const std::string& dataText)
{
    TTextRange range{0, mainText.size(), false};
    bool hasStart = false;
    std::string startText;
    for (const std::string& item : CommaTextSplit(dataText)) {
        if (IsNamed(item, "SST")) {
            hasStart = true;
            startText = ValueOf(item);
            break;
        }
    }
    if (!hasStart)
        return range;
    // A start before the text counts from its beginning; a missing length runs to its end.
    const long long start = DecimalOr(startText, 0);
    const long long length = DecimalOr(GetTag(dataText, "SLG"), 2147483647);
    range.FromSST = true;
    range.Start = static_cast<std::size_t>(std::clamp<long long>(start, 0, static_cast<long long>(mainText.size())));
    range.Length = static_cast<std::size_t>(
        std::clamp<long long>(length, 0, static_cast<long long>(mainText.size() - range.Start)));
    return range;
}

std::string CardShowText(const std::string& mainText, const std::string& dataText)
{
    const TTextRange range = SpokenRange(mainText, dataText);
    if (!range.FromSST)
        return mainText;
    const bool shifted = DecimalOr(GetTag(dataText, "SST"), 0) > 0;
    return (shifted ? "   " : "") + mainText.substr(range.Start, range.Length);
}

}  // namespace olve
