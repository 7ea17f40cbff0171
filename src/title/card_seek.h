#pragma once
#include <cstdint>

#include "title/card_timeline.h"

namespace olve {

// Where a seek lands: the card that becomes current and the position to play it from.
struct TSeekTarget {
    int Card = -1;
    std::int64_t Position = 0;

    bool operator==(const TSeekTarget&) const = default;
};

// The card holding a position; in a gap or before the first card the card that comes next,
// so that what is shown is what is heard first; past the last card the last card. Card -1
// when there are no cards.
TSeekTarget SeekTarget(const TCardTimeline& timeline, std::int64_t position);

// The position of a point x along a bar `width` pixels wide standing for `length`.
std::int64_t PositionAtX(int x, int width, std::int64_t length);

// How far a step of the seek keys goes when the card has no word times.
inline constexpr std::int64_t SeekStepMs = 2000;

// Where a step back (direction -1) or on (+1) from a position goes. On a card whose words
// carry their times it goes from word to word, the card's start counting as a stop before
// its first word, and on to the neighbouring card's start at either end; elsewhere it goes
// SeekStepMs, inside the recording.
std::int64_t StepTarget(const TCardTimeline& timeline, std::int64_t position, int direction, std::int64_t length);

}  // namespace olve
