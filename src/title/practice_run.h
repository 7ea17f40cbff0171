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

// The two texts of a card, each with a reveal of its own.
enum class TTextLanguage { English, Japanese };

// The learner's way through the cards of one title: how often the card at hand has been
// heard, which cards have been heard while a text waited for it (for texts shown after
// hearing), and the range that loops.
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

    // A card heard to its end by a play running through the cards. It counts only for the
    // texts that were waiting to be heard: a card heard while its text showed anyway has not
    // been listened to without it.
    void MarkHeard(int card, const TPracticeSettings& settings);
    bool Heard(TTextLanguage language, int card) const;
    // Whether the language's text under this reveal shows on the card.
    bool Shows(TReveal reveal, TTextLanguage language, int card) const;

private:
    std::vector<bool>& HeardOf(TTextLanguage language) { return FHeard[static_cast<int>(language)]; }
    const std::vector<bool>& HeardOf(TTextLanguage language) const { return FHeard[static_cast<int>(language)]; }

    std::vector<bool> FHeard[2];
    int FCard = -1;
    int FHearings = 0;
    int FLoopFirst = 0;
    int FLoopLast = -1;
};

}  // namespace olve
