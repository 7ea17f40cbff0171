#include <gtest/gtest.h>

#include <filesystem>
#include <cmath>
#include <fstream>
#include <tuple>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_media.h"
#include "tool_run.h"

namespace fs = std::filesystem;

namespace {

class SubtitleTitleTool : public testing::Test {
protected:
    TTempFolder Dir;

    void SetUp() override
    {
        ASSERT_TRUE(MakeOgg(Dir / "talk.ogg", 5));
        std::ofstream(Dir / "talk.vtt") << "WEBVTT\n\n00:00.500 --> 00:02.000\n<00:00.600>Good\n<00:01.000>morning\n\n"
                                           "00:02.500 --> 00:04.000\nSee you\n\n00:04.500 --> 00:09.000\nLong\n";
    }
};

}  // namespace

TEST_F(SubtitleTitleTool, MakesAPackageThatListsExtractsDumpsAndPlays)
{
    const TToolRun made = Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + Quoted(Dir / "talk.vtt") +
                               " --title Talk --code T100 -o " + Quoted(Dir / "talk.qzw"));
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_EQ(made.Out, "title: Talk\ncode: T100\ncards: 3 from 3 cues (0 with sub texts, 0 with pictures)\npackage: " +
                            Dir / "talk.qzw" + "\nsync: subtitles kept as written: no speech was found in the recording\n");
    EXPECT_NE(made.Err.find("note: cue 3 (00:00:04.500) ends at 00:00:09.000, after the recording; cut to its end"),
              std::string::npos);

    const TToolRun listed = Tool("list " + Quoted(Dir / "talk.qzw"));
    EXPECT_EQ(listed.Status, 0);
    EXPECT_NE(listed.Out.find(" talk.qzc\n"), std::string::npos);
    EXPECT_NE(listed.Out.find(" vcd/T100/talk.ogg\n"), std::string::npos);
    EXPECT_NE(listed.Out.find(" vcd/T100/vcd.ini\n"), std::string::npos);

    ASSERT_EQ(Tool("extract " + Quoted(Dir / "talk.qzw") + " " + Quoted(Dir / "program")).Status, 0);
    const TToolRun dumped = Tool("title dump " + Quoted(Dir / "program/talk.qzc"));
    EXPECT_EQ(dumped.Status, 0);
    // The two timed words stay in their cue's card, the first at its own time.
    EXPECT_NE(dumped.Out.find("\"main\": \"Good||morning\", \"sub\": \"\", \"data\": \"WTM=0:100;6:500\""),
              std::string::npos);
    EXPECT_NE(dumped.Out.find("\"startText\": \"01 00:04:500\", \"endText\": \"01 00:05:000\""), std::string::npos);
    EXPECT_NE(dumped.Out.find("\"VolSerialNum=T100\""), std::string::npos);

    const TToolRun probed = Tool("media probe " + Quoted(Dir / "program/vcd/T100/talk.ogg"));
    EXPECT_EQ(probed.Status, 0);
    EXPECT_NE(probed.Out.find("length_ms=5000\n"), std::string::npos);
    const TToolRun played = Tool("media play " + Quoted(Dir / "program/vcd/T100/talk.ogg") + " 500 1000 --null");
    EXPECT_EQ(played.Status, 0) << played.Err;
    EXPECT_NE(played.Out.find("notify=successful"), std::string::npos);
}

TEST_F(SubtitleTitleTool, RefusesWhatItCannotUse)
{
    const std::string subs = Quoted(Dir / "talk.vtt");
    const std::string out = " -o " + Quoted(Dir / "x.qzw");
    EXPECT_EQ(Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + subs).Status, 2);
    EXPECT_EQ(Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + subs + out + " --colour red").Status, 2);
    EXPECT_EQ(Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + subs + " --code").Status, 2);

    const TToolRun missing = Tool("title from-subtitles " + Quoted(Dir / "none.ogg") + " " + subs + out);
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("cannot find the recording"), std::string::npos);

    std::ofstream(Dir / "text.ogg") << "this is no recording";
    const TToolRun unplayable = Tool("title from-subtitles " + Quoted(Dir / "text.ogg") + " " + subs + out);
    EXPECT_EQ(unplayable.Status, 1);
    EXPECT_NE(unplayable.Err.find("the player cannot open"), std::string::npos);

    const TToolRun badCode =
        Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + subs + out + " --code 'a:b'");
    EXPECT_EQ(badCode.Status, 1);
    EXPECT_NE(badCode.Err.find("cannot name a title"), std::string::npos);
    EXPECT_FALSE(fs::exists(Dir / "x.qzw"));
}

// A recording that can be read only once, through a named pipe or a pipe's /dev/fd name.
TEST_F(SubtitleTitleTool, TakesARecordingFromAPipe)
{
    const std::string subs = " " + Quoted(Dir / "talk.vtt");
    const TToolRun fifo = RunCommand("cd " + Quoted(Dir.Path().string()) + " && mkfifo talk.fifo.ogg && (cat talk.ogg > " +
                                     "talk.fifo.ogg &) && " + OLVE_BIN_DIR + "/olvetool title from-subtitles talk.fifo.ogg" +
                                     subs + " --code P1 -o fifo.qzw");
    EXPECT_EQ(fifo.Status, 0) << fifo.Err;
    EXPECT_NE(Tool("list " + Quoted(Dir / "fifo.qzw")).Out.find(" vcd/P1/talk.fifo.ogg\n"), std::string::npos);
    const TToolRun pipe = RunCommand("cat " + Quoted(Dir / "talk.ogg") + " | " + OLVE_BIN_DIR +
                                     "/olvetool title from-subtitles /dev/fd/0" + subs + " --code P2 -o " +
                                     Quoted(Dir / "pipe.qzw"));
    EXPECT_EQ(pipe.Status, 0) << pipe.Err;
    EXPECT_NE(Tool("list " + Quoted(Dir / "pipe.qzw")).Out.find(" vcd/P2/0\n"), std::string::npos);
}

// Runs that were killed left their copies of piped recordings and their staging folders in
// the temporary folder for ever: the next run removes those of ended processes, and only those.
TEST_F(SubtitleTitleTool, TheNextRunRemovesTheTemporaryFoldersOfKilledRuns)
{
    const std::string temp = Dir / "tmp";
    for (const char* folder : {"olvetool-killed", "olve-title-killed", "olvetool-unmarked"})
        fs::create_directories(temp + "/" + folder);
    const std::string dead = RunCommand("sh -c 'echo $$'").Out;
    for (const char* folder : {"olvetool-killed", "olve-title-killed"})
        std::ofstream(temp + "/" + folder + "/.owner") << dead;
    const TToolRun pipe = RunCommand("cat " + Quoted(Dir / "talk.ogg") + " | TMPDIR=" + Quoted(temp) + " " + OLVE_BIN_DIR +
                                     "/olvetool title from-subtitles /dev/fd/0 " + Quoted(Dir / "talk.vtt") +
                                     " --code P3 -o " + Quoted(Dir / "pipe.qzw"));
    EXPECT_EQ(pipe.Status, 0) << pipe.Err;
    std::vector<std::string> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(temp))
        left.push_back(entry.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"olvetool-unmarked"});
}

TEST_F(SubtitleTitleTool, TheLayoutIsWrittenAsTheSettingsThePlayerReads)
{
    const std::string made = "title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + Quoted(Dir / "talk.vtt");
    for (const auto& [layout, setting] : {std::pair{"list", "\"MonSty=msList\""}, std::pair{"above", "\"ImgAln=alTop\""},
                                          std::pair{"beside", "\"ImgAln=alLeft\""}}) {
        SCOPED_TRACE(layout);
        const std::string package = Dir / (std::string(layout) + ".qzw");
        ASSERT_EQ(Tool(made + " --layout " + layout + " -o " + Quoted(package)).Status, 0);
        ASSERT_EQ(Tool("extract " + Quoted(package) + " " + Quoted(Dir / layout) + " --no-header-folder").Status, 0);
        EXPECT_NE(Tool("title dump " + Quoted(Dir / (std::string(layout) + "/" + layout + ".qzc"))).Out.find(setting),
                  std::string::npos);
    }
    EXPECT_EQ(Tool(made + " --layout sideways -o " + Quoted(Dir / "x.qzw")).Status, 2);
}

// Each card as a clip cut at its bounds, and a line that flashcard programs import.
TEST_F(SubtitleTitleTool, ExportsCardsAsClipsAndATabSeparatedFile)
{
    if (!HasProgram("soxi"))
        GTEST_SKIP() << "soxi is missing";
    std::ofstream(Dir / "talk.ja.vtt") << "WEBVTT\n\n00:00.500 --> 00:02.000\nおはよう\n";
    ASSERT_EQ(Tool("title from-subtitles " + Quoted(Dir / "talk.ogg") + " " + Quoted(Dir / "talk.vtt") + " --translation " +
                   Quoted(Dir / "talk.ja.vtt") + " --title 'Talk & walk' -o " + Quoted(Dir / "talk.qzw"))
                  .Status,
              0);
    const TToolRun exported = Tool("title export-cards " + Quoted(Dir / "talk.qzw") + " " + Quoted(Dir / "cards"));
    ASSERT_EQ(exported.Status, 0) << exported.Err;
    std::ifstream tsv(Dir / "cards/cards.tsv");
    std::vector<std::string> lines;
    for (std::string line; std::getline(tsv, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Good<br>morning\tおはよう\t[sound:Talk___walk-001.ogg]\t\tTalk___walk_001");
    EXPECT_EQ(lines[2], "Long\t\t[sound:Talk___walk-003.ogg]\t\tTalk___walk_003");
    const int rate = std::stoi(RunCommand("soxi -r " + Quoted(Dir / "talk.ogg")).Out);
    for (const auto& [clip, fromMs, toMs] : {std::tuple{"Talk___walk-001.ogg", 500, 2000},
                                             std::tuple{"Talk___walk-003.ogg", 4500, 5000}}) {
        const long samples = std::stol(RunCommand("soxi -s " + Quoted(Dir / (std::string("cards/") + clip))).Out);
        EXPECT_EQ(samples, std::lround(toMs * rate / 1000.0) - std::lround(fromMs * rate / 1000.0)) << clip;
    }
    EXPECT_EQ(Tool("title export-cards " + Quoted(Dir / "talk.vtt") + " " + Quoted(Dir / "x")).Status, 1);
}

TEST_F(SubtitleTitleTool, SentencesJoinCuesOnlyWhenAsked)
{
    const std::string args = Quoted(Dir / "talk.ogg") + " " + Quoted(Dir / "talk.vtt") + " -o " + Quoted(Dir / "talk.qzw");
    const TToolRun cues = Tool("title from-subtitles " + args);
    ASSERT_EQ(cues.Status, 0) << cues.Err;
    EXPECT_NE(cues.Out.find("cards: 3 from 3 cues"), std::string::npos) << cues.Out;

    const TToolRun sentences = Tool("title from-subtitles " + args + " --sentences");
    ASSERT_EQ(sentences.Status, 0) << sentences.Err;
    EXPECT_NE(sentences.Out.find("cards: 1 from 3 cues"), std::string::npos) << sentences.Out;
    EXPECT_NE(sentences.Err.find("3 cues made 1 card of whole sentences"), std::string::npos) << sentences.Err;
}
