#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "support/temp_folder.h"
#include "support/test_media.h"
#include "tool_run.h"

namespace fs = std::filesystem;

namespace {

std::string Bytes(const std::string& path)
{
    std::ostringstream out;
    out << std::ifstream(path, std::ios::binary).rdbuf();
    return out.str();
}

// Every file below the folder with its bytes, to see that nothing changed.
std::vector<std::pair<std::string, std::string>> Contents(const fs::path& folder)
{
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file() && !entry.is_symlink())
            files.emplace_back(entry.path().string(), Bytes(entry.path().string()));
    std::sort(files.begin(), files.end());
    return files;
}

class ToolInputs : public testing::Test {
protected:
    TTempFolder Dir;

    void SetUp() override { ASSERT_TRUE(MakeOgg(Dir / "talk.ogg", 2)); }

    // The inputs, afresh in a folder of their own, with links to them.
    void MakeInputs() const
    {
        fs::remove_all(Dir / "in");
        fs::create_directories(Dir / "in/pics");
        fs::copy_file(Dir / "talk.ogg", Dir / "in/talk.ogg");
        std::ofstream(Dir / "in/talk.srt") << "1\n00:00:00,500 --> 00:00:01,500\nGood morning.\n";
        std::ofstream(Dir / "in/talk.ja.srt") << "1\n00:00:00,500 --> 00:00:01,500\nおはよう。\n";
        std::ofstream(Dir / "in/talk.txt") << "Good morning.\n";
        std::ofstream(Dir / "in/pics/1.png") << "not really a picture";
        fs::create_symlink(Dir / "in/talk.ogg", Dir / "in/link.qzw");
        fs::create_hard_link(Dir / "in/talk.srt", Dir / "in/hard.qzw");
        fs::create_symlink(Dir / "in/pics/1.png", Dir / "in/picture-link.qzw");
    }

    std::string In(const std::string& name) const { return Quoted(Dir / ("in/" + name)); }
};

}  // namespace

// Whatever name leads to an input (itself, a symbolic link, a hard link, a file of a folder
// read or packed), the command stops before writing, says why and leaves every file as it was.
TEST_F(ToolInputs, AnOutputThatIsAnInputIsRefusedAndNothingIsTouched)
{
    const std::string subtitles = "title from-subtitles " + In("talk.ogg") + " " + In("talk.srt");
    const std::string transcript = "title from-transcript " + In("talk.ogg") + " " + In("talk.txt");
    const std::vector<std::string> commands = {
        subtitles + " -o " + In("talk.ogg"),
        subtitles + " -o " + In("talk.srt"),
        subtitles + " -o " + In("link.qzw"),
        subtitles + " --output " + In("hard.qzw"),
        subtitles + " --translation " + In("talk.ja.srt") + " -o " + In("talk.ja.srt"),
        subtitles + " --pictures " + In("pics") + " -o " + In("pics/1.png"),
        "title from-subtitles /dev/stdin " + In("talk.srt") + " -o " + In("talk.ogg") + " < " + In("talk.ogg"),
        transcript + " -o " + In("talk.txt"),
        transcript + " -o " + In("link.qzw"),
        "bdc encode " + In("talk.srt") + " " + In("hard.qzw"),
        "bdc encode " + In("talk.ogg") + " " + In("talk.ogg"),
        "pack " + In("") + " " + In("talk.ogg"),
        "pack " + In("") + " " + In("link.qzw"),
        "pack " + In("pics") + " " + In("picture-link.qzw"),
    };
    for (const std::string& command : commands) {
        MakeInputs();
        const auto before = Contents(Dir / "in");
        const TToolRun run = Tool(command);
        EXPECT_EQ(run.Status, 1) << command << "\n" << run.Err;
        EXPECT_NE(run.Err.find("Nothing was written"), std::string::npos) << command << "\n" << run.Err;
        EXPECT_TRUE(Contents(Dir / "in") == before) << "files changed by " << command;
        EXPECT_TRUE(fs::is_symlink(Dir / "in/link.qzw"));
    }
}

// A title name or a user name with line breaks stays one line of the title file: no second
// serial number, no setting or card slipped in.
TEST_F(ToolInputs, LineBreaksInGivenNamesAddNoLinesToTheTitleFile)
{
    MakeInputs();
    const std::string evil = "Talk\r\nVolSerialNum=EVIL\r\nMain=slipped in\nVolFileType=x";
    const TToolRun made = Tool("title from-subtitles " + In("talk.ogg") + " " + In("talk.srt") + " --title " +
                               Quoted(evil) + " --code T1 -o " + In("talk.qzw"));
    ASSERT_EQ(made.Status, 0) << made.Err;
    EXPECT_NE(made.Err.find("control characters"), std::string::npos) << made.Err;
    ASSERT_EQ(Tool("extract " + In("talk.qzw") + " " + In("program")).Status, 0);
    ASSERT_EQ(Tool("title resave " + In("program/talk.qzc") + " " + In("again.qzc") + " --user " +
                   Quoted("me\r\nVolSerialNum=EVIL2"))
                  .Status,
              0);
    for (const std::string file : {"program/talk.qzc", "again.qzc"}) {
        const std::string dumped = Tool("title dump " + In(file)).Out;
        EXPECT_NE(dumped.find("\"VolFileTitle=Talk VolSerialNum=EVIL Main=slipped in VolFileType=x\""),
                  std::string::npos)
            << dumped;
        EXPECT_NE(dumped.find("\"VolSerialNum=T1\""), std::string::npos) << dumped;
        EXPECT_EQ(dumped.find("\"VolSerialNum=EVIL"), std::string::npos) << dumped;
        EXPECT_EQ(dumped.find("slipped in\", \"sub\""), std::string::npos) << dumped;
    }
    EXPECT_NE(Tool("title dump " + In("again.qzc")).Out.find("me VolSerialNum=EVIL2"), std::string::npos);

    // A recording whose name breaks lines is stored under a plain one.
    fs::copy_file(Dir / "talk.ogg", Dir / "in/line\r\nfile=..\\x.ogg");
    ASSERT_EQ(Tool("title from-subtitles " + In("line\r\nfile=..\\x.ogg") + " " + In("talk.srt") + " --code T2 -o " +
                   In("line.qzw"))
                  .Status,
              0);
    EXPECT_NE(Tool("list " + In("line.qzw")).Out.find(" vcd/T2/recording.ogg\n"), std::string::npos);

    // Resaving a title over itself is refused like any output that is an input.
    const std::string title = Bytes(Dir / "in/again.qzc");
    const TToolRun inPlace = Tool("title resave " + In("again.qzc") + " " + In("again.qzc") + " --user me");
    EXPECT_EQ(inPlace.Status, 1);
    EXPECT_NE(inPlace.Err.find("Nothing was written"), std::string::npos) << inPlace.Err;
    EXPECT_EQ(Bytes(Dir / "in/again.qzc"), title);
}
