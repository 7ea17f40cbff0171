#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "spoken_reading.h"
#include "support/temp_folder.h"
#include "tool_run.h"

TEST(TranscriptTitleTool, MakesATitleWithTimedWordsAndTranslations)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading({"Good morning everyone.", "Let us begin the lesson."}, 600, dir / "talk.wav", truth));
    ASSERT_EQ(RunCommand("sox " + Quoted(dir / "talk.wav") + " " + Quoted(dir / "talk.ogg")).Status, 0);
    // Running text over two lines, and a translation line for each sentence.
    std::ofstream(dir / "talk.txt") << "Good morning\neveryone. Let us begin the lesson.\n";
    std::ofstream(dir / "talk.ja.txt") << "皆さん、おはようございます。\n授業を始めましょう。\n";

    const TToolRun made = Tool("title from-transcript " + Quoted(dir / "talk.ogg") + " " + Quoted(dir / "talk.txt") +
                               " --translation " + Quoted(dir / "talk.ja.txt") + " --title Talk --code T200 -o " +
                               Quoted(dir / "talk.qzw"));
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_EQ(made.Out, "title: Talk\ncode: T200\ncards: 2 from 2 sentences (2 with sub texts)\npackage: " +
                            dir / "talk.qzw" + "\n");
    ASSERT_EQ(Tool("extract " + Quoted(dir / "talk.qzw") + " " + Quoted(dir / "program")).Status, 0);
    const TToolRun dumped = Tool("title dump " + Quoted(dir / "program/talk.qzc"));
    ASSERT_EQ(dumped.Status, 0);
    for (const char* expected : {"\"main\": \"Good morning everyone.\", \"sub\": \"皆さん、おはようございます。\", \"data\": \"WTM=0:0;5:",
                                 "\"main\": \"Let us begin the lesson.\", \"sub\": \"授業を始めましょう。\", \"data\": \"WTM=0:0;4:"})
        EXPECT_NE(dumped.Out.find(expected), std::string::npos) << expected << "\n" << dumped.Out;
}

TEST(TranscriptTitleTool, SaysWhyWhenTheTranscriptCannotBeUsed)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading({"Good morning."}, 300, dir / "talk.wav", truth));
    std::ofstream(dir / "blank.txt") << "\n  \n";
    const TToolRun blank = Tool("title from-transcript " + Quoted(dir / "talk.wav") + " " + Quoted(dir / "blank.txt") +
                                " -o " + Quoted(dir / "talk.qzw"));
    EXPECT_EQ(blank.Status, 1);
    EXPECT_NE(blank.Err.find("blank.txt holds no sentence"), std::string::npos) << blank.Err;
    const TToolRun missing = Tool("title from-transcript " + Quoted(dir / "talk.wav") + " " + Quoted(dir / "none.txt") +
                                  " -o " + Quoted(dir / "talk.qzw"));
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("cannot read"), std::string::npos) << missing.Err;
    EXPECT_FALSE(std::ifstream(dir / "talk.qzw").good());
}

// One line a card when the lines end sentences and the translation has as many lines.
TEST(TranscriptTitleTool, LinesPairWithTheTranslationWhateverSentencesTheyHold)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading({"Good morning! The sun is up.", "I drink coffee."}, 600, dir / "day.wav", truth));
    std::ofstream(dir / "day.txt") << "Good morning! The sun is up.\nI drink coffee.\n";
    std::ofstream(dir / "day.ja.txt") << "おはよう！日が昇りました。\nコーヒーを飲みます。\n";
    const TToolRun made = Tool("title from-transcript " + Quoted(dir / "day.wav") + " " + Quoted(dir / "day.txt") +
                               " --translation " + Quoted(dir / "day.ja.txt") + " -o " + Quoted(dir / "day.qzw"));
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_NE(made.Out.find("cards: 2 from 2 sentences (2 with sub texts)"), std::string::npos) << made.Out;
}

// A picture, a recording or a program given as the transcript is refused with the reason,
// never cut into cards of its bytes.
TEST(TranscriptTitleTool, AFileThatIsNotTextIsRefused)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading({"Good morning."}, 300, dir / "talk.wav", truth));
    const TToolRun made = Tool("title from-transcript " + Quoted(dir / "talk.wav") + " " + Quoted(dir / "talk.wav") +
                               " -o " + Quoted(dir / "talk.qzw"));
    EXPECT_EQ(made.Status, 1);
    EXPECT_NE(made.Err.find("talk.wav holds NUL bytes, which text never does: it is not a text file"),
              std::string::npos)
        << made.Err;
    EXPECT_FALSE(std::ifstream(dir / "talk.qzw").good());
}

// A transcript far longer than its recording costs time in step with its length and keeps its
// notes to a screenful. Time is compared between two lengths run side by side, so that a slow
// or busy machine (or an instrumented build) does not decide the result.
TEST(TranscriptTitleTool, ALongTranscriptIsMadeInLinearTimeWithFewNotes)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    // The recording reads the text's first two sentences; the rest is never heard.
    ASSERT_TRUE(MakeSpokenReading({"The morning and the morning were morning today.",
                                   "The lesson and the morning were morning today."},
                                  300, dir / "talk.wav", truth));
    const auto make = [&](const std::string& name, std::streamoff bytes, TToolRun& made) {
        {
            std::ofstream text(dir / (name + ".txt"));
            const char* const words[] = {"morning", "lesson", "river", "window", "garden", "little", "yellow", "market"};
            for (int s = 0; text.tellp() < bytes; ++s)
                text << "The " << words[s % 8] << " and the " << words[s / 8 % 8] << " were " << words[s / 64 % 8]
                     << " today.\n";
        }
        const auto start = std::chrono::steady_clock::now();
        made = Tool("title from-transcript " + Quoted(dir / "talk.wav") + " " + Quoted(dir / (name + ".txt")) + " -o " +
                    Quoted(dir / (name + ".qzw")));
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    TToolRun quarter;
    TToolRun made;
    const double quarterSeconds = make("quarter", 1 << 20, quarter);
    const double seconds = make("long", 4 << 20, made);
    ASSERT_EQ(quarter.Status, 0) << quarter.Err.substr(0, 2000);
    ASSERT_EQ(made.Status, 0) << made.Err.substr(0, 2000);
    // Four times the text: four times the time at most when linear (less with the recording's
    // own share), sixteen when every sentence is tried against every word of the text.
    EXPECT_LT(seconds, 8 * quarterSeconds) << quarterSeconds << " s for a quarter of the text";
    EXPECT_NE(made.Err.find(" more sentences were not heard in the recording"), std::string::npos);
    EXPECT_LT(std::count(made.Err.begin(), made.Err.end(), '\n'), 150) << made.Err.substr(0, 2000);
}

// A translation that cannot be paired surely goes on no card, and the note names the cards.
TEST(TranscriptTitleTool, CardsWithoutASureTranslationShowNoneAndAreNamed)
{
    TTempFolder dir;
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading({"Good morning.", "Let us begin.", "Open your books."}, 600, dir / "day.wav", truth));
    std::ofstream(dir / "day.txt") << "Good morning.\nLet us begin.\nOpen your books.\n";
    std::ofstream(dir / "day.ja.txt") << "おはよう、始めよう。\n本を開いて。\n";
    const TToolRun made = Tool("title from-transcript " + Quoted(dir / "day.wav") + " " + Quoted(dir / "day.txt") +
                               " --translation " + Quoted(dir / "day.ja.txt") + " -o " + Quoted(dir / "day.qzw"));
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_NE(made.Out.find("cards: 3 from 3 sentences (0 with sub texts)"), std::string::npos) << made.Out;
    EXPECT_NE(made.Err.find("translation: cards 1-3 of 3 show no translation"), std::string::npos) << made.Err;
}
