#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/atomic_file.h"
#include "codec/compress_string_list.h"
#include "codec/delta_code.h"
#include "support/temp_folder.h"

using olve::TCompressStringList;

namespace {

std::vector<std::uint8_t> FileBytes(const std::string& path)
{
    std::vector<std::uint8_t> data;
    olve::ReadWholeFile(path, data);
    return data;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace

TEST(CompressStringList, SavesTheLinesAsOneBdcStreamOfCrLfText)
{
    TTempFolder dir;
    TCompressStringList list;
    list.Add("[System]");
    list.Add("Width=512");
    ASSERT_EQ(list.SaveToFile(dir / "a.dat"), 0);

    olve::TDeltaCode codec;
    codec.Coded = FileBytes(dir / "a.dat");
    ASSERT_TRUE(codec.Decode());
    EXPECT_EQ(std::string(codec.Plain.begin(), codec.Plain.end()), "[System]\r\nWidth=512\r\n");

    TCompressStringList loaded;
    EXPECT_FALSE(loaded.LoadFromFile(dir / "a.dat"));
    EXPECT_EQ(loaded.Lines(), list.Lines());
}

TEST(CompressStringList, LoadingSplitsAtEveryKindOfLineBreak)
{
    TTempFolder dir;
    olve::TDeltaCode codec;
    const std::string text = "one\r\ntwo\rthree\nfour\n\r\nsix";
    codec.Plain.assign(text.begin(), text.end());
    codec.Encode();
    WriteBytes(dir / "t.qzc", std::string(codec.Coded.begin(), codec.Coded.end()));

    TCompressStringList list;
    list.LoadFromFile(dir / "t.qzc");
    EXPECT_EQ(list.Lines(), (std::vector<std::string>{"one", "two", "three", "four", "", "six"}));
}

TEST(CompressStringList, AMissingOrBadFileLoadsNothingAndSaysWhy)
{
    TTempFolder dir;
    TCompressStringList list;
    list.Add("kept");

    const std::optional<olve::TFailure> missing = list.LoadFromFile(dir / "none.dat");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Kind, olve::TFailureKind::Missing);
    EXPECT_EQ(olve::BilingualText(*missing), (dir / "none.dat") + " がありません");
    EXPECT_EQ(list.Lines(), std::vector<std::string>{"kept"});

    WriteBytes(dir / "plain.txt", "not compressed\r\n");
    const std::optional<olve::TFailure> bad = list.LoadFromFile(dir / "plain.txt");
    ASSERT_TRUE(bad);
    EXPECT_EQ(bad->Kind, olve::TFailureKind::Damaged);
    EXPECT_EQ(bad->Subject, dir / "plain.txt");
    EXPECT_EQ(list.Lines(), std::vector<std::string>{"kept"});
}

TEST(CompressStringList, SavingCreatesMissingFoldersAndReportsImpossibleOnes)
{
    TTempFolder dir;
    TCompressStringList list;
    list.Add("x");
    EXPECT_EQ(list.SaveToFile(""), 1);
    EXPECT_EQ(list.SaveToFile(dir / "deep/er/file.dat"), 0);
    EXPECT_TRUE(std::filesystem::exists(dir / "deep/er/file.dat"));

    WriteBytes(dir / "blocker", "a file where a folder should be");
    EXPECT_EQ(list.SaveToFile(dir / "blocker/file.dat"), 1);
}

TEST(CompressStringList, SavingReplacesAReadOnlyFileAndKeepsItsMode)
{
    TTempFolder dir;
    TCompressStringList list;
    list.Add("old");
    ASSERT_EQ(list.SaveToFile(dir / "ro.dat"), 0);
    chmod((dir / "ro.dat").c_str(), 0444);

    list.Put(0, "new");
    ASSERT_EQ(list.SaveToFile(dir / "ro.dat"), 0);
    struct stat st{};
    stat((dir / "ro.dat").c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0444u);
    TCompressStringList loaded;
    loaded.LoadFromFile(dir / "ro.dat");
    EXPECT_EQ(loaded.Lines(), std::vector<std::string>{"new"});
    // No temporary file is left beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CompressStringList, AFailedSaveLeavesTheOldFileAsItWas)
{
    TTempFolder dir;
    TCompressStringList list;
    list.Add("precious");
    const std::string path = dir / "keep.dat";
    ASSERT_EQ(list.SaveToFile(path), 0);
    const auto before = FileBytes(path);

    // A folder with the name of the temporary file's target cannot be replaced by a file.
    std::filesystem::create_directory(dir / "folder.dat");
    EXPECT_NE(list.SaveToFile(dir / "folder.dat"), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir / "folder.dat"));

    // A write that fails midway (the file-size limit of a child process) keeps the old file.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{40, 40};
        setrlimit(RLIMIT_FSIZE, &limit);
        for (int i = 0; i < 1000; ++i)
            list.Add("line " + std::to_string(i * 7919));
        _exit(list.SaveToFile(path) == EFBIG ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 2);
    EXPECT_EQ(FileBytes(path), before);
}
