#include <gtest/gtest.h>

#include "align/spoken_forms.h"
#include "align/transcript_text.h"

using namespace olve;

TEST(TranscriptSentences, SplitsLinesAndRunningTextIntoSentences)
{
    // One sentence a line, a line without an end mark, and a paragraph wrapped over lines.
    const std::string text = "Good morning.\r\nHow are you?\n\nChapter One\n\n"
                             "Mr. Smith met Dr. Jones at 5 p.m. on Monday. They\n"
                             "walked home\ntogether.\n";
    EXPECT_EQ(TranscriptSentences(text),
              (std::vector<std::string>{"Good morning.", "How are you?", "Chapter One",
                                        "Mr. Smith met Dr. Jones at 5 p.m. on Monday.",
                                        "They walked home together."}));
}

TEST(SentenceWords, KeepsInnerApostrophesAndOffsetsIntoTheSentence)
{
    const std::vector<TTextWord> words = SentenceWords("\"Don't go,\" said O'Brien - twice.");
    ASSERT_EQ(words.size(), 5u);
    EXPECT_EQ(words[0].Text, "don't");
    EXPECT_EQ(words[0].Offset, 1u);
    EXPECT_EQ(words[3].Text, "o'brien");
    EXPECT_EQ(words[4].Text, "twice");
    EXPECT_EQ(words[4].Offset, 27u);
}

TEST(SpokenNumber, ReadsAmountsWithTheirZeros)
{
    using Words = std::vector<std::string>;
    EXPECT_EQ(SpokenNumber("0"), Words{"zero"});
    EXPECT_EQ(SpokenNumber("42"), (Words{"forty", "two"}));
    EXPECT_EQ(SpokenNumber("1905"), (Words{"one", "thousand", "nine", "hundred", "five"}));
    EXPECT_EQ(SpokenNumber("2000000"), (Words{"two", "million"}));
    EXPECT_EQ(SpokenNumber("1000017"), (Words{"one", "million", "seventeen"}));
    EXPECT_TRUE(SpokenNumber("1234567890").empty());
}
