#include <gtest/gtest.h>

#include "codec/cp932_text.h"
#include "title/play_card_list.h"
#include "title/track_metadata.h"

using namespace olve;

namespace {

TPlayCardItem Card(const std::string& utf8Main, const std::string& dataText = "", const std::string& utf8Sub = "")
{
    TPlayCardItem c;
    c.MainText = Utf8ToCp932(utf8Main);
    c.SubText = Utf8ToCp932(utf8Sub);
    c.DataText = dataText;
    c.TimeFormat = otfTrackMilliseconds;
    return c;
}

}  // namespace

TEST(TrackMetadata, TheCurrentCardsOwnTextOnOneLineUnderTheTitle)
{
    TPlayCardList cards;
    // Two cards sharing one text through their ranges; "ポ" ends in the byte of "|".
    const std::string shared = "Hello there.||  How are   you?";
    cards.Add(Card(shared, "SST=0,SLG=12"));
    cards.Add(Card(shared, "SST=14,SLG=16"));
    cards.Add(Card("ポ||ポ “quoted”"));
    cards.Add(Card("", "", "訳だけ"));

    const TTrackMetadata first = TrackMetadata(cards, 0, 5000, "My Lesson");
    EXPECT_EQ(first.Title, "Hello there.");
    EXPECT_EQ(first.Album, "My Lesson");
    EXPECT_EQ(first.LengthMicroseconds, 5000000);
    EXPECT_EQ(first.TrackId, "/org/olveplayer/card/1");
    EXPECT_EQ(TrackMetadata(cards, 1, 5000, "").Title, "How are you?");
    EXPECT_EQ(TrackMetadata(cards, 2, 5000, "").Title, "ポ ポ “quoted”");
    EXPECT_EQ(TrackMetadata(cards, 3, 5000, "").Title, "訳だけ") << "a card without English shows its Japanese";
    EXPECT_NE(TrackMetadata(cards, 1, 5000, "").TrackId, first.TrackId);
}

TEST(TrackMetadata, NoCardIsNoTrackButStillTheTitle)
{
    TPlayCardList cards;
    cards.Add(Card("Only"));
    for (int card : {-1, 1}) {
        const TTrackMetadata none = TrackMetadata(cards, card, 2000, "T");
        EXPECT_EQ(none.TrackId, NoTrackId);
        EXPECT_EQ(none.Title, "");
        EXPECT_EQ(none.Album, "T");
        EXPECT_EQ(none.LengthMicroseconds, 2000000);
    }
}
