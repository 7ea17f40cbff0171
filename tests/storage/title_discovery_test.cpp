#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "codec/compress_string_list.h"
#include "places/program_folder.h"
#include "places/title_paths.h"
#include "places/virtual_cd.h"
#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

void MakeVcdIni(const std::string& path, const std::string& code)
{
    fs::create_directories(fs::path(path).parent_path());
    TCompressStringList lines;
    lines.SetText("[files]\r\nm=media.mp3\r\ncode=" + code + "\r\n");
    ASSERT_EQ(lines.SaveToFile(path), 0);
}

}  // namespace

TEST(TitlePaths, TheFolderLevelDependsOnTheCodesFirstCharacter)
{
    EXPECT_EQ(TitleRelativePath("K0123", "\\"), "titles\\K\\K0123");
    EXPECT_EQ(TitleRelativePath("z9", "/"), "titles/z/z9");
    EXPECT_EQ(TitleRelativePath("0123", "\\"), "titles\\0123");
    EXPECT_EQ(TitleRelativePath("_x", "\\"), "titles\\_x");
    // "英" (0x89 0x70): a non-ASCII first character gets no letter level.
    EXPECT_EQ(TitleRelativePath("\x89\x70" "01", "\\"), "titles\\\x89\x70" "01");
    EXPECT_EQ(TitleRelativePath("", "\\"), "");

    EXPECT_EQ(TitleFolder("/opt/olve/", "K0123"), "/opt/olve/titles/K/K0123/");
    EXPECT_EQ(TitleFolder("/opt/olve/", "0123"), "/opt/olve/titles/0123/");
    EXPECT_EQ(TitleFolder("/opt/olve/", "\x89\x70" "01"), "/opt/olve/titles/英01/");
    EXPECT_EQ(TitleFolder("/opt/olve/", ""), "/");
}

TEST(TitlePaths, ACodeThatWouldLeaveTheTitlesFolderHasNoTitleFolder)
{
    const std::vector<std::string> codes = {"../../home", "K/../../x", "a/b", "..", ".", "K..", "\\server\\x",
                                            "K\n1", std::string("K\0x", 3)};
    for (const std::string& code : codes)
        EXPECT_EQ(TitleFolder("/opt/olve/", code), "/") << code;
    // "表" is 0x95 0x5C: its second byte is not a separator.
    EXPECT_EQ(TitleFolder("/opt/olve/", "\x95\x5C" "1"), "/opt/olve/titles/表1/");
    EXPECT_EQ(TitleFolder("/opt/olve/", "K.1"), "/opt/olve/titles/K/K.1/");
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable)
{
    const std::string folder = ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_EQ(ProgramDir() + "/", folder);
    EXPECT_TRUE(fs::equivalent(ProgramDir(), OLVE_BIN_DIR));
}

TEST(FindVirtualCD, FindsTheMatchingIniTwoLevelsDownIgnoringCase)
{
    TTempFolder vcd;
    MakeVcdIni(vcd / "a/other/vcd.ini", "K9999");
    MakeVcdIni(vcd / "b/disc1/VCD.INI", "k0123");
    const std::string folder = vcd.Path().string() + "/";
    EXPECT_EQ(FindVirtualCD("K0123", folder), folder + "b/disc1/VCD.INI");
    EXPECT_EQ(FindVirtualCD("K0000", folder), "");
    EXPECT_EQ(FindVirtualCD("", folder), "");
    EXPECT_EQ(FindVirtualCD("K0123", folder + "missing/"), "");
}

TEST(FindVirtualCD, TheFirstMatchInNameOrderWins)
{
    TTempFolder vcd;
    // Made in the opposite order, so that no file system's own order can pass for name order.
    MakeVcdIni(vcd / "c/vcd.ini", "K1");
    MakeVcdIni(vcd / "b/x/vcd.ini", "K1");
    MakeVcdIni(vcd / "a/vcd.ini", "K2");
    const std::string folder = vcd.Path().string() + "/";
    EXPECT_EQ(FindVirtualCD("K1", folder), folder + "b/x/vcd.ini");
}

TEST(FindVirtualCD, FilesThatAreNotCompressedTextAndLinkLoopsArePassedOver)
{
    TTempFolder vcd;
    fs::create_directories(vcd / "a");
    std::ofstream(vcd / "a/vcd.ini") << "code=K1\r\n";
    fs::create_directory_symlink(vcd.Path(), vcd / "a/loop");
    MakeVcdIni(vcd / "z/vcd.ini", "K1");
    const std::string folder = vcd.Path().string() + "/";
    EXPECT_EQ(FindVirtualCD("K1", folder), folder + "z/vcd.ini");
}
