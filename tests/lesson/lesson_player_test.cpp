#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "lesson/lesson_fixture.h"

using namespace olve;

TEST_F(LessonPlayer, TheButtonsStepThroughTheCardsAndSayWhenNoneIsLeft)
{
    OpenFourCards();
    int top = 0, none = 0;
    std::vector<std::pair<int, bool>> shown;
    QObject::connect(&Lesson, &TLessonPlayer::TopShown, [&] { ++top; });
    QObject::connect(&Lesson, &TLessonPlayer::NoMoreCards, [&] { ++none; });
    QObject::connect(&Lesson, &TLessonPlayer::CardShown,
                     [&](int card, std::int64_t, bool changed) { shown.emplace_back(card, changed); });
    Lesson.Back();
    EXPECT_EQ(top, 1) << "back from no card plays from the top";
    ASSERT_TRUE(PlayUntil([&] { return !shown.empty(); }));
    EXPECT_EQ(shown.front(), std::pair(0, true)) << "then its first card becomes current";
    Lesson.Back();
    EXPECT_EQ(top, 2) << "back from the first card plays from the top too";
    EXPECT_EQ(Lesson.CurrentCard(), 0) << "and the first card shows at once";

    Lesson.SetAutoPause(true);
    Lesson.PlayCard(3);
    EXPECT_EQ(Lesson.Player().EndPos(), 4000);
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 3; }));
    Lesson.Next();
    EXPECT_EQ(none, 1);
    Lesson.Back();
    EXPECT_EQ(Lesson.Player().EndPos(), 3000);
    EXPECT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 2; }));
}

// From the top the play runs through every card and rests at the last one's end; a recording
// that begins before the first card plays from its beginning, with no card current yet.
TEST_F(LessonPlayer, ThePlayFromTheTopFollowsEveryCardAndRestsAtTheLastEnd)
{
    OpenFourCards();
    std::vector<int> current;
    std::vector<bool> running;
    QObject::connect(&Lesson, &TLessonPlayer::CardShown, [&](int card, std::int64_t, bool changed) {
        if (changed)
            current.push_back(card);
    });
    QObject::connect(&Lesson, &TLessonPlayer::Running, [&](bool on) { running.push_back(on); });
    Lesson.Top();
    EXPECT_TRUE(Lesson.TickTimer()->isActive());
    ASSERT_TRUE(PlayUntil([&] { return !Lesson.TickTimer()->isActive(); }, 6000));
    EXPECT_EQ(current, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(Lesson.Player().Position(), 4000);
    ASSERT_FALSE(running.empty());
    EXPECT_FALSE(running.back());

    int changes = 0;
    QObject::connect(&Lesson, &TLessonPlayer::CardsChanged, [&] { ++changes; });
    Package.MainCards.SetMainText(3, "other words");
    EXPECT_EQ(changes, 1) << "what shows of the cards is drawn anew";
    Package.VcdCards.AddRec(MakeCard(0, 6000));
    EXPECT_EQ(changes, 2);
    Lesson.Top();
    EXPECT_EQ(Lesson.CurrentCard(), -1);
    EXPECT_LT(Lesson.Player().Position(), 100);
    EXPECT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 0; }, 1000));
}

// Of cards that overlap, the first holding the position is the current one.
TEST_F(LessonPlayer, OfOverlappingCardsTheFirstIsCurrent)
{
    AddCard(100, 3000, "Whole sentence");
    AddCard(100, 2000, "Part");
    Lesson.Open(Package);
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.Player().Position() > 500; }));
    Lesson.TickNow();
    EXPECT_EQ(Lesson.CurrentCard(), 0);
}

// A pause holds the play where it is; the pause key or the play key lets it go on from
// there, a seek or a stop ends it. Otherwise the play key plays the card chosen in the list.
// Automatic pause rests at each card's end.
TEST_F(LessonPlayer, APauseHoldsThePlayUntilItGoesOnOrEnds)
{
    OpenFourCards();
    std::vector<bool> paused;
    QObject::connect(&Lesson, &TLessonPlayer::PauseChanged, [&](bool on) { paused.push_back(on); });
    Lesson.SetAutoPause(true);
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return RestsAt(1000); }));
    Lesson.Next();
    ASSERT_TRUE(PlayUntil([&] { return RestsAt(2000); }));
    EXPECT_EQ(Lesson.CurrentCard(), 1);
    Lesson.Back();
    ASSERT_TRUE(PlayUntil([&] { return RestsAt(1000); }));
    EXPECT_EQ(Lesson.CurrentCard(), 0);

    Lesson.Here();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.Player().Position() >= 400; }));
    Lesson.Pause();
    EXPECT_EQ(Lesson.Player().Mode(), mpPaused);
    EXPECT_FALSE(Lesson.TickTimer()->isActive());
    const int held = Lesson.Player().Position();
    PlayUntil([] { return false; }, 300);
    EXPECT_EQ(Lesson.Player().Position(), held);
    Lesson.Here(3);
    EXPECT_TRUE(Playing());
    EXPECT_GE(Lesson.Player().Position(), held) << "on from where it was held, not from the card chosen";
    Lesson.Pause();
    Lesson.Pause();
    EXPECT_TRUE(Playing());
    EXPECT_TRUE(Lesson.TickTimer()->isActive());
    EXPECT_EQ(paused, (std::vector<bool>{true, false, true, false}));

    Lesson.Pause();
    Lesson.SeekTo(2500);
    EXPECT_TRUE(Stopped()) << "a seek does not go on with the pause";
    EXPECT_EQ(Lesson.CurrentCard(), 2);
    EXPECT_FALSE(paused.back());
    Lesson.Here(3);
    ASSERT_TRUE(Playing());
    EXPECT_EQ(Lesson.Player().EndPos(), 4000) << "the card chosen in the list plays";
    Lesson.Stop();
    EXPECT_TRUE(Stopped());
    EXPECT_TRUE(PlayUntil([&] { return !Lesson.TickTimer()->isActive(); }, 1000));
}

// Resumed just after a card's start, the play goes on with that card, not the one before.
TEST_F(LessonPlayer, APlayResumedJustAfterACardsStartStaysOnThatCard)
{
    OpenFourCards();
    Lesson.Top();
    ASSERT_TRUE(PlayUntil([&] { return Lesson.CurrentCard() == 1 && Lesson.Player().Position() >= 1010; }));
    Lesson.Pause();
    std::vector<int> shown;
    QObject::connect(&Lesson, &TLessonPlayer::CardShown, [&](int card, std::int64_t, bool) { shown.push_back(card); });
    Lesson.Pause();
    PlayUntil([] { return false; }, 300);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(std::count(shown.begin(), shown.end(), 0), 0) << "the card before showed again";
    EXPECT_EQ(Lesson.CurrentCard(), 1);
}

// Without a recording there is nothing to play: no command starts a play or the ticks.
TEST(LessonWithoutRecording, NoCommandPlays)
{
    TPlayPackage package;
    TLessonPlayer lesson;
    int started = 0;
    QObject::connect(&lesson, &TLessonPlayer::PlayStarted, [&](int) { ++started; });
    for (int pass = 0; pass < 2; ++pass) {
        EXPECT_FALSE(lesson.CanPlay());
        lesson.PlayCard(0);
        lesson.Top();
        lesson.Here();
        lesson.Next();
        lesson.Pause();
        lesson.SeekTo(500);
        lesson.StepSeek(1);
        lesson.ClickAt("card", 1);
        lesson.SetAutoPause(true);
        lesson.TickNow();
        EXPECT_FALSE(lesson.TickTimer()->isActive());
        EXPECT_EQ(started, 0);
        TPlayCardItem card;
        card.MainText = "card";
        card.EndPos = MakePackedPosition(1, 0, 0, 1000);
        card.TimeFormat = otfTrackMilliseconds;
        package.MainCards.AddRec(card);
        lesson.Open(package);
    }
}

// A play that failed was not heard: its reason is told, and no repeat or next card follows.
TEST_F(LessonPlayer, AFailedPlayIsToldAndNothingFollowsIt)
{
    ASSERT_TRUE(MakeOggWithDamagedHeader(Folder / "damaged.ogg", 3));
    Lesson.Player().Close();
    Lesson.Player().FileName = QString::fromStdString(Folder / "damaged.ogg");
    Lesson.Player().Open();
    AddCard(100, 1000);
    AddCard(1000, 2000);
    Lesson.Open(Package);
    TPracticeSettings practice;
    practice.Repeats = 2;
    practice.English = TReveal::AfterHearing;
    Lesson.SetPractice(practice);
    QStringList failures;
    QObject::connect(&Lesson, &TLessonPlayer::PlayFailed, [&](const QString& reason) { failures << reason; });
    Lesson.PlayCard(0);
    ASSERT_TRUE(PlayUntil([&] { return !failures.isEmpty(); }, 5000));
    EXPECT_FALSE(failures.first().isEmpty());
    EXPECT_FALSE(PlayUntil([&] { return Lesson.WaitingCard() >= 0 || Lesson.Player().Mode() == mpPlaying; }, 800));
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 0)) << "not heard";
}
