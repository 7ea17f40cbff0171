#include <gtest/gtest.h>

#include "support/temp_folder.h"
#include "title/recent_titles.h"
#include "title/title_progress.h"

using namespace olve;

TEST(TitleProgress, WhatIsSavedComesBackAndLeavesTheWindowSectionsAlone)
{
    TTempFolder folder;
    const std::string path = folder / "olveplayer.dat";
    TTitleProgress saved;
    saved.LastCard = 7;
    saved.SpeedTenths = 8;
    saved.Practice.Repeats = 3;
    saved.Practice.ShadowTenths = 15;
    saved.Practice.English = TReveal::AfterHearing;
    saved.Practice.Japanese = TReveal::Hidden;
    saved.AutoPause = true;
    saved.MainFontSize = 18;
    saved.SubFontSize = 12;
    {
        TDataFile file(path);
        file.WriteInteger("System", "Left", 40);
        WriteTitleProgress(file, "Olve]Demo 01", saved);
        WriteTitleProgress(file, "Other", TTitleProgress{});
        WritePlayerVolume(file, 30000);
        file.Close();
    }
    TDataFile file(path);
    EXPECT_EQ(ReadTitleProgress(file, "Olve]Demo 01"), saved);
    EXPECT_EQ(ReadTitleProgress(file, "Other"), TTitleProgress{}) << "each title keeps its own";
    EXPECT_EQ(ReadPlayerVolume(file, 65535), 30000);
    EXPECT_EQ(file.ReadString("System", "Left", ""), "40");
    EXPECT_EQ(TitleProgressSection("Olve]Demo 01"), "Title Olve%5DDemo%2001") << "no byte can end the header";
}

TEST(TitleProgress, AnOldOrDamagedFileGivesTheDefaults)
{
    TDataFile file("");
    for (const char* line : {"[System]", "Left=10", "[Title T1]", "LastCard=-4", "Speed=30", "Repeat=4", "Shadow=x",
                             "RevealEnglish=hidden", "AutoPause=On", "MainFontSize=99999", "[Player]", "Volume=70000"})
        file.Add(line);
    TTitleProgress expected;
    expected.AutoPause = true;
    EXPECT_EQ(ReadTitleProgress(file, "T1"), expected);
    EXPECT_EQ(ReadTitleProgress(file, "never opened"), TTitleProgress{});
    EXPECT_EQ(ReadPlayerVolume(file, 123), 123);
}

TEST(RecentTitles, NewestFirstOnceEachAndNoMoreThanTwenty)
{
    TDataFile file("");
    TRecentTitles recent;
    for (int i = 0; i < 25; ++i)
        recent.Add("/p/" + std::to_string(i) + ".qzw", "Title, " + std::to_string(i));
    recent.Add("/p/20.qzw", "Again");
    recent.Write(file);
    TRecentTitles read;
    read.Read(file);
    ASSERT_EQ(read.Items().size(), 20u);
    EXPECT_EQ(read.Items().front(), (TRecentTitle{"/p/20.qzw", "Again"}));
    EXPECT_EQ(read.Items()[1], (TRecentTitle{"/p/24.qzw", "Title, 24"}));
    EXPECT_EQ(read.Items().back().Package, "/p/5.qzw");
    read.Remove("/p/24.qzw");
    read.Write(file);
    recent.Read(file);
    EXPECT_EQ(recent.Items().size(), 19u);
}

TEST(RecentTitles, TheOpenDialogStartsWhereAFileWasChosenLastWhileThatIsAFolder)
{
    TTempFolder folder;
    TDataFile file("");
    EXPECT_EQ(ReadOpenFolder(file, "/home/learner"), "/home/learner");
    WriteOpenFolder(file, folder / "talk.ogg");
    EXPECT_EQ(ReadOpenFolder(file, "/home/learner"), folder.Path().string());
    WriteOpenFolder(file, "relative/talk.ogg");
    WriteOpenFolder(file, "/tmp/a\nOpenFolder=/etc/x.ogg");
    EXPECT_EQ(ReadOpenFolder(file, "/home/learner"), folder.Path().string()) << "neither is kept";
    WriteOpenFolder(file, folder / "gone/talk.ogg");
    EXPECT_EQ(ReadOpenFolder(file, "/home/learner"), "/home/learner") << "no longer a folder";
}
