#include <gtest/gtest.h>

#include "cue_matchers.h"
#include "subtitles/vtt_reader.h"

using namespace olve;

TEST(WebVtt, HeaderNoteStyleAndRegionBlocksAreSkipped)
{
    const TSubtitleFile file = ReadWebVtt(
        "WEBVTT - with a title\nKind: captions\n\nREGION\nid:fred\nwidth:40%\n\nSTYLE\n::cue { color: red }\n\n"
        "NOTE a remark\nthat goes on\n\nintro\n00:01.000 --> 00:02.000 align:start position:10%\n<v Anna>Hello</v>\n\n"
        "NOTE\nbetween cues\n\n00:00:03.000 --> 00:00:04.000\nWorld &amp; all\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "Hello"}, {3000, 4000, "World & all"}}));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2}));
    EXPECT_TRUE(file.Notes.empty());
}

TEST(WebVtt, InlineTimesBecomeWordParts)
{
    const TSubtitleFile file =
        ReadWebVtt("WEBVTT\n\n00:00:01.000 --> 00:00:04.000\n<c>Never</c> <00:00:01.500><c>drink</c>\n"
                   "<00:00:02.200><c>and</c> <00:00:03.000><c>drive.</c>\n");
    ASSERT_EQ(file.Cues.size(), 1u);
    EXPECT_EQ(file.Cues[0].Text, "Never drink\nand drive.");
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{1500, 6}, {2200, 12}, {3000, 16}}));
}

TEST(WebVtt, AFileWithoutTheSignatureIsReadWithANote)
{
    const TSubtitleFile file = ReadWebVtt("00:01.000 --> 00:02.000\nHi\n\nstray words\n\n100:00:00.000 --> "
                                          "100:00:01.000\nLate\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "Hi"}, {360000000, 360001000, "Late"}}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"the file does not begin with WEBVTT; read as WebVTT all the same",
                                                    "line 4: text outside any cue; passed over"}));
}

TEST(WebVtt, UnreadableTimesAreNoted)
{
    const TSubtitleFile file = ReadWebVtt("WEBVTT\n\n1\n00:01.000 --> later\nLost\n\n00:02.000 --> 00:03.000\nKept");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{2000, 3000, "Kept"}}));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{2}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 4: cue 1 has times that cannot be read; passed over"}));
}

TEST(WebVtt, ALineWithAnArrowAlwaysStartsACue)
{
    // Cues right after the header and after another cue's text, without blank lines, and a
    // broken timing line that takes only its own text with it.
    const TSubtitleFile file = ReadWebVtt("WEBVTT\nKind: captions\n00:01.000 --> 00:02.000\nOne\n"
                                          "00:02.000 --> 00:03.000 align:start\nTwo\nlines\n-->\nlost\n"
                                          "00:05.000 --> 00:06.000\nFive\n\nNOTE\n00:07.000 --> 00:08.000\nSeven\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "One"},
                                                              {2000, 3000, "Two\nlines"},
                                                              {5000, 6000, "Five"},
                                                              {7000, 8000, "Seven"}}));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 8: cue 3 has times that cannot be read; passed over"}));
}

TEST(WebVtt, WordTimesKeepTheFirstWordsOwnTimeAndOneBlankBetweenWords)
{
    const TSubtitleFile file =
        ReadWebVtt("WEBVTT\n\n00:00:01.000 --> 00:00:04.000\n<00:00:01.200>spark <00:00:01.600> light\t <00:00:02.000>up\n");
    ASSERT_EQ(file.Cues.size(), 1u);
    EXPECT_EQ(file.Cues[0].Text, "spark light up");
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{1200, 0}, {1600, 6}, {2000, 12}}));
}
