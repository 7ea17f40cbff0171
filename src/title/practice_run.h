#pragma once
#include <cstdint>
#include <vector>

#include "title/card_timeline.h"
#include "title/practice_settings.h"

namespace olve {

// What follows a card heard to its end: nothing, or card Card after WaitMs of silence.
struct TNextPlay {
    bool Stop = true;
    int Card = -1;
    std::int64_t WaitMs = 0;

    bool operator==(const TNextPlay&) const = default;
};

// The learner's way through the cards of one title: how often the card at hand has been
// heard, which cards have been heard at all (for texts shown after hearing), and the range
// that loops.
class TPracticeRun {
public:
    // A title with count cards was opened: nothing heard yet.
    void Reset(int count);

    // The learner played a card (top, here, next, back, the card list, a word): its hearings
    // count from none, and a card outside the loop range becomes the range.
    void Begin(int card);
    // The range Loop keeps playing, clamped to the cards.
    void SetLoopRange(int first, int last);
    int LoopFirst() const { return FLoopFirst; }
    int LoopLast() const { return FLoopLast; }
    int Card() const { return FCard; }
    int Hearings() const { return FHearings; }

    // The card at hand has been heard to its end, at the given speed. With automatic pause the
    // run stops once the card's hearings are done, unless it loops.
    TNextPlay CardEnded(const TPracticeSettings& settings, const TCardTimeline& timeline, bool autoPause,
                        double speed);

    // A card heard to its end by a play running through the cards.
    void MarkHeard(int card);
    bool Heard(int card) const;
    // Whether a text under this reveal shows on the card.
    bool Shows(TReveal reveal, int card) const;

private:
    std::vector<bool> FHeard;
    int FCard = -1;
    int FHearings = 0;
    int FLoopFirst = 0;
    int FLoopLast = -1;
};

}  // namespace olve
