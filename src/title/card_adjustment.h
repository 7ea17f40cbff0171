#pragma once
#include <string>
#include <vector>

#include "title/card_timing.h"
#include "title/undo_play_card_list.h"

namespace olve {

// The open title's card times as the learner adjusts them. Each change that moves a card is
// one entry of the cards' undo history, and undoing it puts back the timing it replaced.
class TCardAdjustment {
public:
    // Follows cards (not owned) from the times they hold now, taken as made; their history
    // starts empty and records from here on.
    void Open(TUndoPlayCardList& cards);
    // Lays the timing kept for the title over the cards, without its nudges of cards made
    // otherwise since; not an entry of the history.
    void Restore(const TCardTiming& kept);
    const TCardTiming& Timing() const { return FTiming; }

    // Each is false when no card moved.
    bool Shift(std::int64_t stepMs);
    bool Nudge(int card, TCardEdge edge, std::int64_t stepMs);
    // Cards now at t go to t * rate + offsetMs.
    bool Sync(double offsetMs, double rate);
    bool Undo();

private:
    // Cards added, deleted or moved since the times were taken are taken as made anew.
    void FollowArrangement();
    bool Change(const TCardTiming& timing, const std::string& description);

    TUndoPlayCardList* FCards = nullptr;
    TMadeCardTimes FMade;
    int FArrangement = 0;
    TCardTiming FTiming;
    // The timing before each entry of the cards' history that a change here made, oldest first.
    struct TFormerTiming {
        const TUndoPlayCard* Entry = nullptr;
        TCardTiming Timing;
    };
    std::vector<TFormerTiming> FFormer;
};

}  // namespace olve
