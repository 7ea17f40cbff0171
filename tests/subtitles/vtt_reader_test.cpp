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
