#include "title/card_timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "timing/positions.h"

namespace olve {

namespace {

std::int64_t ClampTime(std::int64_t ms)
{
    return std::clamp<std::int64_t>(ms, 0, LatestCardMs);
}

// Where the sync and the shift put a time the card was made with.
std::int64_t Placed(const TCardTiming& timing, std::int64_t madeMs)
{
    const double synced = static_cast<double>(madeMs) * timing.SyncRate + timing.SyncOffsetMs;
    const std::int64_t at = std::isfinite(synced) ? std::llround(std::clamp(synced, 0.0, double(LatestCardMs))) : 0;
    return at + timing.ShiftMs;
}

std::uint32_t WithTime(std::uint32_t packed, std::int64_t ms)
{
    return PackedMedia(packed) | static_cast<std::uint32_t>(ClampTime(ms)) << 8;
}

// The movable card next to card in the direction (-1 or 1), or -1.
int Neighbour(const TMadeCardTimes& made, int card, int direction)
{
    const int other = card + direction;
    return other >= 0 && other < made.Count() && made.Movable(other) ? other : -1;
}

// Puts card's edge at ms, as a nudge from where the sync and shift put it.
void PlaceEdge(TCardTiming& timing, const TMadeCardTimes& made, int card, TCardEdge edge, std::int64_t ms)
{
    const TCardTimes& from = made.Made(card);
    TEdgeNudge& nudge = timing.Nudges[card];
    nudge.Made = from;
    if (edge == TCardEdge::Start)
        nudge.StartMs = ms - Placed(timing, from.Start);
    else
        nudge.EndMs = ms - Placed(timing, from.End);
    if (nudge.StartMs == 0 && nudge.EndMs == 0)
        timing.Nudges.erase(card);
}

// The new place of an edge now at `at` moved by step within [low, high]; `at` when it cannot
// move that way.
std::int64_t StepWithin(std::int64_t at, std::int64_t step, std::int64_t low, std::int64_t high)
{
    if (low > high)
        return at;
    const std::int64_t to = std::clamp(at + step, low, high);
    return (step < 0 && to > at) || (step > 0 && to < at) ? at : to;
}

}  // namespace

TMadeCardTimes::TMadeCardTimes(const TPlayCardList& cards)
{
    FTimes.resize(static_cast<std::size_t>(cards.Count()));
    for (int i = 0; i < cards.Count(); ++i)
        if (cards.Card(i).TimeFormat == otfTrackMilliseconds)
            FTimes[static_cast<std::size_t>(i)] = TCardTimes{cards.StartUnits(i), cards.EndUnits(i)};
}

bool TMadeCardTimes::Movable(int card) const
{
    return card >= 0 && card < Count() && FTimes[static_cast<std::size_t>(card)].has_value();
}

TCardTimes TimedCard(const TCardTiming& timing, const TMadeCardTimes& made, int card)
{
    const TCardTimes& from = made.Made(card);
    const auto nudge = timing.Nudges.find(card);
    const bool nudged = nudge != timing.Nudges.end();
    return {ClampTime(Placed(timing, from.Start) + (nudged ? nudge->second.StartMs : 0)),
            ClampTime(Placed(timing, from.End) + (nudged ? nudge->second.EndMs : 0))};
}

void ApplyCardTiming(TPlayCardList& cards, const TMadeCardTimes& made, const TCardTiming& timing)
{
    TUpdateBracket bracket(cards);
    for (int i = 0; i < std::min(cards.Count(), made.Count()); ++i) {
        if (!made.Movable(i))
            continue;
        const TCardTimes times = TimedCard(timing, made, i);
        const TPlayCardItem& card = cards.Card(i);
        cards.SetStartPos(i, WithTime(card.StartPos, times.Start));
        cards.SetEndPos(i, WithTime(card.EndPos, times.End));
    }
}

TCardTiming ShiftedTiming(const TCardTiming& timing, const TMadeCardTimes& made, std::int64_t stepMs)
{
    std::int64_t earliest = LatestCardMs;
    std::int64_t latest = 0;
    for (int i = 0; i < made.Count(); ++i) {
        if (!made.Movable(i))
            continue;
        const TCardTimes times = TimedCard(timing, made, i);
        earliest = std::min(earliest, times.Start);
        latest = std::max(latest, times.End);
    }
    TCardTiming shifted = timing;
    if (latest >= earliest)
        shifted.ShiftMs += std::clamp(stepMs, -earliest, LatestCardMs - latest);
    return shifted;
}

TCardTiming NudgedTiming(const TCardTiming& timing, const TMadeCardTimes& made, int card, TCardEdge edge,
                         std::int64_t stepMs)
{
    if (!made.Movable(card))
        return timing;
    const TCardTimes now = TimedCard(timing, made, card);
    const bool start = edge == TCardEdge::Start;
    const int other = Neighbour(made, card, start ? -1 : 1);
    const bool hasBeside = other >= 0;
    const TCardTimes beside = hasBeside ? TimedCard(timing, made, other) : TCardTimes{};
    TCardTiming nudged = timing;
    if (start) {
        const std::int64_t low = hasBeside ? beside.Start + ShortestCardMs : 0;
        const std::int64_t to = StepWithin(now.Start, stepMs, low, now.End - ShortestCardMs);
        if (to == now.Start)
            return timing;
        PlaceEdge(nudged, made, card, TCardEdge::Start, to);
        if (hasBeside && beside.End > to)
            PlaceEdge(nudged, made, other, TCardEdge::End, to);
    } else {
        const std::int64_t high = hasBeside ? beside.End - ShortestCardMs : LatestCardMs;
        const std::int64_t to = StepWithin(now.End, stepMs, now.Start + ShortestCardMs, high);
        if (to == now.End)
            return timing;
        PlaceEdge(nudged, made, card, TCardEdge::End, to);
        if (hasBeside && beside.Start < to)
            PlaceEdge(nudged, made, other, TCardEdge::Start, to);
    }
    return nudged;
}

TCardTiming SyncedTiming(const TCardTiming& timing, double offsetMs, double rate)
{
    TCardTiming synced = timing;
    synced.SyncRate = timing.SyncRate * rate;
    synced.SyncOffsetMs = (timing.SyncOffsetMs + static_cast<double>(timing.ShiftMs)) * rate + offsetMs;
    synced.ShiftMs = 0;
    for (auto& [card, nudge] : synced.Nudges) {
        nudge.StartMs = std::llround(static_cast<double>(nudge.StartMs) * rate);
        nudge.EndMs = std::llround(static_cast<double>(nudge.EndMs) * rate);
    }
    return synced;
}

std::string CardShiftNotice(std::int64_t ms)
{
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%+.2f", static_cast<double>(ms) / 1000);
    return std::string("字幕のずれ ") + seconds + " 秒  Subtitle delay " + seconds + " s";
}

TCardTiming FittingTiming(const TCardTiming& kept, const TMadeCardTimes& made)
{
    TCardTiming fitting = kept;
    std::erase_if(fitting.Nudges, [&made](const auto& entry) {
        return !made.Movable(entry.first) || made.Made(entry.first) != entry.second.Made;
    });
    return fitting;
}

}  // namespace olve
