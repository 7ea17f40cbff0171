#include <gtest/gtest.h>

#include "lesson/lesson_player.h"

using namespace olve;

TEST(LessonProgress, ThePracticeKeptForATitleLeavesTheLoopBehindAndIsTakenUpAgain)
{
    TLessonPlayer lesson;
    lesson.SetCurrentCard(2);
    lesson.SetSpeedTenths(12);
    lesson.SetPractice({3, 10, false, TReveal::AfterHearing, TReveal::Hidden});
    lesson.ToggleLoop(1, 2);
    lesson.SetAutoPause(true);
    ASSERT_TRUE(lesson.Practice().Loop);
    const TTitleProgress kept = lesson.SavedProgress();
    EXPECT_EQ(kept.LastCard, 2);
    EXPECT_EQ(kept.SpeedTenths, 12);
    EXPECT_EQ(kept.Practice, (TPracticeSettings{3, 10, false, TReveal::AfterHearing, TReveal::Hidden}));
    EXPECT_TRUE(kept.AutoPause);
    EXPECT_EQ(kept.MainFontSize, 0) << "the sizes are the text pane's to fill in";

    TLessonPlayer other;
    int told = 0;
    QObject::connect(&other, &TLessonPlayer::PracticeChanged, [&] { ++told; });
    QObject::connect(&other, &TLessonPlayer::SpeedChanged, [&] { ++told; });
    QObject::connect(&other, &TLessonPlayer::AutoPauseChanged, [&] { ++told; });
    TTitleProgress stored = kept;
    stored.Practice.Loop = true;
    other.RestoreProgress(stored);
    EXPECT_EQ(other.SpeedTenths(), 12);
    EXPECT_EQ(other.Practice(), kept.Practice) << "a loop written into the file by hand is not taken up";
    EXPECT_TRUE(other.AutoPause());
    EXPECT_EQ(other.CurrentCard(), -1) << "the last card is only offered";
    EXPECT_EQ(told, 3) << "the controls that show them are told";

    stored.SpeedTenths = 1000;
    other.RestoreProgress(stored);
    EXPECT_EQ(other.SpeedTenths(), FastestSpeedTenths) << "a speed out of range is brought into it";
}
