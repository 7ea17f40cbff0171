#include <gtest/gtest.h>

#include "codec/cp932_text.h"
#include "title/card_menu.h"

using namespace olve;

TEST(CardMenu, ShortTitlesListTheirCardsAloneAndLongOnesInGroups)
{
    EXPECT_TRUE(CardMenuGroups(0).empty());
    EXPECT_TRUE(CardMenuGroups(32).empty());
    const auto groups = CardMenuGroups(33);
    ASSERT_EQ(groups.size(), 2u);
    EXPECT_EQ(groups[0], (TCardMenuGroup{0, 31, "  1 ～  32", false}));
    EXPECT_EQ(groups[1], (TCardMenuGroup{32, 32, " 33 ～  33", false}));
}

TEST(CardMenu, LongTitlesGrowSidewaysAndStopAtTheCap)
{
    const auto groups = CardMenuGroups(5000);
    ASSERT_EQ(groups.size(), 128u);
    EXPECT_EQ(groups.back().Last, 4095);
    EXPECT_EQ(groups.back().Caption, "4065 ～ 4096");
    int columns = 0;
    for (const TCardMenuGroup& group : groups)
        if (group.NewColumn) {
            ++columns;
            EXPECT_EQ(group.First % 1024, 0);
        }
    EXPECT_EQ(columns, 3);
    EXPECT_EQ(CardMenuGroupOf(groups, 1023), 31);
    EXPECT_EQ(CardMenuGroupOf(groups, 1024), 32);
    EXPECT_EQ(CardMenuGroupOf(groups, 4096), -1);
    EXPECT_EQ(CardMenuGroupOf(groups, -1), -1);
}

TEST(CardMenu, LabelsAreOneLineCutAtFiftyStoredBytes)
{
    TPlayCardItem card;
    card.MainText = Utf8ToCp932("two||lines");
    EXPECT_EQ(CardMenuLabel(card, 0), "  1  two lines");
    // The fiftieth byte would split a two-byte character: the cut comes before it.
    card.MainText = Utf8ToCp932(std::string(49, 'a') + "あい");
    EXPECT_EQ(CardMenuLabel(card, 9), " 10  " + std::string(49, 'a') + "･･");
    card.MainText = Utf8ToCp932(std::string(48, 'a') + "あい");
    EXPECT_EQ(CardMenuLabel(card, 999), "1000  " + std::string(48, 'a') + "あ･･");
    card.MainText = Utf8ToCp932(std::string(50, 'a'));
    EXPECT_EQ(CardMenuLabel(card, 0), "  1  " + std::string(50, 'a'));
}

TEST(CardMenu, CardsWithoutEnglishShowTheirJapaneseOrExtraText)
{
    TPlayCardItem card;
    card.SubText = Utf8ToCp932("日本語");
    card.DataText = "EES=extra";
    EXPECT_EQ(CardMenuLabel(card, 1), "  2  /日本語/");
    card.SubText.clear();
    EXPECT_EQ(CardMenuLabel(card, 2), "  3  [extra]");
    card.DataText.clear();
    EXPECT_EQ(CardMenuLabel(card, 3), "  4  ");
}

TEST(CardMenu, TheLoopTakesAChosenRangeOfRowsOrTheCurrentCard)
{
    EXPECT_EQ(LoopCards(-1, {}), (TCardRange{0, 0}));
    EXPECT_EQ(LoopCards(4, {}), (TCardRange{4, 4}));
    // One row alone is where the learner clicked, not a choice of cards.
    EXPECT_EQ(LoopCards(4, {{2, 2}}), (TCardRange{4, 4}));
    EXPECT_EQ(LoopCards(4, {{2, 5}}), (TCardRange{1, 4}));
    // The heading row chooses no card.
    EXPECT_EQ(LoopCards(4, {{0, 3}}), (TCardRange{0, 2}));
    EXPECT_EQ(LoopCards(4, {{2, 5}, {7, 9}}), (TCardRange{6, 8}));
}
