#include <gtest/gtest.h>

#include "cue_matchers.h"
#include "subtitles/lrc_reader.h"

using namespace olve;

TEST(Lrc, LinesLastUntilTheNextAndTheLastStaysOpen)
{
    const TSubtitleFile file = ReadLrc("[ti: A Song ]\n[ar:Someone]\n[00:01.00]One\n[00:03.5]Two\n[00:06]\n"
                                       "[00:08.25]Three");
    EXPECT_EQ(file.Title, "A Song");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 3500, "One"},
                                                              {3500, 6000, "Two"},
                                                              {8250, TSubtitleCue::OpenEnd, "Three"}}));
    EXPECT_TRUE(file.Notes.empty());
}

TEST(Lrc, RepeatedTimeTagsAreSortedAndNumberedInTimeOrder)
{
    const TSubtitleFile file = ReadLrc("[00:10.00][00:01.00]Chorus\n[00:05.00]Verse\n[120:00.00]Late\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 5000, "Chorus"},
                                                              {5000, 10000, "Verse"},
                                                              {10000, 7200000, "Chorus"},
                                                              {7200000, TSubtitleCue::OpenEnd, "Late"}}));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2, 3, 4}));
}

TEST(Lrc, WordStampsGiveWordPartsAndAFinalStampEndsTheLine)
{
    const TSubtitleFile file =
        ReadLrc("[00:12.00]<00:12.00>Hello <00:12.50>big <00:13.00>world<00:13.80>\n[00:20.00]Next\n");
    ASSERT_EQ(file.Cues.size(), 2u);
    const TSubtitleCue& cue = file.Cues[0];
    EXPECT_EQ(cue.Text, "Hello big world");
    EXPECT_EQ(cue.EndMs, 13800);
    EXPECT_EQ(cue.Parts, (std::vector<TTimedPart>{{12000, 0}, {12500, 6}, {13000, 10}, {13800, 15}}));
}

TEST(Lrc, OffsetBringsEveryTimeEarlier)
{
    const TSubtitleFile file = ReadLrc("[offset:+500]\n[00:00.20]<00:00.20>Early <00:01.00>on\n[00:03.00]End");
    ASSERT_EQ(file.Cues.size(), 2u);
    EXPECT_EQ(file.Cues[0].StartMs, 0);
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{0, 0}, {500, 6}}));
    EXPECT_EQ(file.Cues[1].StartMs, 2500);
}

TEST(Lrc, ColonHundredthsAndLinesWithoutTimes)
{
    const TSubtitleFile file = ReadLrc("plain words\n[00:01:50]One\n[chorus]Two\n[offset:soon]\n[00:02:00]Three\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1500, 2000, "One"}, {2000, TSubtitleCue::OpenEnd, "Three"}}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 1: a line without a time; passed over",
                                                    "line 3: a line without a time; passed over",
                                                    "the offset tag \"soon\" is not a number; ignored"}));
}

TEST(Lrc, TimesAfterTextEndItAndBlanksInsideTimesAreRead)
{
    const TSubtitleFile file = ReadLrc("[00:01.000]hello [00:06.000] world\n[00:08.000]ends here[00:09.500]\n"
                                       "[ 0:10.00][0:11.00 ]spaced[ 0:12.00 ]\nlead [00:20.000] tail\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 6000, "hello"},
                                                              {6000, 8000, "world"},
                                                              {8000, 9500, "ends here"},
                                                              {10000, 12000, "spaced"},
                                                              {11000, 12000, "spaced"},
                                                              {20000, TSubtitleCue::OpenEnd, "tail"}}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 4: text before the line's first time; passed over"}));
}

TEST(Lrc, WordStampsKeepTheFirstWordsOwnTimeAndOneBlankBetweenWords)
{
    const TSubtitleFile file = ReadLrc("[00:12.00]<00:12.40>Hello <00:12.80> big  <00:13.00>world\n");
    ASSERT_EQ(file.Cues.size(), 1u);
    EXPECT_EQ(file.Cues[0].Text, "Hello big world");
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{12400, 0}, {12800, 6}, {13000, 10}}));
}
