#pragma once
#include <string>
#include <vector>

#include "title/play_card_item.h"

namespace olve {

// A group of the pinpoint menu: cards First to Last (from 0, Last included) under one caption.
struct TCardMenuGroup {
    int First = 0;
    int Last = 0;
    // "  1 ～  32": the cards' numbers as the learner counts them.
    std::string Caption;
    // The group starts a new column: the menu grows sideways as a long list would.
    bool NewColumn = false;

    bool operator==(const TCardMenuGroup&) const = default;
};

// The pinpoint menu of a title with count cards: no groups when the cards fit in one short
// list, else groups of 32 cards, a new column every 1,024, the cards after the 4,096th left out.
std::vector<TCardMenuGroup> CardMenuGroups(int count);

// The group holding card, or -1.
int CardMenuGroupOf(const std::vector<TCardMenuGroup>& groups, int card);

// A card's line in the menu (UTF-8): its number, then its text on one line, cut after 50
// bytes as code page 932 stores it and never inside a two-byte character. A card without
// English shows its Japanese between slashes, or else its extra text in brackets.
std::string CardMenuLabel(const TPlayCardItem& card, int index);

// Cards First to Last, both included.
struct TCardRange {
    int First = 0;
    int Last = 0;

    bool operator==(const TCardRange&) const = default;
};

// The cards a loop runs over: those chosen together in the card list (rows counted with its
// heading as row 0; a single row is no choice), the last such choice winning, or else the
// current card (the first when none is current).
TCardRange LoopCards(int currentCard, const std::vector<TCardRange>& chosenRows);

}  // namespace olve
