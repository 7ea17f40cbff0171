#include <gtest/gtest.h>

#include "codec/cp932_text.h"
#include "textview/text_position_map.h"
#include "textview/text_runs.h"

using namespace olve;

namespace {

std::vector<std::string> RunTexts(const std::string& text, std::vector<bool>* doubleByte = nullptr)
{
    std::vector<std::string> texts;
    for (const TTextRun& run : SplitTextRuns(text)) {
        texts.push_back(Cp932ToUtf8(text.substr(run.Start, run.Length)));
        if (doubleByte)
            doubleByte->push_back(run.DoubleByte);
    }
    return texts;
}

}  // namespace

TEST(TextRuns, LatinAndJapaneseAlternate)
{
    std::vector<bool> doubleByte;
    EXPECT_EQ(RunTexts(Utf8ToCp932("I love 日本語 and ｶﾅ."), &doubleByte),
              (std::vector<std::string>{"I love ", "日本語 ", "and ｶﾅ."}));
    EXPECT_EQ(doubleByte, (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(SplitTextRuns("").empty());
}

TEST(TextRuns, BreaksAndSpacesAfterJapaneseStayInTheJapaneseRun)
{
    std::vector<bool> doubleByte;
    EXPECT_EQ(RunTexts(Utf8ToCp932("日本 \r\n 語\r\nWord  next"), &doubleByte),
              (std::vector<std::string>{"日本 \r\n 語\r\n", "Word  next"}));
    EXPECT_EQ(doubleByte, (std::vector<bool>{true, false}));
}

TEST(TextRuns, OneLatinLetterBeforeKanjiIsARunOfOneByte)
{
    const std::string text = Utf8ToCp932("A漢字");
    const std::vector<TTextRun> runs = SplitTextRuns(text);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].Length, 1u);
    EXPECT_FALSE(runs[0].DoubleByte);
    EXPECT_EQ(runs[1].Length, 4u);
    EXPECT_TRUE(runs[1].DoubleByte);
}

TEST(TextRuns, ALeadByteWithoutTrailByteEndsTheText)
{
    const std::vector<TTextRun> runs = SplitTextRuns("ab\x88");
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[1].Start, 2u);
    EXPECT_EQ(runs[1].Length, 1u);
}

TEST(TextPositionMap, CrLfIsOnePositionAndKanjiOneEach)
{
    // "ab" CR LF "日本" "x": document "ab¶日本x".
    const std::string text = "ab\r\n" + Utf8ToCp932("日本") + "x";
    const TTextPositionMap map(text);
    EXPECT_EQ(map.Size(), 9);
    EXPECT_EQ(map.StartPosition(0), 0);
    EXPECT_EQ(map.StartPosition(2), 2);  // CR: the line break
    EXPECT_EQ(map.StartPosition(3), 3);  // LF: the next line's start
    EXPECT_EQ(map.StartPosition(4), 3);  // 日
    EXPECT_EQ(map.StartPosition(6), 4);  // 本
    EXPECT_EQ(map.StartPosition(8), 5);  // x
    EXPECT_EQ(map.StartPosition(9), 6);
}

TEST(TextPositionMap, OffsetsInsideACharacterNeverSplitIt)
{
    const std::string text = Utf8ToCp932("日本");
    const TTextPositionMap map(text);
    EXPECT_EQ(map.StartPosition(1), 0);
    EXPECT_EQ(map.EndPosition(1), 1);
    EXPECT_EQ(map.EndPosition(2), 1);
    EXPECT_EQ(map.EndPosition(3), 2);
}

TEST(TextPositionMap, OffsetsOutsideTheTextAreClamped)
{
    const TTextPositionMap map("abc\r\n");
    EXPECT_EQ(map.StartPosition(-5), 0);
    EXPECT_EQ(map.EndPosition(2147483647LL + 10), 4);
    EXPECT_EQ(TTextPositionMap().EndPosition(3), 0);
}
