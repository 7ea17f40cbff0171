#include "subtitles/subrip_writer.h"

#include <gtest/gtest.h>

#include "subtitles/cue_matchers.h"
#include "subtitles/srt_reader.h"

using namespace olve;

namespace {

TSubtitleCue Cue(std::int64_t startMs, std::int64_t endMs, const std::string& text)
{
    TSubtitleCue cue;
    cue.StartMs = startMs;
    cue.EndMs = endMs;
    cue.Text = text;
    return cue;
}

}  // namespace

TEST(SubRipWriter, ReadsBackToTheSameCuesEvenWhenTheTextLooksLikeMarkup)
{
    const std::vector<TSubtitleCue> cues{
        Cue(0, 1, "one"),
        Cue(1001, 3723004, "Tom &amp; <i>Jerry</i>\n{\\an8} & {note} <3"),
        Cue(360000000, 360000999, "百時間"),
    };
    const TSubtitleFile file = ReadSubRip(SubRipText(cues));
    EXPECT_TRUE(file.Notes.empty());
    EXPECT_EQ(Summaries(file.Cues), Summaries(cues));
    EXPECT_EQ(Numbers(file.Cues), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(SubRipText({cues[0]}), "1\n00:00:00,000 --> 00:00:00,001\none\n\n");
}

TEST(SubRipWriter, OpenEndsCloseAtTheNextLaterStartOrPastTheRecording)
{
    const std::vector<TSubtitleCue> cues{Cue(1000, TSubtitleCue::OpenEnd, "a"), Cue(1000, 1500, "b"),
                                         Cue(2000, TSubtitleCue::OpenEnd, "c"), Cue(3000, TSubtitleCue::OpenEnd, "d")};
    const std::vector<TCueSummary> expected{
        {1000, 2000, "a"}, {1000, 1500, "b"}, {2000, 3000, "c"}, {3000, 359999999, "d"}};
    EXPECT_EQ(Summaries(ReadSubRip(SubRipText(cues)).Cues), expected);
}
