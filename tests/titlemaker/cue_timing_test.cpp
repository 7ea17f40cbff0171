#include <gtest/gtest.h>

#include "titlemaker/cue_timing.h"
#include "titlemaker/word_parts.h"

using namespace olve;

namespace {

TSubtitleCue Cue(int number, std::int64_t start, std::int64_t end, const std::string& text,
                 std::vector<TTimedPart> parts = {})
{
    return {number, start, end, text, std::move(parts)};
}

struct TTimes {
    int Number;
    std::int64_t Start;
    std::int64_t End;
    bool operator==(const TTimes&) const = default;
};

void PrintTo(const TTimes& t, std::ostream* out)
{
    *out << "{" << t.Number << ", " << t.Start << ", " << t.End << "}";
}

std::vector<TTimes> Times(const std::vector<TSubtitleCue>& cues)
{
    std::vector<TTimes> out;
    for (const auto& cue : cues)
        out.push_back({cue.Number, cue.StartMs, cue.EndMs});
    return out;
}

}  // namespace

TEST(PrepareCues, CuesThatCannotPlayArePassedOverWithANote)
{
    std::vector<std::string> notes;
    const auto cues = PrepareCues({Cue(1, 0, 1000, " \n "), Cue(2, 1000, 1000, "zero"), Cue(3, 3000, 2000, "back"),
                                   Cue(4, 4000, 5000, "kept"), Cue(5, 10000, 11000, "too late")},
                                  10000, "", notes);
    EXPECT_EQ(Times(cues), (std::vector<TTimes>{{4, 4000, 5000}}));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "cue 1 (00:00:00.000) has no text; passed over",
                         "cue 2 (00:00:01.000) ends at 00:00:01.000, not after it starts; passed over",
                         "cue 3 (00:00:03.000) ends at 00:00:02.000, not after it starts; passed over",
                         "cue 5 (00:00:10.000) starts after the recording ends (00:00:10.000); passed over"}));
}

TEST(PrepareCues, UnorderedCuesAreSortedAndEndsBeyondTheRecordingCut)
{
    std::vector<std::string> notes;
    const auto cues =
        PrepareCues({Cue(1, 5000, 6000, "b"), Cue(2, 1000, 2000, "a"), Cue(3, 8000, 12000, "c")}, 9000, "en: ", notes);
    EXPECT_EQ(Times(cues), (std::vector<TTimes>{{2, 1000, 2000}, {1, 5000, 6000}, {3, 8000, 9000}}));
    EXPECT_EQ(notes, (std::vector<std::string>{
                         "en: the cues are not in time order; put in order of their start times",
                         "en: cue 3 (00:00:08.000) ends at 00:00:12.000, after the recording; cut to its end"}));
}

TEST(PrepareCues, OverlapsEndAtTheNextCueAndCuesStartingTogetherJoin)
{
    std::vector<std::string> notes;
    const auto cues = PrepareCues({Cue(1, 0, 3000, "one"), Cue(2, 2000, 4000, "two"), Cue(3, 2000, 5000, "three"),
                                   Cue(4, 6000, 7000, "four", {{6000, 0}, {6500, 2}})},
                                  8000, "", notes);
    EXPECT_EQ(Times(cues), (std::vector<TTimes>{{1, 0, 2000}, {2, 2000, 5000}, {4, 6000, 7000}}));
    EXPECT_EQ(cues[1].Text, "two\nthree");
    EXPECT_EQ(notes, (std::vector<std::string>{"cue 1 (00:00:00.000) overlaps cue 2; it now ends at 00:00:02.000",
                                               "cue 2 (00:00:02.000) and cue 3 start together; made into one card"}));
}

TEST(PrepareCues, OpenEndsRunToTheNextCueOrTheEnd)
{
    std::vector<std::string> notes;
    const auto cues = PrepareCues(
        {Cue(1, 1000, TSubtitleCue::OpenEnd, "a"), Cue(2, 4000, TSubtitleCue::OpenEnd, "b")}, 9000, "", notes);
    EXPECT_EQ(Times(cues), (std::vector<TTimes>{{1, 1000, 4000}, {2, 4000, 9000}}));
    EXPECT_TRUE(notes.empty());
}

TEST(PrepareCues, TheTitleLengthStopsWhereCardLinesCanReach)
{
    std::vector<std::string> notes;
    EXPECT_EQ(TitleLengthMs(60000, notes), 60000);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(TitleLengthMs(5LL * 3600 * 1000, notes), MaxTitleMs);
    EXPECT_EQ(notes.size(), 1u);
}

TEST(WordParts, StampsAreTidiedIntoPartsFromTheCueStart)
{
    std::vector<std::string> notes;
    // "Hello big world": a stamp before the start, two at one place, and a final end stamp.
    TSubtitleCue cue = Cue(1, 1000, 4000, "Hello big world", {{900, 0}, {1500, 6}, {1600, 6}, {2500, 10}, {3500, 15}});
    NormaliseParts(cue, "", notes);
    EXPECT_EQ(cue.Parts, (std::vector<TTimedPart>{{1000, 0}, {1600, 6}, {2500, 10}}));

    // Text before the first stamp starts with the cue; a stamp after the cue's end is dropped.
    TSubtitleCue late = Cue(2, 1000, 4000, "Hello world", {{2000, 6}, {3000, 6}, {4500, 8}});
    NormaliseParts(late, "", notes);
    EXPECT_EQ(late.Parts, (std::vector<TTimedPart>{{1000, 0}, {3000, 6}}));

    // A first stamp with only blanks before it is when the first word is spoken.
    TSubtitleCue own = Cue(3, 1000, 4000, " Hello world", {{1350, 1}, {2000, 7}});
    NormaliseParts(own, "", notes);
    EXPECT_EQ(own.Parts, (std::vector<TTimedPart>{{1350, 1}, {2000, 7}}));
    TSubtitleCue lone = Cue(4, 1000, 4000, "Hello", {{1200, 0}});
    NormaliseParts(lone, "", notes);
    EXPECT_EQ(lone.Parts, (std::vector<TTimedPart>{{1200, 0}}));
    EXPECT_TRUE(notes.empty());
}

TEST(WordParts, OneStampAtTheStartIsNoWordTimingAndDisorderDropsThemAll)
{
    std::vector<std::string> notes;
    TSubtitleCue single = Cue(1, 1000, 4000, "Hello", {{900, 0}});
    NormaliseParts(single, "", notes);
    EXPECT_TRUE(single.Parts.empty());

    TSubtitleCue sameTime = Cue(2, 1000, 4000, "a b", {{1000, 0}, {1000, 2}});
    NormaliseParts(sameTime, "", notes);
    EXPECT_TRUE(sameTime.Parts.empty());

    TSubtitleCue blank = Cue(3, 1000, 4000, "a  b", {{1500, 1}, {2000, 2}, {3000, 3}});
    NormaliseParts(blank, "", notes);
    EXPECT_EQ(blank.Parts, (std::vector<TTimedPart>{{1000, 0}, {3000, 3}}));
    EXPECT_TRUE(notes.empty());

    TSubtitleCue disorder = Cue(4, 1000, 4000, "a b c", {{1000, 0}, {3000, 2}, {2000, 4}});
    NormaliseParts(disorder, "", notes);
    EXPECT_TRUE(disorder.Parts.empty());
    EXPECT_EQ(notes, (std::vector<std::string>{"cue 4 (00:00:01.000) has word times out of order; shown as one card"}));
}
