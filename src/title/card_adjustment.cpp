#include "title/card_adjustment.h"

#include <cstdio>

namespace olve {

namespace {

std::string SignedMs(std::int64_t ms)
{
    return (ms > 0 ? "+" : "") + std::to_string(ms) + " ms";
}

}  // namespace

void TCardAdjustment::Open(TUndoPlayCardList& cards)
{
    FCards = &cards;
    FMade = TMadeCardTimes(cards);
    FArrangement = cards.Arrangements();
    FTiming = {};
    FFormer.clear();
    cards.ClearHistory();
    cards.UndoEnabled = true;
}

void TCardAdjustment::Restore(const TCardTiming& kept)
{
    if (!FCards)
        return;
    FTiming = FittingTiming(kept, FMade);
    const bool recording = FCards->UndoEnabled;
    FCards->UndoEnabled = false;
    ApplyCardTiming(*FCards, FMade, FTiming);
    FCards->UndoEnabled = recording;
    FCards->ClearHistory();
    FFormer.clear();
}

void TCardAdjustment::FollowArrangement()
{
    if (FCards->Arrangements() == FArrangement)
        return;
    FMade = TMadeCardTimes(*FCards);
    FArrangement = FCards->Arrangements();
    FTiming = {};
    FFormer.clear();
}

bool TCardAdjustment::Shift(std::int64_t stepMs)
{
    if (!FCards)
        return false;
    FollowArrangement();
    return Change(ShiftedTiming(FTiming, FMade, stepMs), "shift " + SignedMs(stepMs));
}

bool TCardAdjustment::Nudge(int card, TCardEdge edge, std::int64_t stepMs)
{
    if (!FCards)
        return false;
    FollowArrangement();
    const char* which = edge == TCardEdge::Start ? "start" : "end";
    return Change(NudgedTiming(FTiming, FMade, card, edge, stepMs),
                  std::string(which) + " of card " + std::to_string(card + 1) + ' ' + SignedMs(stepMs));
}

bool TCardAdjustment::Sync(double offsetMs, double rate)
{
    if (!FCards)
        return false;
    FollowArrangement();
    char description[64];
    std::snprintf(description, sizeof description, "sync %+.0f ms, rate %.5f", offsetMs, rate);
    return Change(SyncedTiming(FTiming, offsetMs, rate), description);
}

bool TCardAdjustment::Change(const TCardTiming& timing, const std::string& description)
{
    if (timing == FTiming)
        return false;
    const std::size_t entries = FCards->Entries().size();
    FCards->BeginChange(description);
    ApplyCardTiming(*FCards, FMade, timing);
    FCards->EndChange();
    if (FCards->Entries().size() == entries)
        return false;
    FFormer.push_back({FCards->Entries().back().get(), FTiming});
    FTiming = timing;
    return true;
}

bool TCardAdjustment::Undo()
{
    if (!FCards)
        return false;
    FollowArrangement();
    // The latest entry may be a change of others to the cards (their texts, say): undoing it
    // leaves the timing as it is.
    const auto& entries = FCards->Entries();
    const bool ours = !entries.empty() && !FFormer.empty() && FFormer.back().Entry == entries.back().get();
    if (!FCards->Undo())
        return false;
    if (ours) {
        FTiming = FFormer.back().Timing;
        FFormer.pop_back();
    }
    return true;
}

}  // namespace olve
