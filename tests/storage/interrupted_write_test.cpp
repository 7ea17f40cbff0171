// Saves and installs killed midway: every file under its real name is whole, either as it
// was or as it was being written, and what the killed process left behind goes on the next
// write into the same folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "codec/data_file.h"
#include "support/kill_midway.h"
#include "train_install.h"

using namespace olve;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

constexpr int SettingCount = 4000;

// Every setting of one save holds that save's generation.
void SaveSettings(const std::string& path, int generation)
{
    TDataFile file(path);
    for (int i = 0; i < SettingCount; ++i)
        file.WriteInteger("System", "Key" + std::to_string(i), generation * 100000 + i);
    file.Close();
}

std::vector<std::string> Leftovers(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.path().filename().string().starts_with("."))
            names.push_back(entry.path().string());
    return names;
}

std::string Pattern(std::size_t size, int seed)
{
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 131 + static_cast<std::size_t>(seed) * 7) % 251);
    return data;
}

}  // namespace

TEST(InterruptedWrites, ASettingsFileKilledWhileSavingIsTheOldOrTheNewOne)
{
    TTempFolder dir;
    const std::string path = dir / "olveplayer.dat";
    SaveSettings(path, 0);
    int killed = 0;
    for (int round = 0; round < 10; ++round) {
        killed += KillMidway([&] {
            for (int generation = 1;; ++generation)
                SaveSettings(path, generation);
        }, std::chrono::microseconds(3000 + round * 2700));

        TDataFile file(path);
        file.ReadOnly = true;
        TStringList lines;
        file.ReadSection("System", lines);
        ASSERT_EQ(lines.Count(), SettingCount) << "round " << round;
        const int generation = std::stoi(file.ReadString("System", "Key0", "-1")) / 100000;
        EXPECT_EQ(file.ReadString("System", "Key" + std::to_string(SettingCount - 1), ""),
                  std::to_string(generation * 100000 + SettingCount - 1));
        file.Close();
    }
    EXPECT_GT(killed, 0);

    // A temporary of a process that is gone, beside one of a process that still writes.
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string stale = dir / (".olveplayer.dat." + std::to_string(gone) + ".77.part");
    const std::string busy = dir / (".olveplayer.dat." + std::to_string(getpid()) + ".78.part");
    train_test::WriteBytes(stale, "half");
    train_test::WriteBytes(busy, "half");
    SaveSettings(path, 99);
    EXPECT_EQ(Leftovers(dir.Path()), std::vector<std::string>{busy});
}

TEST(InterruptedWrites, AnInstallKilledMidwayLeavesWholeFilesAndInstallsAgain)
{
    train_test::TInstall install;
    std::vector<train_test::TEntry> entries;
    for (int i = 0; i < 40; ++i)
        entries.push_back({"titles/K/K1/pic/p" + std::to_string(i) + ".png", Pattern(120000, i)});
    entries.push_back({"vcd/K1/speech.wav", Pattern(6000000, 99)});  // streamed in chunks
    entries.push_back({"lesson.qzc", train_test::Coded("VolSerialNum=K1\r\n"), false});
    install.Make("", entries);

    for (int round = 0; round < 6; ++round) {
        KillMidway([&] {
            for (;;)
                install.Run(1);
        }, std::chrono::microseconds(2000 + round * 9000));
        for (const auto& entry : entries) {
            const std::string target = install.At(entry.Name);
            if (fs::exists(target)) {
                EXPECT_EQ(train_test::ReadBytes(target), entry.Data) << entry.Name << " round " << round;
            }
        }
    }

    ASSERT_TRUE(install.Run(1));
    for (const auto& entry : entries)
        EXPECT_EQ(train_test::ReadBytes(install.At(entry.Name)), entry.Data) << entry.Name;
    EXPECT_TRUE(Leftovers(install.Dest()).empty()) << Leftovers(install.Dest()).front();
}
