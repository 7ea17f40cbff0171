#include <gtest/gtest.h>

#include "timing/positions.h"
#include "title/practice_run.h"

using namespace olve;

namespace {

// Four cards of one second each from 0 ms.
TCardTimeline FourCards()
{
    TPlayCardList main;
    for (std::uint32_t s : {0u, 1000u, 2000u, 3000u}) {
        TPlayCardItem c;
        c.StartPos = MakePackedPosition(1, 0, 0, s);
        c.EndPos = MakePackedPosition(1, 0, 0, s + 1000);
        c.TimeFormat = otfTrackMilliseconds;
        main.AddRec(c);
    }
    TCardTimeline t;
    t.Assign(main, TPlayCardList());
    return t;
}

TNextPlay Play(int card, std::int64_t wait = 0) { return {false, card, wait}; }

}  // namespace

TEST(Practice, EachCardIsHeardAsOftenAsAskedAndNextOrBackCountsAnew)
{
    const TCardTimeline t = FourCards();
    TPracticeRun run;
    run.Reset(t.Count());
    TPracticeSettings s;
    s.Repeats = 2;
    run.Begin(0);
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(0));
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(1));
    run.Begin(3);  // next pressed twice while card 1 played
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(3)) << "the new card's hearings count from none";
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), TNextPlay{}) << "past the last card";
    run.Begin(2);
    EXPECT_EQ(run.CardEnded(s, t, true, 1.0), Play(2));
    EXPECT_EQ(run.CardEnded(s, t, true, 1.0), TNextPlay{}) << "automatic pause stops after the hearings";
    s.Repeats = 0;
    run.Begin(0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(0)) << "endless";
}

TEST(Practice, TheShadowingWaitIsTheCardAsHeardTimesTheFactor)
{
    EXPECT_EQ(ShadowWaitMs(1000, 1.0, 10), 1000);
    EXPECT_EQ(ShadowWaitMs(1000, 0.5, 15), 3000) << "half the speed takes twice as long to say";
    EXPECT_EQ(ShadowWaitMs(1300, 1.3, 5), 500);
    EXPECT_EQ(ShadowWaitMs(1000, 1.0, 0), 0);
    const TCardTimeline t = FourCards();
    TPracticeRun run;
    run.Reset(t.Count());
    TPracticeSettings s;
    s.ShadowTenths = 20;
    run.Begin(1);
    EXPECT_EQ(run.CardEnded(s, t, false, 0.8), Play(2, 2500)) << "pause, then continue";
    EXPECT_EQ(run.CardEnded(s, t, true, 0.8), TNextPlay{}) << "automatic pause still stops";
    EXPECT_EQ(NextShadowTenths(20), 0);
    EXPECT_EQ(NextRepeats(5), 0);
    EXPECT_EQ(NextRepeats(0), 1);
}

TEST(Practice, AHiddenTextShowsOnceItsCardHasBeenHeardWhileItWaited)
{
    const TCardTimeline t = FourCards();
    TPracticeRun run;
    run.Reset(t.Count());
    TPracticeSettings s;
    s.English = TReveal::AfterHearing;
    const auto english = TTextLanguage::English;
    const auto japanese = TTextLanguage::Japanese;
    run.Begin(0);
    EXPECT_TRUE(run.Shows(TReveal::Shown, english, 0));
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, english, 0));
    run.CardEnded(s, t, true, 1.0);
    EXPECT_TRUE(run.Shows(TReveal::AfterHearing, english, 0));
    EXPECT_FALSE(run.Shows(TReveal::Hidden, english, 0));
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, japanese, 0)) << "the Japanese text was showing anyway";
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, english, 1));
    run.MarkHeard(1, s);
    EXPECT_TRUE(run.Shows(TReveal::AfterHearing, english, 1)) << "heard in a play running through the cards";

    run.MarkHeard(2, TPracticeSettings{});
    s.Japanese = TReveal::AfterHearing;
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, english, 2)) << "heard with both texts showing";
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, japanese, 1)) << "heard before the Japanese text waited";
    run.MarkHeard(2, s);
    EXPECT_TRUE(run.Shows(TReveal::AfterHearing, japanese, 2));
    run.Reset(t.Count());
    EXPECT_FALSE(run.Shows(TReveal::AfterHearing, english, 0)) << "another title";
    EXPECT_EQ(NextReveal(TReveal::Hidden), TReveal::Shown);
}

TEST(Practice, ALoopGoesBackToTheFirstCardOfItsRange)
{
    const TCardTimeline t = FourCards();
    TPracticeRun run;
    run.Reset(t.Count());
    TPracticeSettings s;
    s.Loop = true;
    run.Begin(2);
    EXPECT_EQ(run.CardEnded(s, t, true, 1.0), Play(2)) << "the current card alone, automatic pause or not";
    run.SetLoopRange(3, 1);
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(3));
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(1)) << "from the range's last card to its first";
    run.Begin(2);
    EXPECT_EQ(run.LoopFirst(), 1) << "a card inside the range keeps it";
    run.Begin(0);
    EXPECT_EQ(run.CardEnded(s, t, false, 1.0), Play(0)) << "a card outside becomes the range";
}
