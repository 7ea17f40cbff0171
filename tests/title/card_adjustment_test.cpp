#include <gtest/gtest.h>

#include "timing/positions.h"
#include "title/card_adjustment.h"
#include "title/title_progress.h"

using namespace olve;

namespace {

void AddCard(TUndoPlayCardList& cards, std::uint32_t startMs, std::uint32_t endMs, TOlveTimeFormat format = otfTrackMilliseconds)
{
    TPlayCardItem c;
    c.MainText = "card";
    c.StartPos = MakePackedPosition(1, 0, 0, startMs);
    c.EndPos = MakePackedPosition(1, 0, 0, endMs);
    c.TimeFormat = format;
    cards.Add(c);
}

// Three cards: 1.0-2.0 s, 2.0-3.5 s (touching), 4.0-5.0 s.
void ThreeCards(TUndoPlayCardList& cards)
{
    AddCard(cards, 1000, 2000);
    AddCard(cards, 2000, 3500);
    AddCard(cards, 4000, 5000);
}

std::vector<TCardTimes> Times(const TPlayCardList& cards)
{
    std::vector<TCardTimes> times;
    for (int i = 0; i < cards.Count(); ++i)
        times.push_back({cards.StartUnits(i), cards.EndUnits(i)});
    return times;
}

}  // namespace

TEST(UndoPlayCardList, RecordsOnlyWhenEnabledAndUndoesAGroupAsOneEntry)
{
    TUndoPlayCardList cards;
    ThreeCards(cards);
    cards.SetMainText(0, "not recorded");
    EXPECT_TRUE(cards.Entries().empty());
    EXPECT_FALSE(cards.Undo());

    cards.UndoEnabled = true;
    cards.SetSubText(1, "訳");
    cards.BeginChange("both");
    cards.SetStartPos(0, MakePackedPosition(1, 0, 0, 900));
    cards.SetStartPos(0, MakePackedPosition(1, 0, 0, 800));
    cards.SetEndPos(2, MakePackedPosition(1, 0, 0, 6000));
    cards.EndChange();
    cards.BeginChange("nothing");
    cards.SetEndPos(2, MakePackedPosition(1, 0, 0, 6000));
    cards.EndChange();
    ASSERT_EQ(cards.Entries().size(), 2u) << "a group that changed nothing leaves no entry";
    EXPECT_EQ(cards.Descriptions[0], "SubText of card 2");
    EXPECT_EQ(cards.Descriptions[1], "both");

    int notified = 0;
    cards.OnChange = [&](TPlayCards&) { ++notified; };
    EXPECT_TRUE(cards.Undo());
    EXPECT_EQ(notified, 1);
    EXPECT_EQ(cards.StartUnits(0), 1000) << "the value before the group, not the one in between";
    EXPECT_EQ(cards.EndUnits(2), 5000);
    EXPECT_EQ(cards.Card(1).SubText, "訳");
    EXPECT_TRUE(cards.Undo());
    EXPECT_EQ(cards.Card(1).SubText, "");
    EXPECT_EQ(cards.Descriptions.Count(), 0);

    cards.SetSubText(1, "again");
    cards.Delete(2);
    EXPECT_TRUE(cards.Entries().empty()) << "indexes of a list that changed shape name other cards";
}

TEST(CardAdjustment, ShiftMovesEveryCardNeverBeforeZeroAndUndoes)
{
    TUndoPlayCardList cards;
    ThreeCards(cards);
    AddCard(cards, 10, 20, otfTMSF);
    const TPlayCardItem cd = cards.Card(3);
    TCardAdjustment adjust;
    adjust.Open(cards);
    EXPECT_TRUE(adjust.Shift(50));
    EXPECT_TRUE(adjust.Shift(1000));
    EXPECT_EQ(Times(cards)[0], (TCardTimes{2050, 3050}));
    EXPECT_EQ(Times(cards)[2], (TCardTimes{5050, 6050}));
    EXPECT_EQ(cards.Card(3), cd) << "cards not counted in milliseconds stay";
    EXPECT_EQ(cards.Entries().size(), 2u) << "one entry per step over all cards";

    EXPECT_TRUE(adjust.Shift(-5000));
    EXPECT_EQ(Times(cards)[0].Start, 0) << "stops where the first card reaches 0";
    EXPECT_EQ(adjust.Timing().ShiftMs, -1000);
    EXPECT_FALSE(adjust.Shift(-50));

    EXPECT_TRUE(adjust.Undo());
    EXPECT_TRUE(adjust.Undo());
    EXPECT_EQ(adjust.Timing().ShiftMs, 50);
    EXPECT_EQ(Times(cards)[1], (TCardTimes{2050, 3550}));
    EXPECT_EQ(PackedMedia(cards.Card(1).StartPos), 1u);

    // A card taken out of the list: the rest move from where they are now, not by index.
    cards.Delete(0);
    EXPECT_TRUE(adjust.Shift(100));
    EXPECT_EQ(Times(cards)[0], (TCardTimes{2150, 3650}));
    EXPECT_EQ(adjust.Timing().ShiftMs, 100);
}

TEST(CardAdjustment, NudgePushesTheNeighbourUntilItIsShortestThenStops)
{
    TUndoPlayCardList cards;
    ThreeCards(cards);
    TCardAdjustment adjust;
    adjust.Open(cards);
    // Card 2's start earlier pushes card 1's end back with it.
    EXPECT_TRUE(adjust.Nudge(1, TCardEdge::Start, -50));
    EXPECT_EQ(Times(cards)[0], (TCardTimes{1000, 1950}));
    EXPECT_EQ(Times(cards)[1], (TCardTimes{1950, 3500}));
    for (int k = 0; k < 40; ++k)
        adjust.Nudge(1, TCardEdge::Start, -50);
    EXPECT_EQ(Times(cards)[0], (TCardTimes{1000, 1000 + ShortestCardMs}));
    EXPECT_EQ(Times(cards)[1].Start, 1000 + ShortestCardMs);

    // Card 2's end later goes into the gap, then pushes card 3's start.
    for (int k = 0; k < 12; ++k)
        adjust.Nudge(1, TCardEdge::End, 50);
    EXPECT_EQ(Times(cards)[1].End, 4100);
    EXPECT_EQ(Times(cards)[2], (TCardTimes{4100, 5000}));
    // Never shorter than the shortest card, never before 0.
    for (int k = 0; k < 100; ++k)
        adjust.Nudge(2, TCardEdge::End, -50);
    EXPECT_EQ(Times(cards)[2], (TCardTimes{4100, 4100 + ShortestCardMs}));
    for (int k = 0; k < 30; ++k)
        adjust.Nudge(0, TCardEdge::Start, -50);
    EXPECT_EQ(Times(cards)[0].Start, 0);

    // The nudges and the shift compose, and undo walks back one change at a time.
    adjust.Shift(1000);
    EXPECT_EQ(Times(cards)[1].Start, 2000 + ShortestCardMs);
    while (adjust.Undo()) {
    }
    EXPECT_EQ(Times(cards), (std::vector<TCardTimes>{{1000, 2000}, {2000, 3500}, {4000, 5000}}));
    EXPECT_EQ(adjust.Timing(), TCardTiming{});
}

TEST(CardAdjustment, SyncComposesWithTheShiftAndTheNudges)
{
    TUndoPlayCardList cards;
    ThreeCards(cards);
    TCardAdjustment adjust;
    adjust.Open(cards);
    adjust.Shift(1000);
    adjust.Nudge(2, TCardEdge::End, 50);
    // The cards now at t are spoken at t * 1.1 - 500.
    EXPECT_TRUE(adjust.Sync(-500, 1.1));
    EXPECT_EQ(Times(cards)[0], (TCardTimes{1700, 2800}));
    EXPECT_EQ(Times(cards)[2], (TCardTimes{5000, 6155}));
    EXPECT_EQ(adjust.Timing().ShiftMs, 0);
    EXPECT_EQ(cards.Entries().size(), 3u);
    EXPECT_TRUE(adjust.Undo());
    EXPECT_EQ(Times(cards)[2], (TCardTimes{5000, 6050}));

    // A change of another kind in between is undone without touching the timing.
    cards.SetSubText(0, "訳");
    EXPECT_TRUE(adjust.Undo());
    EXPECT_EQ(cards.Card(0).SubText, "");
    EXPECT_EQ(adjust.Timing().Nudges.size(), 1u);
    EXPECT_TRUE(adjust.Undo());
    EXPECT_TRUE(adjust.Timing().Nudges.empty());
    EXPECT_EQ(adjust.Timing().ShiftMs, 1000);
    EXPECT_EQ(Times(cards)[2], (TCardTimes{5000, 6000}));
}

TEST(CardAdjustment, KeptTimingComesBackWithoutStaleNudgesOrHostileValues)
{
    TUndoPlayCardList cards;
    ThreeCards(cards);
    TCardAdjustment adjust;
    adjust.Open(cards);
    adjust.Sync(250, 1.0);
    adjust.Shift(-50);
    adjust.Nudge(0, TCardEdge::End, 100);
    adjust.Nudge(2, TCardEdge::Start, -50);
    TTitleProgress progress;
    progress.Timing = adjust.Timing();
    TDataFile file("");
    WriteTitleProgress(file, "T", progress);
    ASSERT_EQ(ReadTitleProgress(file, "T").Timing, adjust.Timing());

    // Made again from other subtitles: card 3 is not what it was; card 1 still is.
    TUndoPlayCardList remade;
    AddCard(remade, 1000, 2000);
    AddCard(remade, 2000, 3500);
    AddCard(remade, 4100, 5000);
    TCardAdjustment opened;
    opened.Open(remade);
    opened.Restore(ReadTitleProgress(file, "T").Timing);
    EXPECT_EQ(Times(remade), (std::vector<TCardTimes>{{1200, 2300}, {2300, 3700}, {4300, 5200}}));
    EXPECT_TRUE(remade.Entries().empty()) << "what was kept is not a change to undo";
    EXPECT_FALSE(opened.Undo());

    // Fewer nudges than before: the ones left over are blanked, not read back.
    adjust.Undo();
    progress.Timing = adjust.Timing();
    WriteTitleProgress(file, "T", progress);
    EXPECT_EQ(ReadTitleProgress(file, "T").Timing.Nudges.size(), 2u);
    EXPECT_EQ(file.ReadString(TitleProgressSection("T"), "Nudge3", "gone"), "");

    TDataFile hostile("");
    for (const char* line : {"[Title H]", "CardShift=999999999", "SyncOffset=nan", "SyncRate=1e308", "Nudges=3",
                             "Nudge1=-1,0,10,5,5", "Nudge2=1,0,10,5", "Nudge3=2,0,10,99999999999,0"})
        hostile.Add(line);
    EXPECT_EQ(ReadTitleProgress(hostile, "H").Timing, TCardTiming{});
}
