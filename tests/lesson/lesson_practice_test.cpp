#include <gtest/gtest.h>

#include <vector>

#include "lesson/lesson_fixture.h"

using namespace olve;

// The stop / new end / play sequence: automatic pause switched on while a play runs through
// the cards cuts it at the current card's end, and off lets it run on; practice that begins
// or stops going card by card does the same.
TEST_F(LessonPlayer, AutomaticPauseMovesTheRunningPlaysEnd)
{
    OpenFourCards();
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 1; }));
    Lesson.SetAutoPause(true);
    EXPECT_EQ(Lesson.Player().Mode(), mpPlaying);
    EXPECT_EQ(Lesson.Player().EndPos(), 2000);
    Lesson.SetAutoPause(false);
    EXPECT_EQ(Lesson.Player().EndPos(), 4000);

    TPracticeSettings repeats;
    repeats.Repeats = 2;
    Lesson.SetPractice(repeats);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(Lesson.Player().EndPos(), Lesson.Timeline().EndOf(Lesson.CurrentCard()));
    Lesson.SetPractice({});
    EXPECT_EQ(Lesson.Player().EndPos(), 4000);

    Lesson.SetAutoPause(true);
    const int card = Lesson.CurrentCard();
    ASSERT_TRUE(PlayUntil([&] { return Stopped(); }, 3000));
    EXPECT_EQ(Lesson.Player().Position(), Lesson.Timeline().EndOf(card));
    EXPECT_EQ(Lesson.CurrentCard(), card);
}

// Repeats play the card again; a shadowing pause waits before the next, and a stop ends the
// wait. Texts shown once heard show after the card has been heard; hidden texts never show.
TEST_F(LessonPlayer, PracticeRepeatsWaitsAndRevealsWhatWasHeard)
{
    AddCard(100, 500);
    AddCard(500, 900);
    Lesson.Open(Package);
    TPracticeSettings practice;
    practice.Repeats = 2;
    practice.ShadowTenths = 20;
    practice.English = TReveal::AfterHearing;
    practice.Japanese = TReveal::Hidden;
    Lesson.SetPractice(practice);
    int started = 0;
    QObject::connect(&Lesson, &TLessonPlayer::PlayStarted, [&](int) { ++started; });
    Lesson.PlayCard(0);
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 0));
    ASSERT_TRUE(PlayUntil([&] { return Lesson.WaitingCard() >= 0; }));
    EXPECT_EQ(Lesson.WaitingCard(), 0) << "the second hearing of the card waits first";
    EXPECT_TRUE(Lesson.Shows(TTextLanguage::English, 0));
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::Japanese, 0));
    ASSERT_TRUE(PlayUntil([&] { return Lesson.WaitingCard() == 1; }, 6000)) << "then the next card";
    EXPECT_EQ(started, 2);
    Lesson.Stop();
    EXPECT_EQ(Lesson.WaitingCard(), -1);
    EXPECT_FALSE(PlayUntil([&] { return started > 2; }, 1200)) << "nothing plays after a stop";
}

// A text shown once heard counts only the hearings made while it waited hidden: a card passed
// before is heard again first, whether the play runs through the cards or goes card by card.
TEST_F(LessonPlayer, APracticePassCountsOnlyWhatWasHeardWithTheTextHidden)
{
    OpenFourCards();
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 1; }));
    TPracticeSettings practice;
    practice.English = TReveal::AfterHearing;
    Lesson.SetPractice(practice);
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 2; }));
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 0)) << "heard with its text showing";
    EXPECT_TRUE(Lesson.Shows(TTextLanguage::English, 1)) << "passed while it waited";
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 2));

    practice.Loop = true;
    Lesson.SetPractice(practice);
    Lesson.PlayCard(0);
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 0));
    EXPECT_TRUE(PlayUntil([&] { return Lesson.Shows(TTextLanguage::English, 0); }, 2000));
}

// A speed change goes on with the running play at the new speed, within the player's range.
TEST_F(LessonPlayer, ASpeedChangeKeepsTheRunningPlayWithinTheRange)
{
    OpenFourCards();
    std::vector<int> told;
    QObject::connect(&Lesson, &TLessonPlayer::SpeedChanged, [&](int tenths) { told.push_back(tenths); });
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 0; }));
    Lesson.SetSpeedTenths(7);
    EXPECT_DOUBLE_EQ(Lesson.Player().Speed(), 0.7);
    EXPECT_TRUE(Playing()) << "the play goes on at the new speed";
    const int at = Lesson.Player().Position();
    EXPECT_TRUE(PlayUntil([&] { return Lesson.Player().Position() > at + 200; }, 1000));
    Lesson.SetSpeedTenths(1);
    EXPECT_DOUBLE_EQ(Lesson.Player().Speed(), 0.5);
    Lesson.SetSpeedTenths(40);
    EXPECT_DOUBLE_EQ(Lesson.Player().Speed(), 1.5);
    EXPECT_EQ(Lesson.SpeedTenths(), 15);
    EXPECT_TRUE(Playing());
    EXPECT_EQ(told, (std::vector<int>{7, 5, 15}));
}

// The loop plays its cards over and over, and belongs to the cards of the title it was chosen
// in: another title opens without it.
TEST_F(LessonPlayer, TheLoopRepeatsItsCardsAndEndsWithTheTitle)
{
    OpenFourCards();
    std::vector<int> started;
    int told = 0;
    QObject::connect(&Lesson, &TLessonPlayer::PlayStarted, [&](int card) { started.push_back(card); });
    QObject::connect(&Lesson, &TLessonPlayer::PracticeChanged, [&] { ++told; });
    Lesson.ToggleLoop(1, 2);
    Lesson.PlayCard(1);
    ASSERT_TRUE(PlayUntil([&] { return started.size() >= 3; }, 5000));
    EXPECT_EQ(started, (std::vector<int>{1, 2, 1}));
    Lesson.Stop();

    TPlayPackage other;
    other.MainCards.AddRec(MakeCard(100, 1000));
    told = 0;
    Lesson.Open(other);
    EXPECT_FALSE(Lesson.Practice().Loop);
    EXPECT_EQ(told, 1);
    // Back to the fixture's title before the other one goes.
    Lesson.Open(Package);
}
