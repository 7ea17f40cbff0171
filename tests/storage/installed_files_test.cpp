#include <gtest/gtest.h>


#include "filetrain/installed_files.h"

using namespace olve;

namespace {

using TPaths = std::vector<std::string>;

TExtractOutcome Replacing(const TPaths& replaced)
{
    TExtractOutcome outcome;
    outcome.Replaced = replaced;
    return outcome;
}

}  // namespace

TEST(InstalledFiles, FilesThatWereThereBeforeAreNeverCounted)
{
    TInstalledFiles installed;
    EXPECT_EQ(installed.Add({"/p/a.txt", "/p/mine.txt", "/p/vcd/K/vcd.ini"}, Replacing({"/p/mine.txt", "/p/vcd/K/vcd.ini"})),
              TPaths{});
    EXPECT_EQ(installed.Files(), TPaths{"/p/a.txt"});
    // What an earlier package installed stays the player's when the next one writes it again.
    EXPECT_EQ(installed.Add({"/p/A.TXT", "/p/b.txt"}, Replacing({"/p/A.TXT"})), TPaths{});
    EXPECT_EQ(installed.Files(), (TPaths{"/p/a.txt", "/p/b.txt"}));
}

TEST(InstalledFiles, TheNextPackageReplacesWhatItDoesNotWriteAgainUnlessAWriteFailed)
{
    TInstalledFiles installed;
    installed.Add({"/p/a.txt", "/p/b.txt", "/p/rec.wav"}, {});
    TExtractOutcome failed;
    failed.Failed = {{"/p/rec.wav", "File too large"}};
    EXPECT_EQ(installed.Add({"/p/c.txt"}, failed), TPaths{});
    EXPECT_EQ(installed.Files(), (TPaths{"/p/a.txt", "/p/b.txt", "/p/rec.wav", "/p/c.txt"}));
    EXPECT_EQ(installed.Add({"/p/B.txt", "/p/d.txt"}, {}), (TPaths{"/p/a.txt", "/p/rec.wav", "/p/c.txt"}));
    EXPECT_EQ(installed.Files(), (TPaths{"/p/b.txt", "/p/d.txt"}));
}

// A package of many small files, installed again under another letter case of a folder.
// (bench_train prints the time this takes.)
TEST(InstalledFiles, AHundredThousandFilesAreTakenInAtOnce)
{
    TPaths first;
    TPaths second;
    for (int i = 0; i < 100000; ++i) {
        first.push_back("/program/titles/K/K100/words/word" + std::to_string(i) + ".txt");
        second.push_back("/program/titles/K/K100/WORDS/word" + std::to_string(i + 50000) + ".txt");
    }
    TInstalledFiles installed;
    installed.Add(first, {});
    EXPECT_EQ(installed.Add(second, {}).size(), 50000u);
    EXPECT_EQ(installed.Files().size(), 100000u);
}
