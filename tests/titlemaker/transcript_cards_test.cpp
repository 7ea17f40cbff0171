#include <gtest/gtest.h>

#include "align/transcript_text.h"
#include "titlemaker/transcript_cards.h"

using namespace olve;

namespace {

using TCards = std::vector<TTranscriptCard>;

}  // namespace

TEST(TranscriptCards, AsManyLinesPairLineByLine)
{
    // A line ending with "," is a card of its own when the translation breaks there too.
    EXPECT_EQ(TranscriptCards("When I was young,\nI lived by the sea. I loved it.\n\nHello! Is anyone there?\n",
                              "若い頃、\n私は海のそばに住んでいて、大好きだった。\nこんにちは！誰かいますか？\n"),
              (TCards{{"When I was young,", "若い頃、"},
                      {"I lived by the sea. I loved it.", "私は海のそばに住んでいて、大好きだった。"},
                      {"Hello! Is anyone there?", "こんにちは！誰かいますか？"}}));
}

TEST(TranscriptCards, SentencesPairWhenTheLinesDoNot)
{
    // A line that runs on, a closing quote after the stop, two sentences in one line: every
    // card keeps its own translation, the last ones too.
    const std::string english = "When I was young,\nI lived by the sea.\n\u201CCome in.\u201D She smiled.\n"
                                "Hello! Is anyone there?\nNo answer.\n";
    const std::string japanese = "若い頃、私は海のそばに住んでいた。\n「入って。」彼女は微笑んだ。\n"
                                 "こんにちは！誰かいますか？\n返事はない。\n";
    EXPECT_EQ(TranscriptCards(english, japanese),
              (TCards{{"When I was young, I lived by the sea.", "若い頃、私は海のそばに住んでいた。"},
                      {"\u201CCome in.\u201D", "「入って。」"},
                      {"She smiled.", "彼女は微笑んだ。"},
                      {"Hello!", "こんにちは！"},
                      {"Is anyone there?", "誰かいますか？"},
                      {"No answer.", "返事はない。"}}));
    // Runs of lines that end sentences, as many as the Japanese lines, pair run by run; a run
    // whose line holds another number of sentences becomes one card.
    EXPECT_EQ(TranscriptCards("It rained,\nso we stayed in. We read.\nThe end.\n", "雨なので家で本を読んだ。\n終わり。\n"),
              (TCards{{"It rained, so we stayed in. We read.", "雨なので家で本を読んだ。"}, {"The end.", "終わり。"}}));
}

TEST(TranscriptCards, WhatCannotBePairedSurelyGetsNoTranslation)
{
    // The second paragraph's counts agree nowhere; the first and third still pair.
    EXPECT_EQ(TranscriptCards("One.\n\nTwo. Three.\nFour.\n\nFive.\n", "一。\n\n二、三、四。\n\n五。\n"),
              (TCards{{"One.", "一。"}, {"Two.", ""}, {"Three.", ""}, {"Four.", ""}, {"Five.", "五。"}}));
    EXPECT_EQ(TranscriptCards("One. Two.\nThree.", ""), (TCards{{"One.", ""}, {"Two.", ""}, {"Three.", ""}}));
    EXPECT_EQ(TranscriptSentences("\u201CCome in.\u201D She smiled."),
              (std::vector<std::string>{"\u201CCome in.\u201D", "She smiled."}));
}
