#include <gtest/gtest.h>

#include <algorithm>

#include "timing/positions.h"
#include "title/list_error.h"
#include "title/play_card_list.h"
#include "title/play_card_text.h"
#include "title/time_format_conversion.h"
#include "title/undo_play_card_list.h"

using namespace olve;

namespace {

TPlayCardItem Card(const std::string& text, std::uint32_t start, std::uint32_t end = 0,
                   TOlveTimeFormat format = otfTrackMilliseconds)
{
    TPlayCardItem c;
    c.MainText = text;
    c.StartPos = start;
    c.EndPos = end;
    c.TimeFormat = format;
    return c;
}

// Counts the notifications of a list.
struct TWatch {
    int Changing = 0;
    int Changed = 0;
    explicit TWatch(TPlayCardList& list)
    {
        list.OnChanging = [this](TPlayCards&) { ++Changing; };
        list.OnChange = [this](TPlayCards&) { ++Changed; };
    }
    bool Pairs(int n) const { return Changing == n && Changed == n; }
};

std::vector<std::string> Texts(const TPlayCardList& list)
{
    std::vector<std::string> texts;
    for (int i = 0; i < list.Count(); ++i)
        texts.push_back(list.Card(i).MainText);
    return texts;
}

}  // namespace

TEST(CardListNotifications, EachChangeSendsOnePairAndBracketsSendOne)
{
    TPlayCardList list;
    TWatch watch(list);
    list.Add(Card("a", 1));
    EXPECT_TRUE(watch.Pairs(1));
    list.SetMainText(0, "a");
    EXPECT_TRUE(watch.Pairs(2)) << "a plain list notifies even for an unchanged value";
    list.Insert(list.Count(), Card("b", 2));
    EXPECT_TRUE(watch.Pairs(4)) << "inserting at the end sends two pairs";
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"a", "b"}));

    list.BeginUpdate();
    list.Add(Card("c", 3));
    list.Delete(0);
    list.BeginUpdate();
    list.Exchange(0, 1);
    list.EndUpdate();
    EXPECT_EQ(watch.Changing, 5);
    EXPECT_EQ(watch.Changed, 4);
    list.EndUpdate();
    EXPECT_TRUE(watch.Pairs(5));

    list.Clear();
    EXPECT_TRUE(watch.Pairs(6));
    EXPECT_EQ(list.Capacity(), 0);
    list.Clear();
    list.Sort();
    EXPECT_TRUE(watch.Pairs(6));
}

TEST(CardListNotifications, InsertOnAnEmptyListIsAnAdd)
{
    TPlayCardList list;
    TWatch watch(list);
    list.Insert(0, Card("only", 1));
    EXPECT_TRUE(watch.Pairs(1));
}

TEST(CardListIndexes, BadIndexesRaiseTheListErrorBeforeAnyChange)
{
    TPlayCardList list;
    list.Add(Card("a", 1));
    TWatch watch(list);
    try {
        list.GetCard(-1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_STREQ(e.what(), "リストのインデックスが範囲を超えています (-1)");
    }
    EXPECT_THROW(list.GetCard(1), EListError);
    EXPECT_THROW(list.SetMainText(1, "x"), EListError);
    EXPECT_THROW(list.Insert(2, Card("x", 0)), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    try {
        list.Exchange(5, 7);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Index(), 5);
    }
    EXPECT_TRUE(watch.Pairs(0));
    EXPECT_EQ(list.Count(), 1);
}

TEST(CardListStorage, GrowsInStepsAndPutCardKeepsKindAndExtraFile)
{
    TPlayCardList list;
    std::vector<int> capacities;
    for (int i = 0; i < 80; ++i) {
        list.Add(Card("x", 0));
        if (capacities.empty() || capacities.back() != list.Capacity())
            capacities.push_back(list.Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<int>{4, 8, 12, 28, 44, 60, 76, 95}));

    TPlayCardItem kept = Card("old", 1);
    kept.MediaKind = mtAudioCD;
    kept.ExtraFile = "extra.txt";
    list.Insert(0, kept);
    TPlayCardItem replacement = Card("new", 9);
    replacement.MediaKind = mtVirtualCD;
    replacement.ExtraFile = "other.txt";
    replacement.Object = 42;
    list.PutCard(0, replacement);
    const TPlayCardItem& c = list.Card(0);
    EXPECT_EQ(c.MainText, "new");
    EXPECT_EQ(c.Object, 42);
    EXPECT_EQ(c.MediaKind, mtAudioCD);
    EXPECT_EQ(c.ExtraFile, "extra.txt");
}

TEST(CardListSort, OrdersByUnsignedTrackThenSignedUnitsWithOnePair)
{
    TPlayCardList list;
    list.Add(Card("track200", MakePackedPosition(200, 0, 0, 5)));
    list.Add(Card("track2-late", MakePackedPosition(2, 1, 0, 0)));
    list.Add(Card("track2-early", MakePackedPosition(2, 0, 1, 0)));
    list.Add(Card("track1", MakePackedPosition(1, 9, 0, 0)));
    TWatch watch(list);
    list.Sort();
    EXPECT_TRUE(watch.Pairs(1));
    EXPECT_EQ(Texts(list), (std::vector<std::string>{"track1", "track2-early", "track2-late", "track200"}));


    // Equal keys may come out in either order, but every card is kept.
    TPlayCardList ties;
    for (const char* text : {"p", "q", "r"})
        ties.Add(Card(text, MakePackedPosition(1, 0, 1, 0)));
    ties.Sort();
    std::vector<std::string> sorted = Texts(ties);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::string>{"p", "q", "r"}));
}

TEST(CardPositions, TextFormsAndUnits)
{
    TPlayCardList list;
    list.Add(Card("ms", MakePackedPosition(1, 1, 1, 234), MakePackedPosition(1, 62, 3, 456)));
    list.Add(Card("frames", MakePackedPosition(2, 0, 0, 1500), MakePackedPosition(2, 0, 0, 1600), otfFrames));
    list.Add(Card("tmsf", MakeTmsf(3, 2, 10, 20), MakeTmsf(3, 2, 11, 0), otfTMSF));
    list.Add(Card("wrap", MakePackedPosition(1, 0, 0, 256 * 60000 + 1000), 0));
    EXPECT_EQ(list.StartPosText(0), "01 01:01:234");
    EXPECT_EQ(list.EndPosText(0), "01 62:03:456");
    EXPECT_EQ(list.StartPosText(1), "02 001500");
    EXPECT_EQ(list.StartPosText(2), "03 02:10:20");
    EXPECT_EQ(list.StartPosText(3), "01 00:01:000");
    EXPECT_EQ(list.StartUnits(0), 61234);
    EXPECT_EQ(list.LengthUnits(0), 3723456 - 61234);
    EXPECT_EQ(list.LengthUnits(1), 100);
    EXPECT_EQ(list.StartUnits(2), 9770);
    EXPECT_EQ(list.StartTrack(2), 3);
}

TEST(CardShowText, ShowsTheTaggedPartOfASharedText)
{
    const std::string text = "Hello there, world";
    TPlayCardList list;
    for (const char* tags : {"", "SST=0,SLG=5", "SST=3,SLG=2", "sst=13", "SST=-4,SLG=5", "SST=2147483647", "SST=1,SLG=-3"}) {
        TPlayCardItem c = Card(text, 0);
        c.DataText = tags;
        list.Add(c);
    }
    EXPECT_EQ(list.ShowText(0), text);
    EXPECT_EQ(list.ShowText(1), "Hello");
    EXPECT_EQ(list.ShowText(2), "   lo");
    EXPECT_EQ(list.ShowText(3), "   world");
    // Out-of-range values are clamped to the text.
    EXPECT_EQ(list.ShowText(4), "Hello");
    EXPECT_EQ(list.ShowText(5), "   ");
    EXPECT_EQ(list.ShowText(6), "   ");
}

TEST(UndoCardList, UnchangedValuesChangeNothingAndTellNobody)
{
    TUndoPlayCardList list;
    list.Add(Card("a", 1));
    TWatch watch(list);
    list.SetMainText(0, "a");
    list.SetStartPos(0, 1);
    EXPECT_TRUE(watch.Pairs(0));
    list.SetMainText(0, "b");
    EXPECT_TRUE(watch.Pairs(1));

    TPlayCardItem same = list.GetCard(0);
    list.PutCard(0, same);
    EXPECT_TRUE(watch.Pairs(1));
    same.SubText = "sub";
    same.EndPos = 99;
    list.PutCard(0, same);
    EXPECT_TRUE(watch.Pairs(3));
    EXPECT_THROW(list.SetStartPos(1, 1), EListError);
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.Descriptions.Count(), 0);
}

TEST(TimeFormatConversion, TmsfToMillisecondsAndBack)
{
    TUndoPlayCardList list;
    list.Add(Card("a", MakeTmsf(2, 1, 5, 30), MakeTmsf(2, 1, 6, 74), otfTMSF));
    ConvertToMilliseconds(list);
    EXPECT_EQ(list.Card(0).TimeFormat, otfTrackMilliseconds);
    EXPECT_EQ(list.Card(0).StartPos, MakePackedPosition(2, 1, 5, 400));
    EXPECT_EQ(list.Card(0).EndPos, MakePackedPosition(2, 1, 6, 986));
    ConvertToTmsf(list);
    EXPECT_EQ(list.Card(0).TimeFormat, otfTMSF);
    EXPECT_EQ(list.Card(0).StartPos, MakeTmsf(2, 1, 5, 30));
    EXPECT_EQ(list.Card(0).EndPos, MakeTmsf(2, 1, 6, 73));
}
