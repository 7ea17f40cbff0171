#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>

#include "codec/dos_date_time.h"
#include "filetrain/file_train.h"
#include "filetrain/train_extract.h"
#include "support/temp_folder.h"
#include "train_bytes.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Status = -1;
    std::string Out;
};

// A command line run by the shell, with what it prints.
TRun Run(const std::string& command)
{
    TRun run;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe))
            run.Out += buffer.data();
        const int status = pclose(pipe);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    return run;
}

TRun Tool(const std::string& args)
{
    return Run(std::string(OLVE_BIN_DIR) + "/olvetool " + args + " 2>/dev/null");
}

// With standard error in the output.
TRun Shell(const std::string& command)
{
    return Run("(" + command + ") 2>&1");
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

void MakeFile(const std::string& path, const std::string& content, std::uint32_t dos)
{
    fs::create_directories(fs::path(path).parent_path());
    WriteBytes(path, content);
    std::time_t time = 0;
    ASSERT_TRUE(TimeOfDosDateTime(dos, time));
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(time)));
}

std::time_t ModifiedTime(const std::string& path)
{
    struct stat st{};
    stat(path.c_str(), &st);
    return st.st_mtime;
}

// A title's files: text that compresses, a picture that does not, a large recording, an
// empty file and Japanese names.
std::vector<std::pair<std::string, std::string>> TitleFiles()
{
    std::mt19937 random(7);
    std::string noise(3000, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    std::string recording(static_cast<std::size_t>(LargeEntrySize) + 5000, '\0');
    for (char& c : recording)
        c = static_cast<char>(random() % 7);
    std::string text;
    for (int i = 0; i < 50; ++i)
        text += "MainText=This is the sentence number " + std::to_string(i) + ".\r\n";
    return {{"lesson.qzc", text}, {"pic/cover.jpg", noise}, {"media/track.wav", recording},
            {"empty.txt", ""}, {"絵/表紙.txt", "\x95\x5C\x8E\x86"}};
}

}  // namespace

TEST(TrainTool, PackListAndExtractGiveBackTheSameFiles)
{
    TTempFolder dir;
    const auto files = TitleFiles();
    std::uint32_t date = DosDate(2003, 2, 10, 12, 0, 0);
    for (const auto& [name, content] : files)
        MakeFile(dir / ("src/" + name), content, date += 4);

    // The package is made inside the folder it packs, and is not packed into itself.
    const std::string package = dir / "src/title.qzw";
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(package)).Status, 0);
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(package)).Status, 0);

    const TRun list = Tool("list " + Quoted(package));
    ASSERT_EQ(list.Status, 0);
    // Name order; text compressed, noise and the large recording plain.
    TTrainFiles entries;
    std::string header;
    ASSERT_TRUE(ReadFileTrain(package, entries, header));
    ASSERT_EQ(entries.Count(), 5);
    EXPECT_EQ(entries.Items(0)->Name, "empty.txt");
    EXPECT_EQ(entries.Items(1)->Name, "lesson.qzc");
    EXPECT_LT(entries.Items(1)->StoredSize, entries.Items(1)->Size);
    EXPECT_EQ(entries.Items(2)->Name, "media\\track.wav");
    EXPECT_EQ(entries.Items(2)->StoredSize, entries.Items(2)->Size);
    EXPECT_EQ(entries.Items(3)->Name, "pic\\cover.jpg");
    EXPECT_EQ(entries.Items(3)->StoredSize, 3000);
    EXPECT_EQ(entries.Items(4)->Name, "\x8A\x47\\\x95\x5C\x8E\x86.txt");
    char line[200];
    std::snprintf(line, sizeof line, "%10d %10d lesson.qzc\n", entries.Items(1)->StoredSize, entries.Items(1)->Size);
    EXPECT_NE(list.Out.find(line), std::string::npos);
    EXPECT_NE(list.Out.find(" 絵/表紙.txt\n"), std::string::npos);
    EXPECT_EQ(std::count(list.Out.begin(), list.Out.end(), '\n'), 5);

    const TRun extract = Tool("extract " + Quoted(package) + " " + Quoted(dir / "out"));
    ASSERT_EQ(extract.Status, 0);
    EXPECT_EQ(std::count(extract.Out.begin(), extract.Out.end(), '\n'), 5);
    EXPECT_NE(extract.Out.find(dir / "out/media/track.wav\n"), std::string::npos);
    for (const auto& [name, content] : files) {
        EXPECT_TRUE(ReadBytes(dir / ("out/" + name)) == content) << name;
        EXPECT_EQ(ModifiedTime(dir / ("out/" + name)), ModifiedTime(dir / ("src/" + name))) << name;
    }
}

TEST(TrainTool, TheHeaderFolderIsUsedUnlessRefused)
{
    TTempFolder dir;
    MakeFile(dir / "src/a.txt", "A", DosDate(2003, 2, 10, 12, 0, 0));
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw") + " --header 教材/Title").Status, 0);
    ASSERT_EQ(Tool("extract " + Quoted(dir / "p.qzw") + " " + Quoted(dir / "with")).Status, 0);
    EXPECT_EQ(ReadBytes(dir / "with/教材/Title/a.txt"), "A");
    ASSERT_EQ(Tool("extract " + Quoted(dir / "p.qzw") + " " + Quoted(dir / "without") + " --no-header-folder").Status, 0);
    EXPECT_EQ(ReadBytes(dir / "without/a.txt"), "A");

    EXPECT_NE(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "q.qzw") + " --header ../up").Status, 0);
    EXPECT_FALSE(fs::exists(dir / "q.qzw"));
}

TEST(TrainTool, FailuresExitNonZero)
{
    TTempFolder dir;
    WriteBytes(dir / "bad.qzw", "not a train");
    EXPECT_EQ(Tool("list " + Quoted(dir / "bad.qzw")).Status, 1);
    EXPECT_EQ(Tool("extract " + Quoted(dir / "bad.qzw") + " " + Quoted(dir / "out")).Status, 1);
    EXPECT_EQ(Tool("pack " + Quoted(dir / "missing") + " " + Quoted(dir / "p.qzw")).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "p.qzw"));
    // A name that code page 932 cannot hold is not packed under another name.
    MakeFile(dir / "src/\xF0\x9F\x98\x80.txt", "x", DosDate(2003, 2, 10, 12, 0, 0));
    EXPECT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw")).Status, 1);
    EXPECT_FALSE(fs::exists(dir / "p.qzw"));
    EXPECT_EQ(Tool("extract only-one-argument").Status, 2);
    EXPECT_EQ(Tool("pack a b --header").Status, 2);
}

TEST(TrainTool, ExtractNeverReplacesThePlayerInTheFolderThatHoldsIt)
{
    TTempFolder dir;
    MakeFile(dir / "prog/olveplayer", "the player", DosDate(2003, 2, 10, 12, 0, 0));
    fs::permissions(dir / "prog/olveplayer", fs::perms::owner_all);
    MakeFile(dir / "src/OlvePlayer", "evil", DosDate(2003, 2, 10, 12, 0, 0));
    MakeFile(dir / "src/lesson.qzc", "L", DosDate(2003, 2, 10, 12, 0, 0));
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw")).Status, 0);
    const TRun extract = Tool("extract " + Quoted(dir / "p.qzw") + " " + Quoted(dir / "prog"));
    EXPECT_EQ(extract.Status, 1) << "an entry was refused";
    EXPECT_EQ(extract.Out, dir / "prog/lesson.qzc" + "\n");
    EXPECT_EQ(ReadBytes(dir / "prog/olveplayer"), "the player");
    EXPECT_FALSE(fs::exists(dir / "prog/OlvePlayer"));
}

// A full disk, as a limit on the size of files: the tool says which file and why, and fails.
TEST(TrainTool, ExtractFailsWhenAFileCannotBeWritten)
{
    TTempFolder dir;
    MakeFile(dir / "src/big.bin", std::string(20000, 'B'), DosDate(2003, 2, 10, 12, 0, 0));
    MakeFile(dir / "src/small.txt", "S", DosDate(2003, 2, 10, 12, 0, 0));
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw")).Status, 0);
    const TRun extract = Shell("ulimit -f 4; trap '' XFSZ; exec " + std::string(OLVE_BIN_DIR) + "/olvetool extract " +
                               Quoted(dir / "p.qzw") + " " + Quoted(dir / "out"));
    EXPECT_EQ(extract.Status, 1);
    EXPECT_NE(extract.Out.find(dir / "out/big.bin: " + std::strerror(EFBIG)), std::string::npos) << extract.Out;
    EXPECT_EQ(ReadBytes(dir / "out/small.txt"), "S");
    EXPECT_FALSE(fs::exists(dir / "out/big.bin"));
}

TEST(TrainTool, ExtractOfADamagedPackageFailsAndSaysHowFarItReads)
{
    TTempFolder dir;
    MakeFile(dir / "src/a.txt", "A", DosDate(2003, 2, 10, 12, 0, 0));
    MakeFile(dir / "src/b.txt", std::string(5000, 'B'), DosDate(2003, 2, 10, 12, 0, 0));
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw")).Status, 0);
    fs::resize_file(dir / "p.qzw", fs::file_size(dir / "p.qzw") - 100);
    const TRun extract = Shell(std::string(OLVE_BIN_DIR) + "/olvetool extract " + Quoted(dir / "p.qzw") + " " +
                               Quoted(dir / "out"));
    EXPECT_EQ(extract.Status, 1);
    EXPECT_NE(extract.Out.find("the package is damaged and was not installed: the files after the first 1 cannot be "
                               "read\r\n\r\n" + dir / "p.qzw"),
              std::string::npos)
        << extract.Out;
    EXPECT_FALSE(fs::exists(dir / "out/a.txt"));
}

TEST(TrainTool, ARelativeDestinationThatDoesNotExistYetTakesEveryEntry)
{
    TTempFolder dir;
    MakeFile(dir / "src/lesson.qzc", "L", DosDate(2003, 2, 10, 12, 0, 0));
    MakeFile(dir / "src/vcd/K100/tone.wav", "RIFF", DosDate(2003, 2, 10, 12, 0, 0));
    ASSERT_EQ(Tool("pack " + Quoted(dir / "src") + " " + Quoted(dir / "p.qzw")).Status, 0);
    const TRun extract = Shell("cd " + Quoted(dir.Path().string()) + " && " + OLVE_BIN_DIR + "/olvetool extract p.qzw out");
    EXPECT_EQ(extract.Status, 0) << extract.Out;
    EXPECT_EQ(ReadBytes(dir / "out/lesson.qzc"), "L");
    EXPECT_EQ(ReadBytes(dir / "out/vcd/K100/tone.wav"), "RIFF");
}

// Every failing command says what failed; names that would reach a terminal or a folder of
// their own are neither written nor printed raw.
TEST(TrainTool, RefusedEntriesAndUnreadableFilesAreSaidAndExitNonZero)
{
    TTempFolder dir;
    WriteBytes(dir / "p.qzw", TrainBytes("", {{"lesson.qzc", "L"}, {"a\x1b[2Jb.txt", "E"}, {"\x82/evil.txt", "S"}}));
    const TRun list = Shell(std::string(OLVE_BIN_DIR) + "/olvetool list " + Quoted(dir / "p.qzw"));
    EXPECT_EQ(list.Status, 0);
    EXPECT_EQ(list.Out.find('\x1b'), std::string::npos) << list.Out;
    EXPECT_NE(list.Out.find("a\\x1b[2Jb.txt"), std::string::npos) << list.Out;
    EXPECT_NE(list.Out.find("\\x82/evil.txt"), std::string::npos) << list.Out;
    const TRun extract =
        Shell(std::string(OLVE_BIN_DIR) + "/olvetool extract " + Quoted(dir / "p.qzw") + " " + Quoted(dir / "out"));
    EXPECT_EQ(extract.Status, 1) << extract.Out;
    EXPECT_NE(extract.Out.find("2 entries of"), std::string::npos) << extract.Out;
    EXPECT_EQ(ReadBytes(dir / "out/lesson.qzc"), "L");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir / "out"), fs::directory_iterator()), 1) << "no stray folder";

    fs::resize_file(dir / "p.qzw", fs::file_size(dir / "p.qzw") - 3);
    const TRun cut = Shell(std::string(OLVE_BIN_DIR) + "/olvetool list " + Quoted(dir / "p.qzw"));
    EXPECT_EQ(cut.Status, 1);
    EXPECT_NE(cut.Out.find("cut short after 2 whole entries"), std::string::npos) << cut.Out;
    for (const auto& [file, reason] : {std::pair{dir / "missing.qzc", "no such file"},
                                       std::pair{dir / "p.qzw", "is not a title file"}}) {
        const TRun dump = Shell(std::string(OLVE_BIN_DIR) + "/olvetool title dump " + Quoted(file) + " >/dev/null");
        EXPECT_EQ(dump.Status, 1);
        EXPECT_NE(dump.Out.find(reason), std::string::npos) << dump.Out;
    }
}
