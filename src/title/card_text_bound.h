#pragma once
#include <cstddef>
#include <string>

#include "title/play_card_list.h"

namespace olve {

// The most bytes of one card's text that are laid out. A card of a few megabytes without a
// space costs the text layout minutes and hundreds of megabytes; no sentence comes near this.
inline constexpr std::size_t CardTextBoundBytes = 8192;

// text (code page 932) as it may be shown: at most CardTextBoundBytes of it, cut between two
// characters and followed by a note that it was cut, or the text itself when it fits.
std::string BoundCardText(const std::string& text);

// Cuts the main and sub texts of every card as BoundCardText does.
void BoundCardTexts(TPlayCardList& cards);

}  // namespace olve
