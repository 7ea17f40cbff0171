#include <gtest/gtest.h>

#include <fstream>

#include "cue_matchers.h"
#include "subtitles/subtitle_file.h"
#include "subtitles/vtt_reader.h"
#include "support/temp_folder.h"

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

TEST(WebVtt, BlocksWhoseTimesBrowsersCannotReadAreDroppedWithTheirText)
{
    // Two-digit and four-digit fractions, a comma, one-digit minutes, 60 seconds or minutes:
    // each block goes whole. Times without blanks round the arrow and long hours are read.
    const TSubtitleFile file = ReadWebVtt(
        "WEBVTT\n\n00:00.00 --> 00:01.000\ninvalid\n\n00:02.000 --> 00:03.0000\ninvalid\n\n"
        "00:00:04,000 --> 00:00:05,000\ninvalid\n\n0:06.000 --> 00:07.000\ninvalid\n\n00:60.000 --> 01:01.000\ninvalid\n\n"
        "00:60:00.000 --> 01:01:00.000\ninvalid\n\nid\n00:08.000-->00:09.000 align:start\nkept\n\n"
        "123:00:00.000 --> 123:00:01.000\nlate\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{8000, 9000, "kept"}, {442800000, 442801000, "late"}}));
    EXPECT_EQ(file.Notes.size(), 6u);
}

TEST(WebVtt, RollingCaptionsGiveOneCuePerSpokenLineWithItsWordTimes)
{
    TSubtitleFile file;
    std::string error;
    ASSERT_TRUE(ReadSubtitleFile(std::string(OLVE_SUBTITLE_FIXTURES) + "/auto-captions.vtt", file, error)) << error;
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{400, 2879, "welcome to the morning news"},
                                                              {2879, 5520, "today we look at the weather"},
                                                              {5520, 8160, "and the roads into town"},
                                                              {8160, 10010, "it's going to be a cold day"}}));
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{960, 8}, {1280, 11}, {1520, 15}, {2000, 23}}));
    EXPECT_EQ(file.Cues[1].Parts,
              (std::vector<TTimedPart>{{3360, 6}, {3600, 9}, {3919, 14}, {4160, 17}, {4400, 21}}));
    ASSERT_EQ(file.Notes.size(), 1u);
    EXPECT_NE(file.Notes[0].find("roll up line by line"), std::string::npos);
}

TEST(WebVtt, AFileWithoutAReadableCueIsRefused)
{
    TTempFolder dir;
    std::ofstream(dir / "bad.vtt") << "WEBVTT\n\n00:00.00 --> 00:01.00\ninvalid\n";
    TSubtitleFile file;
    std::string error;
    EXPECT_FALSE(ReadSubtitleFile(dir / "bad.vtt", file, error));
    EXPECT_NE(error.find("no cue can be read"), std::string::npos) << error;
    EXPECT_NE(error.find("00:00:01.000 --> 00:00:04.000"), std::string::npos) << error;
}
