#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/test_package.h"
#include "titlemaker/title_picture.h"
#include "tool_run.h"

namespace fs = std::filesystem;

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at, end - at));
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

TTestCard Card(const std::string& main, const std::string& picture, int startMs, int endMs)
{
    return {main, "", picture, "", startMs, endMs};
}

// Exports of hostile titles into a folder that already holds the learner's files.
class CardExport : public testing::Test {
protected:
    TTempFolder Dir;

    std::string Export() const { return Dir / "export"; }
    std::string Package(const TTestTitle& title) const { return MakeTestPackage(Dir.Path().string(), title); }
    TToolRun Run(const std::string& package) const
    {
        return Tool("title export-cards " + Quoted(package) + " " + Quoted(Export()));
    }
    std::string Exported(const std::string& name) const { return ReadFile(Export() + "/" + name); }
    void Keep(const std::string& name, const std::string& text) const
    {
        fs::create_directories(Export());
        std::ofstream(Export() + "/" + name) << text;
    }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Export()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace

TEST_F(CardExport, TheFilesItWritesHaveNamesOfItsOwnAndReplaceNothing)
{
    TTestTitle title;
    title.Cards = {Card("one", ".bashrc", 100, 1000), Card("two", "cards.tsv", 1000, 2000),
                   Card("three", "evil.desktop", 2000, 3000), Card("four", "p1.png", 3000, 4000)};
    title.Pictures = {"p1.png"};
    for (const char* name : {".bashrc", "cards.tsv", "evil.desktop"})
        title.ExtraFiles.push_back("titles/K/K100/pic/" + std::string(name));
    Keep(".bashrc", "the learner's own\n");
    Keep("cards.tsv", "an earlier card\n");
    Keep("Test_Lesson-001.ogg", "an earlier clip");

    const TToolRun run = Run(Package(title));
    EXPECT_EQ(run.Status, 1) << "three pictures are refused";
    EXPECT_NE(run.Err.find("the picture .bashrc is not read: it is not a picture the player shows"), std::string::npos)
        << run.Err;
    EXPECT_EQ(Exported(".bashrc"), "the learner's own\n");
    EXPECT_TRUE(Exported("Test_Lesson-001.ogg") == "an earlier clip") << "an earlier clip was replaced";
    EXPECT_FALSE(fs::exists(Export() + "/evil.desktop"));
    const std::vector<std::string> lines = Lines(Exported("cards.tsv"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "an earlier card");
    EXPECT_EQ(lines[1], "one\t\t[sound:Test_Lesson-001-2.ogg]\t\tTest_Lesson_001");
    EXPECT_EQ(lines[2], "two\t\t[sound:Test_Lesson-002.ogg]\t\tTest_Lesson_002");
    EXPECT_EQ(lines[4], "four\t\t[sound:Test_Lesson-004.ogg]\tTest_Lesson-004-picture.png\tTest_Lesson_004");
    EXPECT_EQ(ReadFile(Export() + "/Test_Lesson-004-picture.png").substr(1, 3), "PNG");
    const std::regex ours("Test_Lesson-00[1-4](-2)?(\\.ogg|-picture\\.png)");
    for (const std::string& name : Names())
        EXPECT_TRUE(name == ".bashrc" || name == "cards.tsv" || std::regex_match(name, ours)) << name;
}

TEST_F(CardExport, ACardsTsvThatIsNotAFileOfItsOwnIsNeitherFollowedNorReplaced)
{
    TTestTitle title;
    title.Cards = {Card("one", "", 100, 1000)};
    const std::string package = Package(title);
    std::ofstream(Dir / "bashrc") << "the learner's own\n";
    fs::create_directories(Export());
    fs::create_symlink(Dir / "bashrc", Export() + "/cards.tsv");
    const TToolRun linked = Run(package);
    EXPECT_EQ(linked.Status, 1);
    EXPECT_NE(linked.Err.find("a link, which is not followed"), std::string::npos) << linked.Err;
    EXPECT_EQ(ReadFile(Dir / "bashrc"), "the learner's own\n");

    fs::remove(Export() + "/cards.tsv");
    fs::create_hard_link(Dir / "bashrc", Export() + "/cards.tsv");
    EXPECT_EQ(Run(package).Status, 1);
    EXPECT_EQ(ReadFile(Dir / "bashrc"), "the learner's own\n");
}

TEST_F(CardExport, PicturesAreReadOnlyInsideTheTitlesOwnFolder)
{
    std::ofstream(Dir / "secret.png") << "the learner's secret";
    std::string upToRoot;
    for (int i = 0; i < 40; ++i)
        upToRoot += "..\\";
    std::string relativeSecret = (Dir / "secret.png").substr(1);
    std::replace(relativeSecret.begin(), relativeSecret.end(), '/', '\\');
    TTestTitle title;
    title.Cards = {Card("absolute", Dir / "secret.png", 100, 1000), Card("climbing", upToRoot + relativeSecret, 1000, 2000),
                   Card("system", "..\\..\\..\\..\\..\\..\\..\\..\\etc\\passwd", 2000, 3000)};
    const TToolRun run = Run(Package(title));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("secret.png is not in the title's folder"), std::string::npos) << run.Err;
    for (const std::string& name : Names())
        EXPECT_EQ(Exported(name).find("secret"), std::string::npos) << name;
    for (const std::string& line : Lines(Exported("cards.tsv")))
        EXPECT_NE(line.find("]\t\tTest_Lesson_"), std::string::npos) << line;
}

TEST(TitlePicture, ALinkLeadingOutOfTheTitlesFolderIsNotFollowed)
{
    TTempFolder dir;
    const fs::path title = dir.Path() / "titles/K/K100";
    fs::create_directories(title / "pic");
    std::ofstream(dir / "secret.png") << "secret";
    std::ofstream(title / "pic/Inner.PNG") << "picture";
    fs::create_symlink(dir / "secret.png", title / "pic/out.png");
    fs::create_symlink("Inner.PNG", title / "pic/in.png");
    fs::create_directory_symlink(dir.Path(), title / "pic/up");
    std::string reason;
    EXPECT_EQ(olve::TitlePicture(title.string() + "/", "out.png", reason), "");
    EXPECT_EQ(reason, "the picture out.png is not in the title's folder");
    EXPECT_EQ(olve::TitlePicture(title.string() + "/", "up\\secret.png", reason), "");
    EXPECT_EQ(olve::TitlePicture(title.string() + "/", "in.png", reason), fs::canonical(title / "pic/Inner.PNG").string());
    EXPECT_EQ(olve::TitlePicture(title.string() + "/", "pic\\inner.png", reason),
              fs::canonical(title / "pic/Inner.PNG").string());
    EXPECT_EQ(olve::TitlePicture("/", "inner.png", reason), "");
}

TEST_F(CardExport, ExportingAgainKeepsEveryEarlierExport)
{
    TTestTitle title;
    title.Cards = {Card("one", "", 100, 1000), Card("two", "", 1000, 2000)};
    const std::string package = Package(title);
    ASSERT_EQ(Run(package).Status, 0);
    const std::string firstClip = Exported("Test_Lesson-001.ogg");
    ASSERT_FALSE(firstClip.empty());
    ASSERT_EQ(Run(package).Status, 0);
    EXPECT_TRUE(Exported("Test_Lesson-001.ogg") == firstClip) << "the first export's clip was replaced";
    EXPECT_EQ(Exported("cards.tsv"), "one\t\t[sound:Test_Lesson-001.ogg]\t\tTest_Lesson_001\n"
                                     "two\t\t[sound:Test_Lesson-002.ogg]\t\tTest_Lesson_002\n"
                                     "one\t\t[sound:Test_Lesson-001-2.ogg]\t\tTest_Lesson_001\n"
                                     "two\t\t[sound:Test_Lesson-002-2.ogg]\t\tTest_Lesson_002\n");
    for (const std::string& name : Names())
        EXPECT_FALSE(name.starts_with(".olve-export")) << "no temporary is left: " << name;
}

// What spreadsheets and flashcard programs make of the fields: no formula, no field that
// swallows the next ones.
TEST_F(CardExport, FieldsAreSafeForImporters)
{
    TTestTitle title;
    title.Cards = {Card("\"Wait,\" she said\tand went", "", 100, 500), Card("=HYPERLINK(\"http://x.test\",\"go\")", "", 500, 900),
                   Card("-5 degrees", "", 900, 1300), Card("+81 3", "", 1300, 1700), Card("@SUM(A1)", "", 1700, 2100)};
    title.Cards[2].Sub = "=1+1";
    ASSERT_EQ(Run(Package(title)).Status, 0);
    const std::vector<std::string> lines = Lines(Exported("cards.tsv"));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "\"\"\"Wait,\"\" she said and went\"\t\t[sound:Test_Lesson-001.ogg]\t\tTest_Lesson_001");
    EXPECT_EQ(lines[1], "\"&#61;HYPERLINK(\"\"http://x.test\"\",\"\"go\"\")\"\t\t[sound:Test_Lesson-002.ogg]\t\tTest_Lesson_002");
    EXPECT_EQ(lines[2], "&#45;5 degrees\t&#61;1+1\t[sound:Test_Lesson-003.ogg]\t\tTest_Lesson_003");
    EXPECT_EQ(lines[3], "&#43;81 3\t\t[sound:Test_Lesson-004.ogg]\t\tTest_Lesson_004");
    EXPECT_EQ(lines[4], "&#64;SUM(A1)\t\t[sound:Test_Lesson-005.ogg]\t\tTest_Lesson_005");
}

// A film whose Vorbis sound at 48 kHz stops half a second before its picture.
TEST_F(CardExport, ClipsOfAFilmAreWrittenAndCardsTsvNamesOnlyThose)
{
    const std::string film = Dir / "film.mkv";
    ASSERT_TRUE(MakeMedia("matroskamux name=mux ! filesink location={out} videotestsrc num-buffers=100 ! "
                          "video/x-raw,width=160,height=120,framerate=25/1 ! jpegenc ! mux. audiotestsrc "
                          "samplesperbuffer=4800 num-buffers=35 ! audio/x-raw,rate=48000,channels=2 ! audioconvert ! "
                          "vorbisenc ! mux.",
                          film));
    TTestTitle title;
    title.Media = "film.mkv";
    title.MediaSource = film;
    title.Cards = {Card("one", "", 500, 2000), Card("two", "", 2000, 3900), Card("three", "", 3700, 4000)};
    const TToolRun run = Run(Package(title));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Err.find("note: Test_Lesson-002.ogg: the recording's sound ends at"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find("Test_Lesson-003.ogg: the recording's sound ends before 3700 ms"), std::string::npos) << run.Err;
    EXPECT_EQ(Exported("cards.tsv"), "one\t\t[sound:Test_Lesson-001.ogg]\t\tTest_Lesson_001\n"
                                     "two\t\t[sound:Test_Lesson-002.ogg]\t\tTest_Lesson_002\n");
    EXPECT_FALSE(fs::exists(Export() + "/Test_Lesson-003.ogg"));
    if (HasProgram("soxi")) {
        EXPECT_EQ(RunCommand("soxi -s " + Quoted(Export() + "/Test_Lesson-001.ogg")).Out, "72000\n");
    }
}

// The title's name makes the files' names: a name with folders in it or longer than a file
// name may be still makes a short plain one, cut at a whole character.
TEST_F(CardExport, AnyTitleNameMakesAShortPlainFileName)
{
    TTestTitle title;
    title.Name = "../..";
    for (int i = 0; i < 200; ++i)
        title.Name += "あ";
    title.Cards = {Card("one", "", 100, 1000)};
    const TToolRun run = Run(Package(title));
    ASSERT_EQ(run.Status, 0) << run.Err;
    std::string stem = "_____";
    for (int i = 0; i < 25; ++i)
        stem += "あ";
    EXPECT_EQ(Names(), (std::vector<std::string>{stem + "-001.ogg", "cards.tsv"}));
}

// An export killed on its way leaves a half-written temporary; the next one removes it, and
// only it.
TEST_F(CardExport, TemporariesOfAKilledExportAreRemovedAndNothingElse)
{
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    ASSERT_GT(gone, 0);
    waitpid(gone, nullptr, 0);
    const std::string left = ".olve-export-" + std::to_string(gone) + "-0badc0de";
    const std::string running = ".olve-export-" + std::to_string(getpid()) + "-0badc0de";
    Keep(left, "half a clip");
    Keep(running, "being written");
    Keep(".olve-export-notes", "the learner's own");
    TTestTitle title;
    title.Cards = {Card("one", "", 100, 1000)};
    ASSERT_EQ(Run(Package(title)).Status, 0);
    EXPECT_EQ(Names(), (std::vector<std::string>{running, ".olve-export-notes", "Test_Lesson-001.ogg", "cards.tsv"}));
}
