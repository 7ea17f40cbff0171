#include <gtest/gtest.h>

#include <filesystem>

#include "codec/data_file.h"
#include "support/temp_folder.h"

using olve::TDataFile;
using olve::TStringList;
using Lines = std::vector<std::string>;

namespace {

void Fill(TDataFile& file, const Lines& lines)
{
    for (const auto& line : lines)
        file.Add(line);
}

}  // namespace

TEST(DataFileReading, SectionsEndAtTheNextHeaderAndSkipEmptyLines)
{
    TDataFile file("");
    Fill(file, {"[System]", "Left=10", "", "Top=20", "[List]", "Left=30", "[Empty]"});
    TStringList lines;
    int changes = 0;
    lines.OnChange = [&] { ++changes; };

    file.ReadSection("system", lines);
    EXPECT_EQ(lines.Lines(), (Lines{"Left=10", "Top=20"}));
    EXPECT_EQ(changes, 1);
    file.ReadSection("Missing", lines);
    EXPECT_EQ(lines.Count(), 0);
    file.ReadSection("Empty", lines);
    EXPECT_EQ(lines.Count(), 0);

    EXPECT_EQ(file.ReadString("LIST", "left", "0"), "30");
    EXPECT_EQ(file.ReadString("System", "Width", "512"), "512");
    EXPECT_EQ(file.ReadString("Missing", "Left", "7"), "7");
}

TEST(DataFileReading, TheFirstOfRepeatedKeysWinsAndValuesKeepTheirEquals)
{
    TDataFile file("");
    Fill(file, {"[S]", "Key=a=b", "key=second"});
    EXPECT_EQ(file.ReadString("S", "KEY", ""), "a=b");
}

TEST(DataFileWriting, PlacesLinesWhereTheyBelong)
{
    TDataFile file("");
    Fill(file, {"[System]", "Left=10", "[List]", "Left=30"});

    EXPECT_EQ(file.WriteString("System", "Left", "10"), -1);
    EXPECT_EQ(file.WriteString("SYSTEM", "LEFT", "10"), -1);
    EXPECT_EQ(file.WriteString("System", "Top", "5"), 2);
    EXPECT_EQ(file.WriteString("System", "Left", "11"), 1);
    EXPECT_EQ(file.WriteInteger("List", "Width", -4), 5);
    EXPECT_EQ(file.WriteString("New", "A", "b"), 7);
    EXPECT_EQ(file.Lines(), (Lines{"[System]", "Left=11", "Top=5", "[List]", "Left=30", "Width=-4", "[New]", "A=b"}));
}

TEST(DataFileWriting, KeyNamesAreReplacedOnlyWhenTheyMatchExactly)
{
    TDataFile file("");
    Fill(file, {"[S]", "left=1"});
    EXPECT_EQ(file.WriteString("S", "Left", "2"), 2);
    EXPECT_EQ(file.Lines(), (Lines{"[S]", "left=1", "Left=2"}));
}

TEST(DataFileWriting, TheFilesSectionOfVcdIniKeepsRepeatedKeys)
{
    TTempFolder dir;
    TDataFile file(dir / "VCD.INI");
    Fill(file, {"[Files]", "file=a.mp3", "[Other]", "x=1"});
    EXPECT_EQ(file.WriteString("files", "file", "b.mp3"), 2);
    EXPECT_EQ(file.WriteString("files", "file", "A.MP3"), -1);
    EXPECT_EQ(file.WriteString("Other", "x", "2"), 4);
    EXPECT_EQ(file.Lines(), (Lines{"[Files]", "file=a.mp3", "file=b.mp3", "[Other]", "x=2"}));

    TDataFile other(dir / "settings.dat");
    Fill(other, {"[files]", "file=a.mp3"});
    other.WriteString("files", "file", "b.mp3");
    EXPECT_EQ(other.Lines(), (Lines{"[files]", "file=b.mp3"}));
}

TEST(DataFileClosing, SavesUnlessReadOnlyAndReloadsWhenCreated)
{
    TTempFolder dir;
    const std::string path = dir / "olveplayer.dat";
    {
        TDataFile file(path);
        file.WriteInteger("System", "Width", 600);
        file.Close();
    }
    {
        TDataFile file(path);
        EXPECT_EQ(file.ReadString("System", "Width", ""), "600");
        file.ReadOnly = true;
        file.WriteInteger("System", "Width", 700);
        file.Close();
    }
    TDataFile file(path);
    EXPECT_EQ(file.ReadString("System", "Width", ""), "600");
}
