#pragma once
#include <cstdint>

namespace olve {

// How a language's text shows while a card plays.
enum class TReveal { Shown, AfterHearing, Hidden };

// The learner's practice controls. A card plays Repeats times (0: until stopped); after each
// hearing the player waits the card's own length times ShadowTenths / 10 so that the learner
// can say it aloud; Loop keeps a range of cards playing until stopped.
struct TPracticeSettings {
    int Repeats = 1;
    int ShadowTenths = 0;
    bool Loop = false;
    TReveal English = TReveal::Shown;
    TReveal Japanese = TReveal::Shown;

    // Cards then play one at a time, each ending exactly at its end, so that something can
    // happen between them; otherwise a play runs on through the cards as it always has.
    bool CardByCard() const { return Repeats != 1 || ShadowTenths > 0 || Loop; }

    bool operator==(const TPracticeSettings&) const = default;
};

// The values the controls step through, from the last back to the first.
inline constexpr int RepeatChoices[] = {1, 2, 3, 5, 0};
inline constexpr int ShadowChoices[] = {0, 5, 10, 15, 20};
int NextRepeats(int repeats);
int NextShadowTenths(int tenths);
TReveal NextReveal(TReveal reveal);

// The silence after hearing a card that lasts lengthMs of the recording at the given speed:
// the time the card took to hear, times the factor.
std::int64_t ShadowWaitMs(std::int64_t lengthMs, double speed, int shadowTenths);

}  // namespace olve
