#include <gtest/gtest.h>

#include "timing/positions.h"
#include "title/card_seek.h"
#include "title/play_card_list.h"

using namespace olve;

namespace {

TPlayCardItem Card(std::uint32_t startMs, std::uint32_t endMs, const std::string& main, const std::string& data = "")
{
    TPlayCardItem c;
    c.MainText = main;
    c.DataText = data;
    c.StartPos = MakePackedPosition(1, 0, 0, startMs);
    c.EndPos = MakePackedPosition(1, 0, 0, endMs);
    c.TimeFormat = otfTrackMilliseconds;
    return c;
}

// A card at 1000-3000 ms whose words begin at 1200, 1600, 2100 and 2400 ms, one without word
// times at 3000-4000 ms, and one after a gap at 5000-6000 ms.
TCardTimeline Title()
{
    TPlayCardList main;
    main.AddRec(Card(1000, 3000, "Good morning! The sun is up.", "TAG=x,WTM=0:200;5:600;14:1100;18:1400"));
    main.AddRec(Card(3000, 4000, "No times"));
    main.AddRec(Card(5000, 6000, "After a gap"));
    TCardTimeline timeline;
    timeline.Assign(main, TPlayCardList());
    return timeline;
}

constexpr std::int64_t Length = 7000;

}  // namespace

TEST(CardSeek, TheCardShownIsTheOneHeardFromThePosition)
{
    const TCardTimeline t = Title();
    EXPECT_EQ(SeekTarget(t, 3500), (TSeekTarget{1, 3500})) << "the card holding it";
    EXPECT_EQ(SeekTarget(t, 3000), (TSeekTarget{1, 3000})) << "a card's start is its own, not the one before";
    EXPECT_EQ(SeekTarget(t, 4500), (TSeekTarget{2, 4500})) << "in a gap: the card that comes next";
    EXPECT_EQ(SeekTarget(t, 0), (TSeekTarget{0, 0})) << "before the first card";
    EXPECT_EQ(SeekTarget(t, 6500), (TSeekTarget{2, 6500})) << "past the last card";
    EXPECT_EQ(SeekTarget(TCardTimeline(), 10).Card, -1);

    EXPECT_EQ(PositionAtX(50, 200, Length), 1750);
    EXPECT_EQ(PositionAtX(-5, 200, Length), 0) << "a drag past either end stays on the bar";
    EXPECT_EQ(PositionAtX(260, 200, Length), Length);
    EXPECT_EQ(PositionAtX(10, 0, Length), 0);
}

TEST(CardSeek, TheKeysStepFromWordToWordOrByTwoSeconds)
{
    const TCardTimeline t = Title();
    EXPECT_EQ(StepTarget(t, 1700, 1, Length), 2100) << "the next word";
    EXPECT_EQ(StepTarget(t, 1700, -1, Length), 1200) << "the word before the one being spoken";
    EXPECT_EQ(StepTarget(t, 1600, -1, Length), 1200) << "at a word's start";
    EXPECT_EQ(StepTarget(t, 1250, -1, Length), 1000) << "the card's start comes before its first word";
    EXPECT_EQ(StepTarget(t, 1000, 1, Length), 1200);
    EXPECT_EQ(StepTarget(t, 1000, -1, Length), 1000) << "nothing comes before the first card";
    EXPECT_EQ(StepTarget(t, 2500, 1, Length), 3000) << "after the last word: the next card";

    EXPECT_EQ(StepTarget(t, 3500, 1, Length), 5500) << "without word times: two seconds";
    EXPECT_EQ(StepTarget(t, 3500, -1, Length), 1500) << "even into a card with word times";
    EXPECT_EQ(StepTarget(t, 6000, 1, Length), Length) << "not past the recording's end";
    EXPECT_EQ(StepTarget(TCardTimeline(), 500, -1, Length), 0);
}
