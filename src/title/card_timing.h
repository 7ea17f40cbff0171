#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "title/play_card_list.h"

namespace olve {

// A card's times in milliseconds of the recording.
struct TCardTimes {
    std::int64_t Start = 0;
    std::int64_t End = 0;

    bool operator==(const TCardTimes&) const = default;
};

// A card's edges moved by the learner: the card's times as the title made them (so that a
// title made anew from other subtitles does not take them), and how far each edge moved from
// where the sync and shift put it.
struct TEdgeNudge {
    TCardTimes Made;
    std::int64_t StartMs = 0;
    std::int64_t EndMs = 0;

    bool operator==(const TEdgeNudge&) const = default;
};

// How the open title's cards lie against the times they were made with. A card made at t is
// at t * SyncRate + SyncOffsetMs (never before 0), plus ShiftMs, plus its own nudge.
struct TCardTiming {
    double SyncOffsetMs = 0;
    double SyncRate = 1;
    std::int64_t ShiftMs = 0;
    // By card index.
    std::map<int, TEdgeNudge> Nudges;

    bool operator==(const TCardTiming&) const = default;
};

enum class TCardEdge { Start, End };

// The shortest a nudge leaves a card, or a neighbour it pushes.
inline constexpr std::int64_t ShortestCardMs = 100;
// The latest time a packed position holds (24 bits of milliseconds).
inline constexpr std::int64_t LatestCardMs = 0xFFFFFF;

// The cards as made: their times, for the cards counted in milliseconds; the others (CD
// tracks, frames) are never moved and have no entry.
class TMadeCardTimes {
public:
    TMadeCardTimes() = default;
    explicit TMadeCardTimes(const TPlayCardList& cards);

    int Count() const { return static_cast<int>(FTimes.size()); }
    bool Movable(int card) const;
    const TCardTimes& Made(int card) const { return *FTimes[static_cast<std::size_t>(card)]; }

private:
    std::vector<std::optional<TCardTimes>> FTimes;
};

// Card's times as timing puts it; the card must be movable.
TCardTimes TimedCard(const TCardTiming& timing, const TMadeCardTimes& made, int card);

// Writes every movable card's times as timing puts them.
void ApplyCardTiming(TPlayCardList& cards, const TMadeCardTimes& made, const TCardTiming& timing);

// The timing with every card moved by stepMs, as far as the earliest start stays at 0 or
// later.
TCardTiming ShiftedTiming(const TCardTiming& timing, const TMadeCardTimes& made, std::int64_t stepMs);

// The timing with card's edge moved by stepMs. The card stays at least ShortestCardMs long
// and starts at 0 or later. An edge moved into a neighbour pushes the neighbour's touching
// edge along, as far as the neighbour stays ShortestCardMs long; there the edge stops. The
// timing as it was when the edge cannot move.
TCardTiming NudgedTiming(const TCardTiming& timing, const TMadeCardTimes& made, int card, TCardEdge edge,
                         std::int64_t stepMs);

// The timing with a sync laid over it: a card now at t goes to t * rate + offsetMs. The
// shift is taken into the sync's offset.
TCardTiming SyncedTiming(const TCardTiming& timing, double offsetMs, double rate);

// The timing kept for a title, without the nudges of cards that the title no longer has as
// they were made.
TCardTiming FittingTiming(const TCardTiming& kept, const TMadeCardTimes& made);

// What shows while the learner shifts the cards: "字幕のずれ +0.35 秒  Subtitle delay +0.35 s".
std::string CardShiftNotice(std::int64_t ms);

}  // namespace olve
