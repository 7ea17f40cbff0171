#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "lesson/lesson_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"
#include "timing/positions.h"

using namespace olve;

namespace {

// A lesson on a real player with fake sinks: decoding and timing are real, no sound card.
class LessonPlayer : public testing::Test {
protected:
    TTempFolder Folder;
    TPlayPackage Package;
    TLessonPlayer Lesson;

    void SetUp() override
    {
        ASSERT_TRUE(MakeWav(Folder / "tone.wav", 6));
        Lesson.Player().AudioSink = "fakesink sync=true";
        Lesson.Player().FileName = QString::fromStdString(Folder / "tone.wav");
        Lesson.Player().Open();
        ASSERT_NE(Lesson.Player().DeviceID(), 0);
    }
    void TearDown() override { Lesson.Player().Close(); }
    void AddCard(int start, int end, const std::string& main = "card", const std::string& data = "")
    {
        TPlayCardItem card;
        card.MainText = main;
        card.DataText = data;
        card.StartPos = MakePackedPosition(1, 0, 0, start);
        card.EndPos = MakePackedPosition(1, 0, 0, end);
        card.TimeFormat = otfTrackMilliseconds;
        Package.MainCards.AddRec(card);
    }
    void OpenFourCards()
    {
        for (const auto& [start, end] : {std::pair{100, 1000}, {1000, 2000}, {2000, 3000}, {3000, 4000}})
            AddCard(start, end);
        Lesson.Open(Package);
    }
    // Lets the play run (the lesson ticks by itself) until done holds.
    static bool PlayUntil(const std::function<bool()>& done, int ms = 4000) { return WaitUntil(done, ms); }
    bool Stopped() { return Lesson.Player().Mode() == mpStopped; }
};

}  // namespace

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

// The stop / new end / play sequence: automatic pause switched on while a play runs through
// the cards cuts it at the current card's end, and off lets it run on.
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
    Lesson.SetAutoPause(true);
    ASSERT_TRUE(PlayUntil([&] { return Stopped(); }, 3000));
    EXPECT_EQ(Lesson.Player().Position(), 2000);
    EXPECT_EQ(Lesson.CurrentCard(), 1);
}

// Repeats play the card again; a shadowing pause waits before the next, and a stop ends the
// wait. Texts shown once heard show after the card has been heard.
TEST_F(LessonPlayer, PracticeRepeatsWaitsAndRevealsWhatWasHeard)
{
    AddCard(100, 500);
    AddCard(500, 900);
    Lesson.Open(Package);
    TPracticeSettings practice;
    practice.Repeats = 2;
    practice.ShadowTenths = 20;
    practice.English = TReveal::AfterHearing;
    Lesson.SetPractice(practice);
    int started = 0;
    QObject::connect(&Lesson, &TLessonPlayer::PlayStarted, [&](int) { ++started; });
    Lesson.PlayCard(0);
    EXPECT_FALSE(Lesson.Shows(TTextLanguage::English, 0));
    ASSERT_TRUE(PlayUntil([&] { return Lesson.WaitingCard() >= 0; }));
    EXPECT_EQ(Lesson.WaitingCard(), 0) << "the second hearing of the card waits first";
    EXPECT_TRUE(Lesson.Shows(TTextLanguage::English, 0));
    ASSERT_TRUE(PlayUntil([&] { return Lesson.WaitingCard() == 1; }, 6000)) << "then the next card";
    EXPECT_EQ(started, 2);
    Lesson.Stop();
    EXPECT_EQ(Lesson.WaitingCard(), -1);
    EXPECT_FALSE(PlayUntil([&] { return started > 2; }, 1200)) << "nothing plays after a stop";
}

// A seek while stopped shows the card there; while playing it plays on from the position.
// The arrow keys step a word when the card times its words.
TEST_F(LessonPlayer, SeeksShowOrPlayTheCardAtThePosition)
{
    AddCard(100, 1600, "Good morning sun", "WTM=0:0;5:500;13:1000");
    AddCard(1600, 3000, "two");
    AddCard(3000, 4000, "three");
    Lesson.Open(Package);
    std::vector<std::int64_t> sought;
    QObject::connect(&Lesson, &TLessonPlayer::Sought, [&](std::int64_t position) { sought.push_back(position); });
    Lesson.SeekTo(3500);
    EXPECT_EQ(Lesson.CurrentCard(), 2);
    EXPECT_TRUE(Stopped());
    EXPECT_EQ(sought, std::vector<std::int64_t>{3500});

    Lesson.SeekTo(1300);
    Lesson.StepSeek(-1);
    EXPECT_EQ(Lesson.ShownPosition(), 600) << "back to the start of the word spoken at 1.3 s";
    Lesson.StepSeek(1);
    EXPECT_EQ(Lesson.ShownPosition(), 1100);

    Lesson.SetAutoPause(true);
    Lesson.PlayCard(0);
    Lesson.SeekTo(2500);
    EXPECT_EQ(Lesson.Player().Mode(), mpPlaying);
    EXPECT_GE(Lesson.Player().Position(), 2400);
    EXPECT_EQ(Lesson.Player().EndPos(), 3000) << "the card's end, as automatic pause plays";
    ASSERT_TRUE(PlayUntil([&] { return Stopped(); }, 3000));
    EXPECT_EQ(Lesson.CurrentCard(), 1);
}

TEST_F(LessonPlayer, AClickOnAWordPlaysItsCardFromThatWord)
{
    AddCard(100, 1600, "Good morning sun", "WTM=0:0;5:500;13:1000");
    AddCard(1600, 3000, "Good morning sun", "SST=0,SLG=4");
    Lesson.Open(Package);
    Lesson.ClickAt("Good morning sun", 14);
    EXPECT_EQ(Lesson.Player().Mode(), mpPlaying);
    EXPECT_GE(Lesson.Player().Position(), 1100);
    EXPECT_LT(Lesson.Player().Position(), 1500) << "from the word, not the card's start";
    Lesson.Stop();
    Lesson.ClickAt("another text", 1);
    EXPECT_TRUE(Stopped()) << "a text no card shows plays nothing";
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
