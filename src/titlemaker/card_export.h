#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "title/play_package.h"

namespace olve {

// A card as flashcard programs import it: one line of a tab-separated file and a sound clip.
// Texts are UTF-8; line breaks become "<br>" and the characters that mark up HTML are escaped,
// as those programs read the fields as HTML.
struct TExportedCard {
    std::string English;
    std::string Japanese;
    // The clip's file name, "<stem>-003.ogg", and where it lies in the recording.
    std::string Clip;
    std::int64_t FromMs = 0;
    std::int64_t ToMs = 0;
    // The picture's stored name (UTF-8, "/" between folders); empty without one.
    std::string Picture;
    // The title and the card's number as one tag: "A_Day_in_English_003".
    std::string Tag;
};

// The main cards of a title whose card times are milliseconds of the recording (as a title
// session holds them); titleName in UTF-8.
std::vector<TExportedCard> ExportedCards(const TPlayCardList& cards, const std::string& titleName);

// English, Japanese, "[sound:clip]", picture, tag: one line per card.
std::string CardsTsv(const std::vector<TExportedCard>& cards);

}  // namespace olve
