#pragma once
#include <string>

#include "title/undo_play_card_list.h"

namespace olve {

// Where a card's picture is: as named (absolute, or from programFolder), in the title's
// "pic" folder, or in the title folder (titleFolder ends with "/"; empty or "/" alone when
// the title has no folder of its own). Names are stored in code page 932, with "\" between
// parts and in any letter case. The existing file, or empty when there is none.
std::string FindCardPicture(const std::string& name, const std::string& titleFolder, const std::string& programFolder);

// Whether any of the cards names a picture that is there.
bool CardsHavePictures(const TUndoPlayCardList& cards, const std::string& titleFolder, const std::string& programFolder);

}  // namespace olve
