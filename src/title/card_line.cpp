#include "title/card_line.h"

#include <limits>

#include "codec/comma_text.h"
#include "timing/positions.h"

namespace olve {

namespace {

constexpr std::size_t CardLineItemCount = 12;

void AppendPosition(std::vector<std::string>& items, std::uint32_t p, TOlveTimeFormat format)
{
    auto add = [&](std::uint32_t v) { items.push_back(std::to_string(v)); };
    switch (format) {
    case otfTrackMilliseconds:
        add(PackedMedia(p));
        add(PackedMinutes(p) & 255);
        add(PackedSeconds(p) & 255);
        add(PackedMilliseconds(p));
        break;
    case otfFrames:
        add(PackedMedia(p));
        add(0);
        add(0);
        add(PackedTime(p));
        break;
    default:
        add(TmsfTrack(p));
        add(TmsfMinutes(p));
        add(TmsfSeconds(p));
        add(TmsfFrames(p));
        break;
    }
}

std::uint32_t Number(const std::vector<std::string>& items, std::size_t i, int fallback)
{
    return static_cast<std::uint32_t>(DecimalOr(items[i], fallback));
}

std::uint32_t DecodePosition(const std::vector<std::string>& items, std::size_t first, TOlveTimeFormat format)
{
    const std::uint32_t media = Number(items, first, 1);
    switch (format) {
    case otfTMSF:
        return MakeTmsf(media, Number(items, first + 1, 0), Number(items, first + 2, 0), Number(items, first + 3, 0));
    case otfFrames:
        return MakePackedPosition(media, 0, 0, Number(items, first + 3, 0));
    default:
        return MakePackedPosition(media, Number(items, first + 1, 0), Number(items, first + 2, 0),
                                  Number(items, first + 3, 0));
    }
}

// The player counts media from 0. A damaged line may hold the smallest number, which has
// no number below it; it stays an index that no media has.
int MediaIndex(int number)
{
    return number == std::numeric_limits<int>::min() ? number : number - 1;
}

}  // namespace

std::string FormatCardLine(const TPlayCardItem& card)
{
    std::vector<std::string> items;
    items.reserve(CardLineItemCount);
    AppendPosition(items, card.StartPos, card.TimeFormat);
    AppendPosition(items, card.EndPos, card.TimeFormat);
    items.push_back(card.MainText);
    items.push_back(card.SubText);
    items.push_back(card.Picture);
    items.push_back(card.DataText);
    return CommaTextJoin(items);
}

std::vector<std::string> CardLineItems(const std::string& text)
{
    std::vector<std::string> items = CommaTextSplit(text);
    if (items.size() < CardLineItemCount)
        items.resize(CardLineItemCount);
    return items;
}

bool HasEightNumbers(const std::vector<std::string>& items)
{
    int value = 0;
    for (std::size_t i = 0; i < 8; ++i)
        if (!ParseDecimal(items[i], value))
            return false;
    return true;
}

TPlayCardItem ParseCardLine(const std::string& text, const TMediaTimeFormats* player)
{
    const std::vector<std::string> items = CardLineItems(text);
    TOlveTimeFormat format = otfTrackMilliseconds;
    if (player && items[0] != "0")
        format = player->MediaTimeFormat(MediaIndex(DecimalOr(items[0], 1)));

    TPlayCardItem card;
    card.MainText = items[8];
    card.SubText = items[9];
    card.Picture = items[10];
    card.DataText = items[11];
    card.MediaKind = format == otfTMSF ? mtAudioCD : mtVirtualCD;
    card.StartPos = DecodePosition(items, 0, format);
    card.EndPos = DecodePosition(items, 4, format);
    card.TimeFormat = format;
    return card;
}

}  // namespace olve
