#include "files/abandoned_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

// Runs step in a child process that then ends, as a killed player or tool leaves its files.
void InAProcessThatEnds(const std::function<void()>& step)
{
    const pid_t child = fork();
    if (child == 0) {
        step();
        _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
}

void Write(const std::string& path, const std::string& text)
{
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(AbandonedFiles, AKilledPlayersInstalledFilesGoWhenStillAsWrittenAndNothingElse)
{
    TTempFolder program;
    TTempFolder outside;
    const std::vector<std::string> files = {program / "titles/K/K1/lesson.qzc", program / "vcd/K1/tone.wav",
                                            program / "vcd/K1/changed.wav", program / "vcd/K1/linked.wav",
                                            program / "moved/inner.wav"};
    for (const std::string& file : files)
        Write(file, "installed");
    InAProcessThatEnds([&] { TInstalledList(program.Path().string()).Write(files); });
    // Changed by the user since, turned into a link, and a folder on the way turned into a link.
    Write(files[2], "the user's own now");
    fs::remove(files[3]);
    Write(outside / "linked.wav", "installed");
    fs::create_symlink(outside / "linked.wav", files[3]);
    Write(outside / "moved/inner.wav", "installed");
    fs::remove_all(program / "moved");
    fs::create_directory_symlink(outside / "moved", program / "moved");
    // The list of a player still running is left alone.
    TInstalledList(program.Path().string()).Write({program / "vcd/K1/changed.wav"});

    const std::vector<std::string> removed = RemoveAbandonedInstallations(program.Path().string());
    EXPECT_EQ(removed, (std::vector<std::string>{files[0], files[1]}));
    EXPECT_FALSE(fs::exists(program / "titles"));
    for (const std::string& kept : {files[2], outside / "linked.wav", outside / "moved/inner.wav"})
        EXPECT_TRUE(fs::is_regular_file(kept)) << kept;
    EXPECT_TRUE(fs::is_symlink(files[3]));
    EXPECT_TRUE(fs::exists(program / (".installed." + std::to_string(getpid()))));
    EXPECT_TRUE(RemoveAbandonedInstallations(program.Path().string()).empty());
    TInstalledList(program.Path().string()).Write({});
    EXPECT_FALSE(fs::exists(program / (".installed." + std::to_string(getpid()))));
}

TEST(AbandonedFiles, FoldersOfEndedProcessesGoButNotLiveOnesUnmarkedOnesOrLinks)
{
    TTempFolder temp;
    TTempFolder outside;
    Write(outside / "keep.txt", "not ours");
    Write(outside / "elsewhere/.owner", "1\n");
    InAProcessThatEnds([&] {
        fs::create_directory(temp / "olvetool-dead");
        MarkFolderOwned(temp / "olvetool-dead");
        Write(temp / "olvetool-dead/copy.ogg", "spooled");
        fs::create_symlink(outside / "keep.txt", temp / "olvetool-dead/link");
        Write(outside / "elsewhere/.owner", std::to_string(getpid()) + "\n");
    });
    fs::create_directory(temp / "olvetool-live");
    MarkFolderOwned(temp / "olvetool-live");
    Write(temp / "olvetool-unmarked/copy.ogg", "whose?");
    fs::create_directory_symlink(outside / "elsewhere", temp / "olvetool-link");
    fs::create_directory(temp / "other-dead");
    fs::copy_file(outside / "elsewhere/.owner", temp / "other-dead/.owner");

    EXPECT_EQ(RemoveAbandonedFolders(temp.Path().string(), "olvetool-"), (std::vector<std::string>{temp / "olvetool-dead"}));
    EXPECT_FALSE(fs::exists(temp / "olvetool-dead"));
    for (const char* kept : {"olvetool-live/.owner", "olvetool-unmarked/copy.ogg", "olvetool-link/.owner", "other-dead/.owner"})
        EXPECT_TRUE(fs::exists(temp / kept)) << kept;
    EXPECT_TRUE(fs::is_regular_file(outside / "keep.txt"));
}
