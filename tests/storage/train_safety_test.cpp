#include <gtest/gtest.h>

#include <filesystem>

#include "places/audio_cd_binding.h"
#include "codec/delta_code.h"
#include "filetrain/train_entry_name.h"
#include "train_install.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

const std::string RefusalReport = "インストール先の外を指す名前のファイルは書き込みませんでした";

std::string Decoded(const std::vector<std::uint8_t>& coded)
{
    TDeltaCode codec;
    codec.Coded = coded;
    EXPECT_TRUE(codec.Decode());
    return std::string(codec.Plain.begin(), codec.Plain.end());
}

std::vector<std::uint8_t> CodedBytes(const std::string& text)
{
    const std::string coded = Coded(text);
    return std::vector<std::uint8_t>(coded.begin(), coded.end());
}

}  // namespace

TEST(TrainEntryNames, SafeNamesBecomeLocalRelativePaths)
{
    std::string local;
    EXPECT_TRUE(LocalEntryPath("pic\\a.jpg", local));
    EXPECT_EQ(local, "pic/a.jpg");
    EXPECT_TRUE(LocalEntryPath("a/b\\.\\c..d", local));
    EXPECT_EQ(local, "a/b/c..d");
    EXPECT_TRUE(LocalEntryPath("x\\\\y", local));
    EXPECT_EQ(local, "x/y");
    // Two-byte characters whose second byte is "\" ("ソ", "表") stay whole.
    EXPECT_TRUE(LocalEntryPath("\x83\x5C\x83\x74\x83\x67\\\x95\x5C.txt", local));
    EXPECT_EQ(local, "ソフト/表.txt");
    EXPECT_EQ(DisplayEntryName("..\\\x95\x5C"), "../表");
}

TEST(TrainEntryNames, NamesThatCouldLeaveTheDestinationAreRefused)
{
    std::string local;
    for (const std::string& name : {std::string("\\etc\\passwd"), std::string("/etc/passwd"), std::string("C:\\x.txt"),
                                    std::string("c:x.txt"), std::string("..\\x.txt"), std::string("a\\..\\..\\x.txt"),
                                    std::string("a/../x.txt"), std::string(".."), std::string("dir\\"),
                                    std::string(""), std::string("."), std::string("a\0b", 3)}) {
        EXPECT_FALSE(LocalEntryPath(name, local)) << name;
        EXPECT_EQ(local, "");
    }
}

TEST(TrainSafety, UnsafeEntriesAreNeverWrittenAndTheRestInstalls)
{
    TInstall install;
    const std::string outside = install.Dir / "outside.txt";
    install.Make("", {{"..\\outside.txt", "evil"},
                      {"\\" + outside.substr(1), "evil"},
                      {"sub\\..\\..\\outside.txt", "evil"},
                      {"C:\\outside.txt", "evil"},
                      {"good.txt", "good"},
                      {std::string("nul\0.txt", 8), "evil"}});
    EXPECT_TRUE(install.Run(1));
    EXPECT_FALSE(fs::exists(outside));
    EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("good.txt")});
    EXPECT_EQ(ReadBytes(install.At("good.txt")), "good");
    // One report for all of them.
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    EXPECT_EQ(install.Prompts.Said[0], RefusalReport + " (5)\r\n\r\nfiles with unsafe names were not installed\r\n\r\n" +
                                           install.Package());
    // Nothing was made outside, and nothing is left behind inside but the good file.
    std::vector<std::string> inside;
    for (const auto& entry : fs::recursive_directory_iterator(install.Dir.Path()))
        inside.push_back(entry.path().lexically_relative(install.Dir.Path()).string());
    std::sort(inside.begin(), inside.end());
    EXPECT_EQ(inside, (std::vector<std::string>{"dest", "dest/good.txt", "p.qzw"}));
}

TEST(TrainSafety, AnExistingSymbolicLinkDoesNotLeadOutOfTheDestination)
{
    TInstall install;
    fs::create_directories(install.Dir / "elsewhere");
    fs::create_directories(install.Dest());
    fs::create_directory_symlink(install.Dir / "elsewhere", install.At("link"));
    fs::create_directories(install.At("inner"));
    fs::create_directory_symlink(install.At("inner"), install.At("samelink"));
    install.Make("", {{"link\\x.txt", "evil"}, {"link\\deeper\\y.txt", "evil"}, {"samelink\\z.txt", "fine"}});
    EXPECT_TRUE(install.Run(1));
    EXPECT_TRUE(fs::is_empty(install.Dir / "elsewhere"));
    // A link that stays inside the destination is followed.
    EXPECT_EQ(ReadBytes(install.At("inner/z.txt")), "fine");
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    EXPECT_EQ(install.Prompts.Said[0].substr(0, RefusalReport.size() + 4), RefusalReport + " (2)");
}

TEST(TrainSafety, ALinkInPlaceOfAFileIsReplacedNotFollowed)
{
    TInstall install;
    const std::string victim = install.Dir / "victim.txt";
    WriteBytes(victim, "keep me");
    fs::create_directories(install.Dest());
    fs::create_symlink(victim, install.At("a.txt"));
    install.Make("", {{"a.txt", "new"}});
    EXPECT_TRUE(install.Run(1));
    EXPECT_EQ(ReadBytes(victim), "keep me");
    EXPECT_FALSE(fs::is_symlink(install.At("a.txt")));
    EXPECT_EQ(ReadBytes(install.At("a.txt")), "new");
}

TEST(TrainSafety, AnUnsafeHeaderFolderRefusesEveryEntryUnlessItIsNotUsed)
{
    TInstall install;
    install.Make("..\\up", {{"a.txt", "A"}});
    EXPECT_FALSE(install.Run(1, true));
    EXPECT_FALSE(fs::exists(install.Dir / "up"));
    EXPECT_EQ(install.Prompts.Said.size(), 1u);
    TInstall unused;
    unused.Make("..\\up", {{"a.txt", "A"}});
    EXPECT_TRUE(unused.Run(1, false));
    EXPECT_EQ(ReadBytes(unused.At("a.txt")), "A");
}

TEST(AudioCDBinding, TitleSettingsAreBoundToTheDisc)
{
    std::vector<std::uint8_t> bytes = CodedBytes("VolFileTitle=T\r\nvolserialnum=K0123\r\n");
    ASSERT_TRUE(BindTitleToAudioCD(bytes, "CD-4711"));
    EXPECT_EQ(Decoded(bytes), "VolUser=CD-4711\r\nVolFileTitle=T\r\nVolSerialNum=CD-4711\r\n");

    bytes = CodedBytes("VolSerialNum=K0123\r\nVolUser=someone\r\n");
    ASSERT_TRUE(BindTitleToAudioCD(bytes, "CD-4711"));
    EXPECT_EQ(Decoded(bytes), "VolSerialNum=CD-4711\r\nVolUser=AudioCDEx\r\n");
}

TEST(AudioCDBinding, EverythingElsePassesUnchanged)
{
    for (const std::vector<std::uint8_t>& original :
         {CodedBytes("VolFileTitle=T\r\n"), std::vector<std::uint8_t>{'J', 'F', 'I', 'F'}, std::vector<std::uint8_t>{}}) {
        std::vector<std::uint8_t> bytes = original;
        EXPECT_FALSE(BindTitleToAudioCD(bytes, "CD-4711"));
        EXPECT_EQ(bytes, original);
    }
}

// The player installs into its own folder, where its program file lies.
TEST(TrainSafety, ThePackageNeverReplacesTheRunningProgram)
{
    const fs::path program = fs::read_symlink("/proc/self/exe");
    const std::string bytes = ReadBytes(program.string());
    const auto modified = fs::last_write_time(program);
    TInstall install;
    install.Make("", {{program.filename().string(), bytes}, {"beside.txt", "B"}});
    EXPECT_TRUE(install.Run(1, false, program.parent_path().string()));
    EXPECT_EQ(fs::last_write_time(program), modified);
    EXPECT_EQ(install.Written(), std::vector<std::string>{(program.parent_path() / "beside.txt").string()});
    fs::remove(program.parent_path() / "beside.txt");
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    EXPECT_EQ(install.Prompts.Said[0].rfind(RefusalReport + " (1)", 0), 0u);
}

// The player installs into the folder that holds it and its settings file; the package may
// lie there too.
TEST(TrainSafety, ThePlayerItsSettingsAndThePackageAreNeverReplaced)
{
    TInstall install;
    install.Existing("olveplayer", "the player");
    fs::permissions(install.At("olveplayer"), fs::perms::owner_all);
    install.Existing("olveplayer.dat", "the settings");
    const std::string package = TrainBytes("", {{"OlvePlayer", "evil"}, {"OLVEPLAYER.dat", "evil"}, {"title.qzw", "evil"},
                                                {"sub\\olveplayer", "fine"}, {"user.txt", "new"}});
    WriteBytes(install.At("title.qzw"), package);
    install.Existing("user.txt", "the user's");

    EXPECT_TRUE(ExtractFileTrain({}, install.At("title.qzw"), install.Dest(), install.Extracted, 1, false, &install.Outcome));
    install.Tell();
    EXPECT_EQ(ReadBytes(install.At("olveplayer")), "the player");
    EXPECT_EQ(ReadBytes(install.At("olveplayer.dat")), "the settings");
    EXPECT_EQ(ReadBytes(install.At("title.qzw")), package);
    // Below the folder those names are anybody's.
    EXPECT_EQ(ReadBytes(install.At("sub/olveplayer")), "fine");
    EXPECT_EQ(install.Written(), (std::vector<std::string>{install.At("sub/olveplayer"), install.At("user.txt")}));
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    EXPECT_EQ(install.Prompts.Said[0].rfind(RefusalReport + " (3)", 0), 0u);
    // The user's file is replaced as the mode says, and told apart from the package's own.
    EXPECT_EQ(ReadBytes(install.At("user.txt")), "new");
    EXPECT_EQ(install.Outcome.Replaced, std::vector<std::string>{install.At("user.txt")});
}

TEST(TrainSafety, OnlyFilesThatWereThereBeforeCountAsReplaced)
{
    TInstall install;
    install.Existing("Old.txt", "before");
    install.Make("", {{"old.txt", "1"}, {"OLD.TXT", "2"}, {"new.txt", "1"}, {"NEW.txt", "2"}});
    EXPECT_TRUE(install.Run(1, false));
    EXPECT_EQ(install.Written().size(), 4u);
    EXPECT_EQ(ReadBytes(install.At("new.txt")), "2");
    EXPECT_EQ(install.Outcome.Replaced, std::vector<std::string>{install.At("Old.txt")});
}
