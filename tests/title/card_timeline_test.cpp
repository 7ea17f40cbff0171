#include <gtest/gtest.h>

#include "timing/positions.h"
#include "title/card_timeline.h"
#include "title/play_card_list.h"
#include "title/word_times.h"

using namespace olve;

namespace {

TPlayCardItem Card(std::uint32_t start, std::uint32_t end, TOlveTimeFormat format = otfTrackMilliseconds,
                   const std::string& main = "", const std::string& data = "")
{
    TPlayCardItem c;
    c.MainText = main;
    c.DataText = data;
    c.StartPos = start;
    c.EndPos = end;
    c.TimeFormat = format;
    return c;
}

std::uint32_t Ms(std::uint32_t ms) { return MakePackedPosition(1, 0, 0, ms); }

// Four cards from 100 to 4000 ms with a gap after the first, and an optional VCD card.
struct TTitle {
    TPlayCardList Main;
    TPlayCardList Vcd;
    TCardTimeline Timeline;
    explicit TTitle(bool withVcd)
    {
        for (const auto& [s, e] : {std::pair{100, 900}, {1000, 2000}, {2000, 3000}, {3000, 4000}})
            Main.AddRec(Card(Ms(s), Ms(e)));
        if (withVcd)
            Vcd.AddRec(Card(Ms(500), Ms(3500)));
        Timeline.Assign(Main, Vcd);
    }
};

constexpr std::int64_t Long = 60000;

}  // namespace

TEST(CardTimeline, TheSegmentFollowsAutomaticPauseAndTheVcdCard)
{
    const TTitle plain(false);
    EXPECT_EQ(plain.Timeline.Segment(1, false, Long), (TSegment{1000, 4000})) << "to the last card's end";
    EXPECT_EQ(plain.Timeline.Segment(-1, false, Long), (TSegment{100, 4000})) << "the top plays from the first card";
    EXPECT_EQ(plain.Timeline.Segment(2, true, Long), (TSegment{2000, 3000})) << "the card alone";
    EXPECT_EQ(plain.Timeline.Segment(-2, true, Long), (TSegment{100, 900}));
    EXPECT_EQ(plain.Timeline.Segment(4, false, Long), std::nullopt) << "past the last card";
    EXPECT_EQ(plain.Timeline.Segment(1, false, 2500), (TSegment{1000, 2500})) << "cut at the recording's length";

    const TTitle vcd(true);
    EXPECT_EQ(vcd.Timeline.Segment(-1, false, Long), (TSegment{500, 3500})) << "the whole VCD card";
    EXPECT_EQ(vcd.Timeline.Segment(1, false, Long), (TSegment{1000, 3500})) << "to the VCD card's end";
    EXPECT_EQ(vcd.Timeline.Segment(-1, true, Long), (TSegment{100, 900})) << "automatic pause wins over the VCD card";
    EXPECT_EQ(TCardTimeline().Segment(-1, false, Long), std::nullopt);
}

TEST(CardTimeline, SwitchingAutomaticPauseMovesTheEndOfTheRunningPlay)
{
    const TTitle plain(false);
    EXPECT_EQ(plain.Timeline.AutoPauseEnd(1, true, Long), 2000);
    EXPECT_EQ(plain.Timeline.AutoPauseEnd(-1, true, Long), 900) << "before any card the first one";
    EXPECT_EQ(plain.Timeline.AutoPauseEnd(1, false, Long), 4000);
    EXPECT_EQ(plain.Timeline.AutoPauseEnd(1, false, 3200), 3200);
    EXPECT_EQ(TTitle(true).Timeline.AutoPauseEnd(1, false, Long), 3500);
}

TEST(CardTimeline, ACardHoldsItsStartButNotItsEnd)
{
    TTitle title(false);
    const TCardTimeline& t = title.Timeline;
    EXPECT_EQ(t.CardAt(99, Long), -1);
    EXPECT_EQ(t.CardAt(100, Long), 0);
    EXPECT_EQ(t.CardAt(899, Long), 0);
    EXPECT_EQ(t.CardAt(950, Long), -1) << "a gap";
    EXPECT_EQ(t.CardAt(2000, Long), 2) << "where two cards meet the later one";
    EXPECT_EQ(t.CardAt(4000, Long), -1);
    EXPECT_EQ(t.CardAt(2000, 2000), -1) << "a play stopped at its end lights no card";

    title.Main.AddRec(Card(Ms(1500), Ms(2500)));
    title.Timeline.Assign(title.Main, title.Vcd);
    EXPECT_EQ(t.CardAt(1600, Long), 1);
    EXPECT_EQ(t.CardAt(1600, Long, 2), 4) << "the next card holding it";
    EXPECT_EQ(t.CardAt(1600, Long, 5), -1);
}

TEST(CardTimeline, TheSpokenRangeIsClampedToTheTextAndReachedAtAnEvenPace)
{
    TPlayCardList main;
    main.AddRec(Card(Ms(1000), Ms(2000), otfTrackMilliseconds, "Hello there world", "SST=6,SLG=5"));
    main.AddRec(Card(Ms(2000), Ms(3000), otfTrackMilliseconds, "Only a start here", "SST=5"));
    main.AddRec(Card(Ms(3000), Ms(4000), otfTrackMilliseconds, "Whole", "TAG=x"));
    main.AddRec(Card(Ms(4000), Ms(4000), otfTrackMilliseconds, "Short", "SST=9,SLG=-3"));
    TCardTimeline t;
    t.Assign(main, TPlayCardList());
    EXPECT_EQ(t.Spoken(0, 1000), (TSpokenRange{6, 5, 6}));
    EXPECT_EQ(t.Spoken(0, 1500), (TSpokenRange{6, 5, 8}));
    EXPECT_EQ(t.Spoken(0, 1999), (TSpokenRange{6, 5, 10}));
    EXPECT_EQ(t.Spoken(1, 2000), (TSpokenRange{5, 12, 5})) << "without a length to the end of the text";
    EXPECT_EQ(t.Spoken(2, 3500), (TSpokenRange{0, 5, 2})) << "without a range the whole text";
    EXPECT_EQ(t.Spoken(3, 4000), (TSpokenRange{5, 0, 5})) << "a card without length stays at its start";
}

// A card's play and its lookup use one conversion into player units, whatever the title counts in.
TEST(CardTimeline, TheSegmentOfACardIsWhereTheLookupFindsIt)
{
    struct TCase {
        TOlveTimeFormat Format;
        std::uint32_t Start;
        std::uint32_t End;
        std::int64_t Units;
    };
    for (const TCase& c : {TCase{otfTMSF, MakeTmsf(3, 2, 10, 20), MakeTmsf(3, 2, 12, 0), 9770},
                           TCase{otfTrackMilliseconds, Ms(2500), Ms(4000), 2500},
                           TCase{otfFrames, MakePackedPosition(2, 0, 0, 150), MakePackedPosition(2, 0, 0, 300), 150}}) {
        SCOPED_TRACE(OlveTimeFormatNames[c.Format]);
        TPlayCardList main;
        main.AddRec(Card(0, c.Start, c.Format));
        main.AddRec(Card(c.Start, c.End, c.Format));
        TCardTimeline t;
        t.Assign(main, TPlayCardList());
        const std::optional<TSegment> segment = t.Segment(1, true, 1 << 30);
        ASSERT_TRUE(segment);
        EXPECT_EQ(segment->From, c.Units);
        EXPECT_EQ(*segment, (TSegment{t.StartOf(1), t.EndOf(1)}));
        EXPECT_EQ(t.CardAt(segment->From, 1 << 30), 1);
        EXPECT_EQ(t.CardAt(segment->To - 1, 1 << 30), 1);
        EXPECT_EQ(t.CardAt(segment->To, 1 << 30), -1);
    }
}

// "Good morning! The sun is up." with its words timed from 200 ms into a card at 1000-3000 ms.
TEST(CardTimeline, TheWordAtAPositionFollowsTheWordTimesInsideTheCard)
{
    TPlayCardList main;
    main.AddRec(Card(Ms(1000), Ms(3000), otfTrackMilliseconds, "Good morning! The sun is up.",
                     "TAG=x,WTM=0:200;5:600;14:1100;18:1400"));
    main.AddRec(Card(Ms(3000), Ms(4000), otfTrackMilliseconds, "No times"));
    TCardTimeline t;
    t.Assign(main, TPlayCardList());
    EXPECT_EQ(t.WordAt(0, 1100), -1) << "before the first word";
    EXPECT_EQ(t.Underline(0, 1100), (TTextPart{0, 0}));
    EXPECT_EQ(t.Underline(0, 1200), (TTextPart{0, 4})) << "the first word, the blank after it left out";
    EXPECT_EQ(t.Underline(0, 1599), (TTextPart{0, 4}));
    EXPECT_EQ(t.Underline(0, 1600), (TTextPart{5, 8})) << "between words: the one begun last";
    EXPECT_EQ(t.Underline(0, 2999), (TTextPart{18, 10})) << "the last word runs to the end of the text";
    EXPECT_EQ(t.Spoken(0, 2200), (TSpokenRange{0, 28, 14}));
    EXPECT_EQ(t.Underline(1, 3500), (TTextPart{0, 8})) << "a card without word times underlines its text";
    EXPECT_EQ(t.StartOfWordAt(0, 7), 1600) << "a double click on a word plays from it";
    EXPECT_EQ(t.StartOfWordAt(1, 3), 3000);
}

TEST(CardTimeline, WordTimesThatCannotBeTrustedArePassedBy)
{
    const std::string text = "one two three";
    for (const auto& [tag, expected] : std::vector<std::pair<std::string, std::vector<TWordTime>>>{
             {"WTM=0:0;4:100;8:200", {{0, 0}, {4, 100}, {8, 200}}},
             {"WTM=0:0;4:x;8:200", {{0, 0}, {8, 200}}},
             {"WTM=0:0;8:200;4:300", {{0, 0}, {8, 200}}},
             {"WTM=0:300;4:100", {{0, 300}}},
             {"WTM=0:0;13:100;-1:0;4:5000", {{0, 0}}},
             {"WTM=;;:;0:;9999999999:1", {}},
             {"SST=1", {}}}) {
        SCOPED_TRACE(tag);
        EXPECT_EQ(WordTimesOf(tag, static_cast<std::int64_t>(text.size()), 1000), expected);
    }
    EXPECT_EQ(WordTimesValue({{0, 0}, {4, 100}}), "0:0;4:100");
}

// The window sleeps until the next of these: too late and a word lights up late, too early
// and it wakes for nothing.
TEST(CardTimeline, TheNextChangeIsTheNextCardWordOrReachedByte)
{
    TPlayCardList main;
    main.AddRec(Card(Ms(1000), Ms(3000), otfTrackMilliseconds, "Good morning! The sun is up.",
                     "WTM=0:200;5:600;14:1100;18:1400"));
    main.AddRec(Card(Ms(4000), Ms(5000), otfTrackMilliseconds, "Hello", "SST=0,SLG=4"));
    TCardTimeline t;
    t.Assign(main, TPlayCardList());
    EXPECT_EQ(t.NextChange(0, -1), 1000) << "before the first card: its start";
    EXPECT_EQ(t.NextChange(1000, 0), 1200) << "the first word";
    EXPECT_EQ(t.NextChange(1200, 0), 1600);
    EXPECT_EQ(t.NextChange(2500, 0), 3000) << "after the last word: the card's end";
    EXPECT_EQ(t.NextReachedByte(0, 1200), -1) << "a word-timed card reaches its words";
    EXPECT_EQ(t.NextChange(3500, -1), 4000) << "in a gap: the next card";
    EXPECT_EQ(t.NextChange(4000, 1), 5000) << "a card without word times changes at its end";
    EXPECT_EQ(t.NextReachedByte(1, 4000), 4250) << "and, followed byte by byte, at the next byte";
    EXPECT_EQ(t.NextReachedByte(1, 4750), -1) << "the last byte is reached";
    for (std::int64_t p = 4000; p < 4750; p = t.NextReachedByte(1, p)) {
        const std::int64_t next = t.NextReachedByte(1, p);
        EXPECT_EQ(t.Spoken(1, next - 1).Reached, t.Spoken(1, p).Reached) << "nothing changes before it, from " << p;
        EXPECT_EQ(t.Spoken(1, next).Reached, t.Spoken(1, p).Reached + 1) << "the next byte at it, from " << p;
    }
    EXPECT_EQ(t.NextChange(5000, -1), -1) << "after the last card nothing";

    TPlayCardList unordered;
    for (const auto& [s, e] : {std::pair{3000, 4000}, {1000, 2500}, {2000, 3500}})
        unordered.AddRec(Card(Ms(s), Ms(e)));
    t.Assign(unordered, TPlayCardList());
    EXPECT_EQ(t.NextChange(1500, 1), 2000) << "cards in any order, overlapping";
    EXPECT_EQ(t.NextChange(2600, 2), 3000);
}
