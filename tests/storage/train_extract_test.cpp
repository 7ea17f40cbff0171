#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <utility>
#include <sys/stat.h>

#include "codec/dos_date_time.h"
#include "places/letter_case_path.h"
#include "train_install.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

std::time_t ModifiedTime(const std::string& path)
{
    struct stat st{};
    stat(path.c_str(), &st);
    return st.st_mtime;
}

void SetModified(const std::string& path, std::uint32_t dos)
{
    std::time_t time = 0;
    ASSERT_TRUE(TimeOfDosDateTime(dos, time));
    fs::last_write_time(path, fs::file_time_type::clock::from_sys(std::chrono::system_clock::from_time_t(time)));
}

// Names in a folder that are not what installing should leave: temporaries.
std::vector<std::string> LeftOvers(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().ends_with(".part"))
            found.push_back(entry.path().string());
    return found;
}

}  // namespace

TEST(TrainExtract, EntriesLandBelowTheHeaderFolderOnlyWhenAskedTo)
{
    TInstall with;
    with.Make("Head", {{"sub\\a.txt", "A"}, {"b.txt", "B"}});
    ASSERT_TRUE(with.Run(1, true));
    EXPECT_EQ(ReadBytes(with.At("Head/sub/a.txt")), "A");
    EXPECT_EQ(with.Written(), (std::vector<std::string>{with.At("Head/sub/a.txt"), with.At("Head/b.txt")}));

    TInstall without;
    without.Make("Head", {{"sub\\a.txt", "A"}});
    ASSERT_TRUE(without.Run(1, false));
    EXPECT_EQ(ReadBytes(without.At("sub/a.txt")), "A");
    EXPECT_FALSE(fs::exists(without.At("Head")));
}

TEST(TrainExtract, ADestinationEndingInASeparatorGivesTheSamePaths)
{
    for (const std::string separator : {"/", "\\"}) {
        TInstall install;
        install.Make("Head", {{"sub\\a.txt", "A"}});
        ASSERT_TRUE(install.Run(1, true, install.Dest() + separator));
        EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("Head/sub/a.txt")});
        EXPECT_EQ(ReadBytes(install.At("Head/sub/a.txt")), "A");
    }
}

TEST(TrainExtract, PlainAndCompressedEntriesComeOutAsTheyWent)
{
    TInstall install;
    std::string binary;
    for (int i = 0; i < 5000; ++i)
        binary += static_cast<char>((i * 7919) % 256);
    const std::string text = "VolSerialNum=K0123\r\nVolFileTitle=\x93\xfa\x96\x7b\r\n";
    install.Make("", {{"t.qzc", text, true}, {"p.bin", binary, true}, {"raw.bin", binary}, {"empty", ""}});
    ASSERT_TRUE(install.Run(1));
    EXPECT_EQ(ReadBytes(install.At("t.qzc")), text);
    EXPECT_EQ(ReadBytes(install.At("p.bin")), binary);
    EXPECT_EQ(ReadBytes(install.At("raw.bin")), binary);
    EXPECT_TRUE(fs::is_regular_file(install.At("empty")));
    EXPECT_EQ(fs::file_size(install.At("empty")), 0u);
    // "表" ends in the byte of a backslash: still one folder name.
    TInstall japanese;
    japanese.Make("", {{"\x95\x5C\\a.txt", "x"}});
    ASSERT_TRUE(japanese.Run(1));
    EXPECT_EQ(ReadBytes(japanese.At("表/a.txt")), "x");
}

TEST(TrainExtract, FilesCarryTheEntriesDates)
{
    TInstall install;
    const std::uint32_t date = DosDate(2003, 2, 10, 12, 34, 56);
    install.Make("", {{"a.txt", "A", false, date}, {"b.qzc", "B", true, DosDate(1999, 12, 31, 23, 59, 58)},
                      {"odd.txt", "C", false, DosDate(2004, 2, 31, 10, 0, 0)}});
    ASSERT_TRUE(install.Run(1));
    std::time_t expected = 0;
    ASSERT_TRUE(TimeOfDosDateTime(date, expected));
    EXPECT_EQ(ModifiedTime(install.At("a.txt")), expected);
    EXPECT_EQ(DosDateTimeOf(ModifiedTime(install.At("b.qzc"))), DosDate(1999, 12, 31, 23, 59, 58));
    // A date that names no day is not applied; the file is installed all the same.
    EXPECT_EQ(ReadBytes(install.At("odd.txt")), "C");
    EXPECT_GT(ModifiedTime(install.At("odd.txt")), expected);
}

TEST(TrainExtract, ModesOneAndTwoOverwriteEverythingWithoutAsking)
{
    for (int mode : {1, 2}) {
        TInstall install;
        install.Existing("a.txt", "old");
        install.Existing("sub/b.txt", "old");
        install.Make("", {{"a.txt", "new a"}, {"sub\\b.txt", "new b"}});
        EXPECT_TRUE(install.Run(mode));
        EXPECT_TRUE(install.Question.Asked.empty());
        EXPECT_EQ(ReadBytes(install.At("a.txt")), "new a");
        EXPECT_EQ(ReadBytes(install.At("sub/b.txt")), "new b");
    }
}

TEST(TrainExtract, PlayCDsIniIsAlwaysOverwritten)
{
    TInstall install;
    install.Existing("PLAYCDS.ini", "old");
    install.Existing("other.ini", "old");
    install.Make("", {{"PLAYCDS.ini", "new"}, {"other.ini", "new"}});
    // Mode 0 asks about existing files, and this question answers cancel.
    EXPECT_TRUE(install.Run(0));
    ASSERT_EQ(install.Question.Asked.size(), 1u);
    EXPECT_EQ(install.Question.Asked[0].NewPath, install.At("other.ini"));
    EXPECT_EQ(ReadBytes(install.At("other.ini")), "old");
    EXPECT_EQ(ReadBytes(install.At("PLAYCDS.ini")), "new");
    EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("PLAYCDS.ini")});
    // Only the name itself counts, not a file of that name in a folder.
    TInstall nested;
    nested.Existing("sub/PlayCDs.ini", "old");
    nested.Make("", {{"sub\\PlayCDs.ini", "new"}});
    EXPECT_FALSE(nested.Run(0));
    EXPECT_EQ(nested.Question.Asked.size(), 1u);
    EXPECT_EQ(ReadBytes(nested.At("sub/PlayCDs.ini")), "old");
}

TEST(TrainExtract, TheQuestionDescribesBothFiles)
{
    TInstall install;
    install.Existing("sub/a.txt", "older!");
    SetModified(install.At("sub/a.txt"), DosDate(2001, 1, 1, 0, 0, 0));
    install.Make("", {{"sub\\a.txt", "newer", false, DosDate(2003, 2, 10, 12, 0, 0)}});
    install.Run(0);
    ASSERT_EQ(install.Question.Asked.size(), 1u);
    const TFileCopyRequest& asked = install.Question.Asked[0];
    EXPECT_EQ(asked.ExistingPath, install.At("sub/a.txt"));
    EXPECT_EQ(asked.NewPath, install.At("sub/a.txt"));
    EXPECT_EQ(asked.ExistingSize, 6);
    EXPECT_EQ(asked.ExistingDate, DosDate(2001, 1, 1, 0, 0, 0));
    EXPECT_EQ(asked.EntrySize, 5);
    EXPECT_EQ(asked.EntryDate, DosDate(2003, 2, 10, 12, 0, 0));
    EXPECT_TRUE(asked.EntryIsNewer);
    EXPECT_EQ(asked.Choice, TCopyChoice::CopyIfNewer);
    EXPECT_EQ(asked.OldName, "a.txt");
    EXPECT_EQ(asked.NewName, "a.txt");
}

TEST(TrainExtract, CopyIfNewerJudgesEveryFileByItsOwnDates)
{
    TInstall install;
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        install.Existing(name, "old");
        SetModified(install.At(name), DosDate(2002, 6, 1, 0, 0, 0));
    }
    install.Make("", {{"a.txt", "new a", false, DosDate(2003, 1, 1, 0, 0, 0)},
                      {"b.txt", "new b", false, DosDate(2001, 1, 1, 0, 0, 0)},
                      {"c.txt", "new c", false, DosDate(2004, 1, 1, 0, 0, 0)}});
    install.Question.Answers = {{TCopyChoice::CopyIfNewer, true}};
    EXPECT_TRUE(install.Run(0));
    EXPECT_EQ(install.Question.Asked.size(), 1u);
    EXPECT_EQ(ReadBytes(install.At("a.txt")), "new a");
    // The first answer covers the rest, but an older entry never replaces a newer file.
    EXPECT_EQ(ReadBytes(install.At("b.txt")), "old");
    EXPECT_EQ(ReadBytes(install.At("c.txt")), "new c");

    // Passing over an older entry counts as success, with nothing written.
    TInstall older;
    older.Existing("a.txt", "old");
    older.Make("", {{"a.txt", "stale", false, DosDate(1990, 1, 1, 0, 0, 0)}});
    older.Question.Answers = {{TCopyChoice::CopyIfNewer}};
    EXPECT_TRUE(older.Run(0));
    EXPECT_TRUE(older.Written().empty());
    EXPECT_EQ(ReadBytes(older.At("a.txt")), "old");
}

TEST(TrainExtract, CancelSkipsOneFileOrWithApplyToAllEndsTheInstallation)
{
    TInstall one;
    one.Existing("a.txt", "old");
    one.Existing("c.txt", "old");
    one.Make("", {{"a.txt", "new"}, {"b.txt", "new"}, {"c.txt", "new"}});
    one.Question.Answers = {{TCopyChoice::Cancel}, {TCopyChoice::Overwrite}};
    EXPECT_TRUE(one.Run(0));
    EXPECT_EQ(one.Question.Asked.size(), 2u);
    EXPECT_EQ(ReadBytes(one.At("a.txt")), "old");
    EXPECT_EQ(ReadBytes(one.At("b.txt")), "new");
    EXPECT_EQ(ReadBytes(one.At("c.txt")), "new");

    TInstall all;
    all.Existing("a.txt", "old");
    all.Make("", {{"a.txt", "new"}, {"b.txt", "new"}});
    all.Question.Answers = {{TCopyChoice::Cancel, true}};
    EXPECT_FALSE(all.Run(0));
    EXPECT_FALSE(fs::exists(all.At("b.txt")));
}

TEST(TrainExtract, OverwriteForAllAsksOnce)
{
    TInstall install;
    install.Existing("a.txt", "old");
    install.Existing("b.txt", "old");
    install.Make("", {{"a.txt", "new"}, {"b.txt", "new"}});
    install.Question.Answers = {{TCopyChoice::Overwrite, true}};
    EXPECT_TRUE(install.Run(0));
    EXPECT_EQ(install.Question.Asked.size(), 1u);
    EXPECT_EQ(ReadBytes(install.At("b.txt")), "new");
}

TEST(TrainExtract, RenameKeepsTheOldFileUnderItsNewNameInItsOwnFolder)
{
    TInstall install;
    install.Existing("sub/a.txt", "old");
    install.Existing("sub/b.txt", "old b");
    install.Make("", {{"sub\\a.txt", "new"}, {"sub\\b.txt", "new b"}});
    install.Question.Answers = {{TCopyChoice::Rename, true, "a-old.txt", "a.txt"},
                                {TCopyChoice::Rename, false, "b.txt", "b-new.txt"}};
    EXPECT_TRUE(install.Run(0));
    // Renaming needs names for every file, so apply-to-all does not stop the questions.
    EXPECT_EQ(install.Question.Asked.size(), 2u);
    EXPECT_EQ(ReadBytes(install.At("sub/a-old.txt")), "old");
    EXPECT_EQ(ReadBytes(install.At("sub/a.txt")), "new");
    EXPECT_EQ(ReadBytes(install.At("sub/b.txt")), "old b");
    EXPECT_EQ(ReadBytes(install.At("sub/b-new.txt")), "new b");
    EXPECT_EQ(install.Written(), (std::vector<std::string>{install.At("sub/a.txt"), install.At("sub/b-new.txt")}));
}

TEST(TrainExtract, ARenameThatWouldLoseOrMoveAFileChangesNothing)
{
    TInstall install;
    install.Existing("a.txt", "old");
    install.Existing("taken.txt", "third file");
    install.Make("", {{"a.txt", "new 1"}, {"a.txt", "new 2"}, {"a.txt", "new 3"}, {"a.txt", "new 4"}});
    install.Question.Answers = {{TCopyChoice::Rename, false, "taken.txt", "a.txt"},
                                {TCopyChoice::Rename, false, "../a.txt", "a.txt"},
                                {TCopyChoice::Rename, false, "a.txt", "sub/x.txt"},
                                {TCopyChoice::Rename, false, "A.TXT", "a.txt"}};
    EXPECT_FALSE(install.Run(0));
    EXPECT_EQ(install.Question.Asked.size(), 4u);
    EXPECT_EQ(ReadBytes(install.At("a.txt")), "old");
    EXPECT_EQ(ReadBytes(install.At("taken.txt")), "third file");
    EXPECT_FALSE(fs::exists(install.Dir / "a.txt"));
    EXPECT_FALSE(fs::exists(install.At("sub")));
}

TEST(TrainExtract, WithoutAQuestionExistingFilesAreKept)
{
    TInstall install;
    install.Existing("a.txt", "old");
    install.Make("", {{"a.txt", "new"}, {"b.txt", "new"}});
    TExtractUi ui;
    EXPECT_TRUE(ExtractFileTrain(ui, install.Package(), install.Dest(), install.Extracted, 0, true));
    EXPECT_EQ(ReadBytes(install.At("a.txt")), "old");
    EXPECT_EQ(ReadBytes(install.At("b.txt")), "new");
}

TEST(TrainExtract, AnythingButAFileTrainInstallsNothing)
{
    TInstall empty;
    WriteBytes(empty.Package(), "0101" + Int32(0));
    EXPECT_FALSE(empty.Run(1));
    EXPECT_TRUE(empty.Written().empty());
    TInstall wrong;
    WriteBytes(wrong.Package(), "not a train at all");
    EXPECT_FALSE(wrong.Run(1));
    EXPECT_FALSE(fs::exists(wrong.Dest()));
    TInstall missing;
    EXPECT_FALSE(missing.Run(1));
    EXPECT_EQ(missing.Feedback.Busy, 0);
}

namespace {

// Everything below a folder, as paths relative to it.
std::vector<std::string> Contents(const std::string& folder)
{
    std::vector<std::string> found;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        found.push_back(fs::relative(entry.path(), folder).string());
    std::sort(found.begin(), found.end());
    return found;
}

std::string DamageReport(const std::string& package, const std::string& wholeEntries)
{
    return "パッケージが壊れているため、インストールしませんでした。先頭の " + wholeEntries +
           " 個より後のファイルを読み込めません\r\n\r\nthe package is damaged and was not installed: the files "
           "after the first " + wholeEntries + " cannot be read\r\n\r\n" + package;
}

}  // namespace

TEST(TrainDamage, APackageCutShortOrWithBytesThatAreNoEntryInstallsNothingAndSaysHowFarItReads)
{
    const std::vector<TEntry> two = {{"a.txt", "first"}, {"sub\\b.txt", "second"}};
    const std::string inData = TrainBytes("", {two[0], two[1], {"c.txt", std::string(5000, 'c')}});
    struct TCase {
        std::string Bytes;
        int WholeEntries;
    };
    const std::vector<TCase> cases = {
        {inData.substr(0, inData.size() - 10), 2},                      // inside an entry's data
        {TrainBytes("", two) + "olv", 2},                               // after whole entries, in a tag
        {TrainBytes("", two) + "OLVE" + EntryBytes({"c.txt", "x"}).substr(4), 2},  // a wrong tag
        {TrainBytes("", {}) + EntryBytes(two[0]).substr(0, 12), 0},     // inside the first entry
    };
    for (const TCase& c : cases) {
        TInstall install;
        install.Existing("a.txt", "the user's");
        WriteBytes(install.Package(), c.Bytes);
        EXPECT_FALSE(install.Run(1)) << c.WholeEntries;
        EXPECT_EQ(install.Outcome.DamagedAfter, c.WholeEntries);
        EXPECT_TRUE(install.Written().empty());
        EXPECT_EQ(Contents(install.Dest()), std::vector<std::string>{"a.txt"});
        EXPECT_EQ(ReadBytes(install.At("a.txt")), "the user's");
        ASSERT_EQ(install.Prompts.Said.size(), 1u);
        if (c.WholeEntries > 0)
            EXPECT_EQ(install.Prompts.Said[0], DamageReport(install.Package(), std::to_string(c.WholeEntries)));
        else
            EXPECT_EQ(install.Prompts.Said[0], "パッケージが壊れているため、インストールしませんでした。ファイルを 1 "
                                               "つも読み込めません\r\n\r\nthe package is damaged and was not "
                                               "installed: none of its files can be read\r\n\r\n" +
                                                   install.Package());
    }
}

// The package shrinks while it is read, as a disc that fails: what the installation created
// goes again, what was there before stays.
TEST(TrainDamage, AReadThatFailsMidwayRemovesTheFilesTheInstallationCreated)
{
    TInstall install;
    install.Existing("old.txt", "before");
    install.Existing("keep.txt", "kept");
    const std::string large(static_cast<std::size_t>(LargeEntrySize) + 10, 'L');
    install.Make("", {{"new\\a.txt", "A"}, {"old.txt", "after"}, {"new\\deeper\\big.bin", large}});
    bool cut = false;
    install.Feedback.OnStep = [&] {
        if (!std::exchange(cut, true))
            fs::resize_file(install.Package(), fs::file_size(install.Package()) - large.size() / 2);
    };
    EXPECT_FALSE(install.Run(1));
    EXPECT_EQ(install.Outcome.DamagedAfter, 2);
    EXPECT_EQ(install.Prompts.Said, std::vector<std::string>{DamageReport(install.Package(), "2")});
    EXPECT_EQ(Contents(install.Dest()), (std::vector<std::string>{"keep.txt", "old.txt"}));
    EXPECT_EQ(ReadBytes(install.At("keep.txt")), "kept");
    EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("old.txt")});
}

TEST(TrainExtract, EntriesThatDoNotDecodeAreNotWrittenAndReportedOnce)
{
    TInstall install;
    std::string coded = Coded("VolSerialNum=1\r\n");
    coded.resize(coded.size() - 2);
    const std::string bad = "olve" + Int32(0) + Int32(16) + Int32(5) + "a.qzc" +
                            Int32(static_cast<std::int64_t>(coded.size())) + coded;
    const std::string lying = "olve" + Int32(0) + Int32(99) + Int32(5) + "b.qzc" +
                              Int32(static_cast<std::int64_t>(Coded("short").size())) + Coded("short");
    install.Existing("a.qzc", "good old title");
    WriteBytes(install.Package(), "0101" + Int32(0) + bad + lying + EntryBytes({"c.txt", "fine"}));
    EXPECT_TRUE(install.Run(1));
    EXPECT_EQ(ReadBytes(install.At("a.qzc")), "good old title");
    EXPECT_FALSE(fs::exists(install.At("b.qzc")));
    EXPECT_EQ(ReadBytes(install.At("c.txt")), "fine");
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    EXPECT_EQ(install.Prompts.Said[0],
              "壊れているファイルは書き込みませんでした (2)\r\n\r\ndamaged files were not installed\r\n\r\n" +
                  install.Package());
}

TEST(TrainExtract, LargePlainFilesStreamInChunksUnderTheProgressWindow)
{
    TInstall install;
    // Sixteen whole chunks and a part of one.
    std::string large(static_cast<std::size_t>(LargeEntrySize) + 101, '\0');
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>((i * 31 + i / 977) & 0xFF);
    const std::string exact(static_cast<std::size_t>(LargeEntrySize), 'x');
    install.Existing("big.bin", "the old big file");
    install.Make("", {{"big.bin", large}, {"exact.bin", exact}});
    // While the copy runs, the real name still holds the old file.
    std::vector<std::string> seen;
    install.Feedback.OnStep = [&] { seen.push_back(ReadBytes(install.At("big.bin"))); };
    ASSERT_TRUE(install.Run(1));

    const int chunks = static_cast<int>((large.size() + CopyChunkSize - 1) / CopyChunkSize);
    EXPECT_EQ(chunks, 17);
    EXPECT_EQ(install.Feedback.Captions, std::vector<std::string>{"読み込み中"});
    EXPECT_EQ(install.Feedback.Maximums, std::vector<int>{chunks + 1});
    EXPECT_EQ(install.Feedback.Steps, chunks);
    EXPECT_EQ(install.Feedback.Hidden, 1);
    // The user interface runs between entries, under the busy cursor.
    EXPECT_GE(install.Feedback.Processed, 2);
    EXPECT_EQ(install.Feedback.BusyCalls, 1);
    EXPECT_EQ(install.Feedback.Busy, 0);
    ASSERT_EQ(seen.size(), static_cast<std::size_t>(chunks));
    for (const std::string& content : seen)
        EXPECT_EQ(content, "the old big file");
    EXPECT_TRUE(ReadBytes(install.At("big.bin")) == large);
    EXPECT_TRUE(ReadBytes(install.At("exact.bin")) == exact);
    EXPECT_TRUE(LeftOvers(install.Dest()).empty());
}

TEST(TrainExtract, AFileThatCannotBeWrittenIsLeftOutAndTheRestInstalls)
{
    TInstall install;
    // A folder stands where the file should go, and a file where a folder should go.
    fs::create_directories(install.At("a.txt"));
    install.Existing("blocker", "file");
    install.Make("", {{"a.txt", "A"}, {"blocker\\b.txt", "B"}, {"c.txt", "C"}});
    EXPECT_TRUE(install.Run(1));
    EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("c.txt")});
    EXPECT_TRUE(fs::is_directory(install.At("a.txt")));
    EXPECT_TRUE(LeftOvers(install.Dest()).empty());
}

// Packages come from file systems that ignore letter case: names that differ only in letter
// case are one file, in the folder that is already there.
TEST(TrainExtract, NamesThatDifferOnlyInLetterCaseAreOneFile)
{
    const std::vector<TEntry> entries = {
        {"VCD\\k1\\Tone.wav", "first"}, {"vcd\\K1\\TONE.WAV", "second"}, {"vcd\\K1\\vcd.ini", "ini"}};
    TInstall asking;
    asking.Existing("Vcd/K1/old.txt", "old");
    asking.Make("", entries);
    EXPECT_TRUE(asking.Run(0));
    ASSERT_EQ(asking.Question.Asked.size(), 1u);
    EXPECT_EQ(asking.Question.Asked[0].ExistingPath, asking.At("Vcd/K1/Tone.wav"));
    EXPECT_EQ(ReadBytes(asking.At("Vcd/K1/Tone.wav")), "first");
    EXPECT_EQ(ReadBytes(asking.At("Vcd/K1/vcd.ini")), "ini");
    EXPECT_EQ(std::distance(fs::directory_iterator(asking.Dest()), fs::directory_iterator()), 1);

    TInstall overwriting;
    overwriting.Make("", entries);
    EXPECT_TRUE(overwriting.Run(1));
    EXPECT_EQ(ReadBytes(overwriting.At("VCD/k1/Tone.wav")), "second");
    EXPECT_EQ(std::distance(fs::directory_iterator(overwriting.At("VCD/k1")), fs::directory_iterator()), 2);
}

TEST(LetterCasePaths, AnExistingPathIsFoundInAnyLetterCaseAndTheExactNameWins)
{
    TTempFolder dir;
    fs::create_directories(dir.Path() / "Vcd" / "K1");
    WriteBytes(dir / "Vcd/K1/Tone.WAV", "x");
    WriteBytes(dir / "Vcd/K1/tone.wav", "y");
    EXPECT_EQ(ExistingPathIgnoringCase(dir / "vcd/k1/TONE.wav"), dir / "Vcd/K1/Tone.WAV");
    EXPECT_EQ(ExistingPathIgnoringCase(dir / "VCD/K1/tone.wav"), dir / "Vcd/K1/tone.wav");
    EXPECT_EQ(ExistingPathIgnoringCase(dir / "Vcd/K1/tone.wav"), dir / "Vcd/K1/tone.wav");
    EXPECT_EQ(ExistingPathIgnoringCase(dir / "vcd/K2/tone.wav"), "");
    EXPECT_EQ(ExistingPathIgnoringCase(""), "");
}
