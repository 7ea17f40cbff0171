#include <gtest/gtest.h>

#include "titlemaker/sentence_cues.h"

using namespace olve;

namespace {

TSubtitleCue Cue(int number, std::int64_t start, std::int64_t end, std::string text, std::string translation = {},
                 std::vector<TTimedPart> parts = {})
{
    TSubtitleCue cue;
    cue.Number = number;
    cue.StartMs = start;
    cue.EndMs = end;
    cue.Text = std::move(text);
    cue.Translation = std::move(translation);
    cue.Parts = std::move(parts);
    return cue;
}

}  // namespace

TEST(SentenceCues, ASentenceEndsAtItsMarkButNotAtATitleOrAContinuedPause)
{
    for (const char* open : {"I told him that", "and then,", "Wait for Mr.", "We met Dr.", "He works for the U.S.",
                             "like apples, e.g.", "John F.", "She said \"I was going to...", "We were…"})
        EXPECT_TRUE(ContinuesSentence(open, "go on with it.")) << open;
    for (const char* closed : {"I told him.", "Really?", "Stop!", "What?!", "He said \"Go.\"", "(Yes.)", "«Fine.»",
                               "It was done.\xE2\x80\x9D", "I was going to...", "And then…", "[music]", "Leave, Mr. Smith.",
                               "\xE2\x99\xAA on the road \xE2\x99\xAA", "\xE6\x9D\xA5\xE3\x81\x9F\xE3\x80\x82"})
        EXPECT_FALSE(ContinuesSentence(closed, "And now this.")) << closed;
    EXPECT_TRUE(ContinuesSentence("I was going to...", "...tell you")) << "small letters after the pause go on";
    EXPECT_FALSE(ContinuesSentence("I was going to", "- Who's there?")) << "another speaker";
    EXPECT_FALSE(ContinuesSentence("so", "[door slams]"));
    EXPECT_FALSE(ContinuesSentence("so", "\xE2\x99\xAA la la")) << "a song begins";
}

TEST(SentenceCues, SplitCuesBecomeOneCueWithTheirWordTimesAndTranslationsJoined)
{
    const std::vector<TSubtitleCue> cues = {
        Cue(1, 1000, 2000, "When I met\nMr. Smith", "スミスさんに", {{1000, 0}, {1400, 5}, {1700, 11}}),
        Cue(2, 2100, 3000, "he was", "会ったとき"),
        Cue(3, 3500, 4200, "late.", "", {{3500, 0}, {3900, 2}}),
        Cue(4, 4300, 5000, "So was I. And you?"),
        Cue(5, 5100, 6000, "Me"),
        Cue(6, 7600, 8000, "too."),
    };
    const std::vector<TSubtitleCue> sentences = JoinSentences(cues);
    ASSERT_EQ(sentences.size(), 4u);
    const TSubtitleCue& first = sentences[0];
    EXPECT_EQ(first.Text, "When I met Mr. Smith he was late.");
    EXPECT_EQ(first.Number, 1) << "the first cue's picture";
    EXPECT_EQ(first.StartMs, 1000);
    EXPECT_EQ(first.EndMs, 4200);
    EXPECT_EQ(first.Translation, "スミスさんに\n会ったとき");
    // Each word keeps its time at its place in the joined text; the unstamped cue is stamped
    // at its start.
    EXPECT_EQ(first.Parts, (std::vector<TTimedPart>{{1000, 0}, {1400, 5}, {1700, 11}, {2100, 21}, {3500, 28}, {3900, 30}}));
    EXPECT_EQ(first.Text.substr(21, 6), "he was");
    EXPECT_EQ(first.Text.substr(30), "te.");

    EXPECT_EQ(sentences[1].Text, "So was I. And you?") << "two sentences in one cue stay together";
    EXPECT_EQ(sentences[2].Text, "Me") << "the next words come after too long a pause";
    EXPECT_EQ(sentences[3].Text, "too.");
    EXPECT_TRUE(CuesSplitSentences(cues));
    EXPECT_FALSE(CuesSplitSentences(sentences));
}

TEST(SentenceCues, ASentenceOverTwentySecondsAndLinesOfDialogueStayAsTheyAre)
{
    std::vector<TSubtitleCue> song;
    for (int i = 0; i < 12; ++i)
        song.push_back(Cue(i + 1, i * 1800, i * 1800 + 1700, "and on the road we go"));
    song.push_back(Cue(13, 12 * 1800, 12 * 1800 + 1000, "home."));
    const std::vector<TSubtitleCue> kept = JoinSentences(song);
    ASSERT_EQ(kept.size(), song.size()) << "23 s of one sentence";
    EXPECT_EQ(kept[3].Text, song[3].Text);
    EXPECT_FALSE(CuesSplitSentences(song));

    const std::vector<TSubtitleCue> paused = {Cue(1, 0, 1000, "I thought..."),
                                              Cue(2, 1200, 2000, "...maybe not.", "", {{1200, 0}, {1600, 9}})};
    const std::vector<TSubtitleCue> once = JoinSentences(paused);
    ASSERT_EQ(once.size(), 1u);
    EXPECT_EQ(once[0].Text, "I thought... maybe not.") << "the pause written once";
    EXPECT_EQ(once[0].Parts, (std::vector<TTimedPart>{{0, 0}, {1200, 13}, {1600, 19}}));
    EXPECT_EQ(once[0].Text.substr(19), "not.");

    const std::vector<TSubtitleCue> dialogue = {Cue(1, 0, 1000, "- Where are you\n- Here"), Cue(2, 1100, 2000, "now.")};
    const std::vector<TSubtitleCue> joined = JoinSentences(dialogue);
    ASSERT_EQ(joined.size(), 1u);
    EXPECT_EQ(joined[0].Text, "- Where are you\n- Here now.") << "each speaker keeps a line";
}
