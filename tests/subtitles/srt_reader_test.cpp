#include <gtest/gtest.h>

#include "cue_matchers.h"
#include "subtitles/srt_reader.h"
#include "subtitles/subtitle_text.h"

using namespace olve;

namespace {

TSubtitleFile FromBytes(const std::string& bytes)
{
    TSubtitleEncoding encoding;
    return ReadSubRip(DecodeSubtitleBytes(bytes, encoding));
}

}  // namespace

TEST(SubRip, ByteOrderMarkCrLfAndNoFinalLineEnd)
{
    const TSubtitleFile file =
        FromBytes("\xEF\xBB\xBF" "1\r\n00:00:01,000 --> 00:00:02,500\r\nOne\r\n\r\n2\r\n00:00:03,000 --> 00:00:04,000\r\nTwo");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2500, "One"}, {3000, 4000, "Two"}}));
    EXPECT_TRUE(file.Notes.empty());
}

TEST(SubRip, CuesWithoutBlankLinesOrNumbersStillSeparate)
{
    const TSubtitleFile file = ReadSubRip("1\n00:00:01,000 --> 00:00:02,000\nOne\n2\n00:00:02,000 --> 00:00:03,000\n"
                                          "Two\n00:00:03,000 --> 00:00:04,000\nThree\n42\n\n4\n00:00:05,000 --> "
                                          "00:00:06,000\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "One"},
                                                              {2000, 3000, "Two"},
                                                              {3000, 4000, "Three\n42"},
                                                              {5000, 6000, ""}}));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2, 3, 4}));
}

TEST(SubRip, LongRecordingsTagsAndCoordinates)
{
    const TSubtitleFile file = ReadSubRip("1\n100:00:00,000 --> 100:00:01,250 X1:40 X2:600\n<b>Bold</b> {\\an8}top\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{360000000, 360001250, "Bold top"}}));
}

TEST(SubRip, UnreadableTimesAndStrayTextAreNotedAndPassedOver)
{
    const TSubtitleFile file = ReadSubRip("Some header\nmore\n\n1\n00:00:01,000 --> soon\nLost\n\n2\n"
                                          "00:00:02,000 --> 00:00:03,000\nKept\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{2000, 3000, "Kept"}}));
    // The cue that could not be read still counts, so pictures keep their numbers.
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{2}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 1: text outside any cue; passed over",
                                                    "line 5: cue 1 has times that cannot be read; passed over"}));
}

TEST(SubRip, KaraokeStampsBecomeParts)
{
    const TSubtitleFile file = ReadSubRip("1\n00:00:01,000 --> 00:00:03,000\n<00:00:01.000>Hi <00:00:02.000>there\n");
    ASSERT_EQ(file.Cues.size(), 1u);
    EXPECT_EQ(file.Cues[0].Parts, (std::vector<TTimedPart>{{1000, 0}, {2000, 3}}));
}

TEST(SubRip, ABlockWithoutNumberOrTimesBelongsToTheCueBefore)
{
    // English and Japanese in either order become text and translation; one language stays text.
    const TSubtitleFile file = ReadSubRip("1\n00:00:01,000 --> 00:00:02,000\nHello <i>there</i>\n\nこんにちは\n\n"
                                          "2\n00:00:03,000 --> 00:00:04,000\nおはよう\nございます\n\nGood morning\n\n"
                                          "3\n00:00:05,000 --> 00:00:06,000\n\nFirst part\n\nsecond part\n\n4\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "Hello there"},
                                                              {3000, 4000, "Good morning"},
                                                              {5000, 6000, "First part\nsecond part"}}));
    std::vector<std::string> translations;
    for (const TSubtitleCue& cue : file.Cues)
        translations.push_back(cue.Translation);
    EXPECT_EQ(translations, (std::vector<std::string>{"こんにちは", "おはよう\nございます", ""}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 21: text outside any cue; passed over"}));
}

TEST(SubRip, AShortArrowIsReadWithANote)
{
    const TSubtitleFile file = ReadSubRip("1\n00:00:01,000 -> 00:00:02,000\nOne\n\n2\n00:00:03,000 --> 00:00:04,000\n"
                                          "go -> there\n");
    EXPECT_EQ(Summaries(file.Cues), (std::vector<TCueSummary>{{1000, 2000, "One"}, {3000, 4000, "go -> there"}}));
    EXPECT_EQ(file.Notes, (std::vector<std::string>{"line 2: \"->\" read as \"-->\""}));
}
