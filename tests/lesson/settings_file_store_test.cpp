#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

#include "lesson/settings_file_store.h"
#include "codec/data_file.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

std::string Bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TTitleProgress SomeProgress()
{
    TTitleProgress progress;
    progress.LastCard = 4;
    progress.SpeedTenths = 8;
    progress.Practice.Repeats = 2;
    progress.AutoPause = true;
    progress.MainFontSize = 16;
    return progress;
}

}  // namespace

TEST(SettingsFileStore, WhatIsSavedComesBackInTheSectionsOtherReadersKnow)
{
    TTempFolder folder;
    const std::string path = folder / "olveplayer.dat";
    {
        TSettingsFileStore store(path, "/data");
        store.SaveSitting(30000, "Demo 01", SomeProgress());
        TRecentTitles recent;
        recent.Add("/titles/a.qzw", "A");
        store.SaveRecent(recent);
        store.SaveOpenFolder((folder.Path() / "chosen.qzw").string());
        store.SaveLayout(TDisplayMode::List, 120, TBox{10, 20, 640, 480});
        store.SaveLayout(TDisplayMode::System, 90, std::nullopt);
    }
    const TSettingsFileStore store(path, "/data");
    EXPECT_EQ(store.Progress("Demo 01"), SomeProgress());
    EXPECT_EQ(store.Progress("Another"), TTitleProgress{});
    EXPECT_EQ(store.Volume(65535), 30000);
    EXPECT_EQ(store.Recent().Items(), (std::vector<TRecentTitle>{{"/titles/a.qzw", "A"}}));
    EXPECT_EQ(store.OpenFolder("/home"), folder.Path().string());
    EXPECT_EQ(store.Layout(TDisplayMode::List), (TModeLayout{10, 20, 640, 480, 120}));
    EXPECT_EQ(store.Layout(TDisplayMode::System), (TModeLayout{std::nullopt, std::nullopt, std::nullopt, std::nullopt, 90}))
        << "a maximized window keeps no bounds";
    EXPECT_EQ(store.DataFolder(), "/data");

    // Files of earlier versions name the same sections and keys.
    TDataFile file(path);
    EXPECT_EQ(file.ReadString("List", "Left", ""), "10");
    EXPECT_EQ(file.ReadString("List", "SubHeight", ""), "120");
    EXPECT_EQ(file.ReadString("Recent", "Title1", ""), "/titles/a.qzw,A");
}

TEST(SettingsFileStore, ReadingWritesNothingAndTheLoudestVolumeIsNotWritten)
{
    TTempFolder folder;
    const std::string path = folder / "olveplayer.dat";
    TSettingsFileStore store(path, "");
    EXPECT_EQ(store.Volume(123), 123);
    store.Layout(TDisplayMode::List);
    store.Recent();
    EXPECT_FALSE(std::filesystem::exists(path)) << "reading made the file";

    store.SaveSitting(65535, "", TTitleProgress{});
    EXPECT_EQ(store.Volume(7), 7);
    store.SaveSitting(100, "", TTitleProgress{});
    const std::string before = Bytes(path);
    store.SaveSitting(100, "", TTitleProgress{});
    EXPECT_EQ(Bytes(path), before) << "saving the same sitting again changes nothing";
}

TEST(SettingsFileStore, DamagedOrHostileContentReadsAsTheDefaults)
{
    TTempFolder folder;
    const std::string path = folder / "olveplayer.dat";
    {
        std::ofstream out(path, std::ios::binary);
        out << "\x01\xff not BDC data at all [List]\r\nLeft=5";
    }
    TSettingsFileStore damaged(path, "");
    EXPECT_EQ(damaged.Layout(TDisplayMode::List), TModeLayout{});
    EXPECT_EQ(damaged.Progress("x"), TTitleProgress{});

    std::filesystem::remove(path);
    {
        TDataFile file(path);
        file.WriteString("List", "Left", "12abc");
        file.WriteString("List", "Top", "99999999999");
        file.WriteString("List", "Width", "-40");
        file.WriteString("Recent", "OpenFolder", "relative/folder");
        file.Close();
    }
    const TSettingsFileStore hostile(path, "");
    const TModeLayout layout = hostile.Layout(TDisplayMode::List);
    EXPECT_FALSE(layout.Left) << "not a number";
    EXPECT_FALSE(layout.Top) << "out of range";
    EXPECT_EQ(layout.Width, -40) << "kept as stored; the window bounds it";
    EXPECT_EQ(hostile.OpenFolder("/home"), "/home");
}

TEST(SettingsFileStore, ANonRegularFileIsRefusedAndNeverOpened)
{
    TTempFolder folder;
    const std::string pipe = folder / "olveplayer.dat";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    TSettingsFileStore store(pipe, "");
    EXPECT_EQ(store.Refusal(), (TFailure{TFailureKind::Refused, "普通のファイルではないので使いません",
                                         "not a regular file: it is left as it is", pipe, TSubjectPlace::Above}));
    // Opening a pipe with no writer would wait for ever.
    EXPECT_EQ(store.Volume(5), 5);
    store.SaveLayout(TDisplayMode::List, 100, TBox{1, 2, 3, 4});
    EXPECT_FALSE(store.Make());
    EXPECT_TRUE(std::filesystem::is_fifo(pipe)) << "the pipe was replaced";

    const std::string link = folder / "linked.dat";
    std::filesystem::create_symlink("/dev/null", link);
    TSettingsFileStore linked(link, "");
    EXPECT_TRUE(linked.Refusal());
    linked.SaveRecent(TRecentTitles{});
    EXPECT_TRUE(std::filesystem::is_symlink(link));
}

TEST(SettingsFileStore, AFolderThatCannotBeWrittenLosesTheSaveButNotTheReading)
{
    // Nothing can be made in /proc, even by root.
    TSettingsFileStore store("/proc/olveplayer.dat", "");
    EXPECT_FALSE(store.Refusal());
    EXPECT_FALSE(store.Make());
    store.SaveSitting(100, "Demo", SomeProgress());
    EXPECT_EQ(store.Volume(9), 9);
    EXPECT_EQ(store.Progress("Demo"), TTitleProgress{});
}
