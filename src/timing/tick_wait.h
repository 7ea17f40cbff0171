#pragma once
#include <cstdint>
#include <initializer_list>

namespace olve {

// The window's timer sleeps while nothing it shows can change: until the first position at
// which a card, a word, a pixel of the progress bar or a second of the time label changes.
// Positions are the player's milliseconds; -1 stands for "never".

// The timer's pace when a play starts or goes on, before it knows what comes next.
inline constexpr int FirstTickMs = 30;

// The longest sleep: whatever the timer cannot foresee (a stalled recording, a scrolled
// view) is caught up within it.
inline constexpr int LongestTickWaitMs = 250;

// The first position after `position` at which a bar `width` pixels wide over a recording
// of `length` grows by a pixel.
std::int64_t NextBarStep(std::int64_t position, std::int64_t length, int width);

// The first position after `position` on a whole second.
std::int64_t NextWholeSecond(std::int64_t position);

// A change the eye follows without needing it on time (a pixel of the bar, a second of the
// label, the caret's even steps): no sooner than FirstTickMs of the clock ahead, so that a
// short recording or a fast caret never makes the timer run faster than its first pace.
std::int64_t PacedChange(std::int64_t position, std::int64_t change, double speed);

// How long to sleep, in milliseconds of the clock, to reach the nearest of `changes` ahead
// of `position` when the recording plays at `speed`: a millisecond late rather than early,
// and never longer than LongestTickWaitMs.
int TickWaitMs(std::int64_t position, std::initializer_list<std::int64_t> changes, double speed);

}  // namespace olve
