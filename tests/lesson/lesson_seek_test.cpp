#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "lesson/lesson_fixture.h"

using namespace olve;

// A seek while stopped shows the card there; while playing it plays on from the position.
// The arrow keys step a word when the card times its words, two seconds where it does not,
// and never out of the recording.
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
    Lesson.StepSeek(-1);
    EXPECT_EQ(Lesson.ShownPosition(), 1500) << "two seconds back";
    EXPECT_EQ(Lesson.CurrentCard(), 0);

    Lesson.SeekTo(1300);
    Lesson.StepSeek(-1);
    EXPECT_EQ(Lesson.ShownPosition(), 600) << "back to the start of the word spoken at 1.3 s";
    Lesson.StepSeek(1);
    EXPECT_EQ(Lesson.ShownPosition(), 1100);

    Lesson.SeekTo(-5000);
    EXPECT_EQ(Lesson.CurrentCard(), 0);
    Lesson.StepSeek(-1);
    EXPECT_GE(Lesson.ShownPosition(), 0);
    Lesson.SeekTo(std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(Lesson.CurrentCard(), 2) << "past the last card, the last card";
    Lesson.StepSeek(1);
    EXPECT_LE(Lesson.ShownPosition(), Lesson.Player().Length());

    Lesson.SetAutoPause(true);
    Lesson.PlayCard(0);
    Lesson.SeekTo(2500);
    EXPECT_EQ(Lesson.Player().Mode(), mpPlaying);
    EXPECT_GE(Lesson.Player().Position(), 2400);
    EXPECT_EQ(Lesson.Player().EndPos(), 3000) << "the card's end, as automatic pause plays";
    ASSERT_TRUE(PlayUntil([&] { return Stopped(); }, 3000));
    EXPECT_EQ(Lesson.CurrentCard(), 1);
}

// A double click plays the card that speaks the word clicked, from that word; of cards
// sharing one text, the one whose range holds it.
TEST_F(LessonPlayer, AClickOnAWordPlaysItsCardFromThatWord)
{
    AddCard(100, 1600, "Good morning sun", "WTM=0:0;5:500;13:1000");
    AddCard(1600, 3000, "Hello there world", "SST=0,SLG=5");
    AddCard(3000, 4500, "Hello there world", "SST=6,SLG=5");
    Lesson.Open(Package);
    Lesson.ClickAt("Good morning sun", 14);
    EXPECT_EQ(Lesson.Player().Mode(), mpPlaying);
    EXPECT_GE(Lesson.Player().Position(), 1100);
    EXPECT_LT(Lesson.Player().Position(), 1500) << "from the word, not the card's start";
    Lesson.ClickAt("Hello there world", 8);
    EXPECT_GE(Lesson.Player().Position(), 3000) << "the second card speaks \"there\"";
    EXPECT_EQ(Lesson.CurrentCard(), 2);
    Lesson.Stop();
    for (const int offset : {-1, 17 + 1, std::numeric_limits<int>::max()}) {
        Lesson.ClickAt("Hello there world", offset);
        EXPECT_TRUE(Stopped()) << "no card speaks at " << offset;
    }
    Lesson.ClickAt("another text", 1);
    EXPECT_TRUE(Stopped()) << "a text no card shows plays nothing";
}
