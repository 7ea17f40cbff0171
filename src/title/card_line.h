#pragma once
#include <string>
#include <vector>

#include "timing/media_time_formats.h"
#include "title/play_card_item.h"

namespace olve {

// A card as one title-file line: the comma text of start and end (four numbers each, by the
// card's time format), main text, sub text, picture and tags.
std::string FormatCardLine(const TPlayCardItem& card);

// Decodes a card line by the time format the player reports for the card's media number
// (millisecond positions without a player). Bad numbers decode as 1 for the media number
// and 0 otherwise.
TPlayCardItem ParseCardLine(const std::string& text, const TMediaTimeFormats* player);

// Splits a line and pads it to at least twelve items.
std::vector<std::string> CardLineItems(const std::string& text);
// True when items 0 to 7 are all decimal integers.
bool HasEightNumbers(const std::vector<std::string>& items);

}  // namespace olve
