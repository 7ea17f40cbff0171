#include "lesson_fixture.h"

using namespace olve;

TEST_F(LessonPlayer, ShiftAndNudgeMoveWhatIsPlayedAndAreKeptAndTakenBack)
{
    OpenFourCards();
    std::vector<std::int64_t> shifts;
    std::vector<int> plays;
    QObject::connect(&Lesson, &TLessonPlayer::CardShiftChanged, [&](std::int64_t ms) { shifts.push_back(ms); });
    QObject::connect(&Lesson, &TLessonPlayer::PlayStarted, [&](int card) { plays.push_back(card); });
    Lesson.NudgeCardEdge(TCardEdge::Start, -50);
    EXPECT_TRUE(plays.empty()) << "no card is current yet";

    Lesson.SetAutoPause(true);
    Lesson.SetCurrentCard(1);
    Lesson.NudgeCardEdge(TCardEdge::Start, -50);
    ASSERT_EQ(plays, std::vector<int>{1}) << "the nudged card is heard at once";
    EXPECT_EQ(Lesson.Player().StartPos(), 950);
    EXPECT_EQ(Lesson.Timeline().EndOf(0), 950) << "the card before gives way";
    EXPECT_TRUE(PlayUntil([&] { return RestsAt(2000); }));

    Lesson.ShiftCards(1000);
    Lesson.ShiftCards(-50);
    EXPECT_EQ(shifts, (std::vector<std::int64_t>{1000, 950}));
    EXPECT_EQ(Lesson.Timeline().StartOf(0), 1050);
    EXPECT_EQ(Lesson.Timeline().StartOf(1), 1900);
    const TTitleProgress kept = Lesson.SavedProgress();
    EXPECT_EQ(kept.Timing.ShiftMs, 950);
    EXPECT_EQ(kept.Timing.Nudges.size(), 2u);

    ASSERT_TRUE(Lesson.UndoCardChange());
    EXPECT_EQ(shifts.back(), 1000);
    ASSERT_TRUE(Lesson.UndoCardChange());
    ASSERT_TRUE(Lesson.UndoCardChange());
    EXPECT_FALSE(Lesson.UndoCardChange());
    EXPECT_EQ(Lesson.Timeline().StartOf(1), 1000);
    EXPECT_EQ(Lesson.Timeline().EndOf(0), 1000);

    // The title opened again, as read from its file, takes up what was kept.
    TPlayPackage again;
    for (int i = 0; i < Package.MainCards.Count(); ++i)
        again.MainCards.AddRec(Package.MainCards.Card(i));
    TLessonPlayer reopened;
    reopened.Open(again);
    reopened.RestoreProgress(kept);
    EXPECT_EQ(reopened.Timeline().StartOf(0), 1050);
    EXPECT_EQ(reopened.Timeline().StartOf(1), 1900);
    EXPECT_EQ(reopened.Timeline().EndOf(0), 1900);
    EXPECT_FALSE(reopened.UndoCardChange()) << "what was kept is where the title starts from";
}
