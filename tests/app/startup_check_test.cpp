#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/folder_refusal.h"
#include "app/instance_lock.h"
#include "app/startup_check.h"
#include "storage/data_file.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

// A program folder of its own and a runtime folder where no other instance runs.
struct TStartup {
    TTempFolder Root;
    TTempFolder Runtime;
    TRecordingPrompts Prompts;
    TInstanceLock Lock{QString::fromStdString(Runtime / "olveplayer.lock")};
    TStartupEnvironment Env;

    explicit TStartup(const std::string& programFolder = "prog")
    {
        std::filesystem::create_directories(Root.Path() / programFolder);
        Env.ProgramPath = QString::fromStdString(Root / (programFolder + "/olveplayer"));
        Env.DesktopFolder = QString::fromStdString(Root / "Desktop");
        Env.SocketPath = QString::fromStdString(Runtime / "olveplayer.socket");
        Env.Lock = &Lock;
        Env.Prompts = &Prompts;
        Env.WaitForInstanceMs = 200;
    }
    std::string Folder() const { return ProgramFolderOf(Env.ProgramPath).toStdString(); }
    bool Has(const char* name) const { return std::filesystem::exists(Folder() + "/" + name); }
};

}  // namespace

TEST(StartupCheck, AWritableFolderGetsItsSettingsFileAndTitlesFolder)
{
    TStartup s;
    EXPECT_TRUE(StartupCheck(s.Env));
    EXPECT_TRUE(s.Prompts.Said.empty());
    EXPECT_TRUE(std::filesystem::is_regular_file(s.Folder() + "/olveplayer.dat"));
    EXPECT_TRUE(std::filesystem::is_directory(s.Folder() + "/titles"));
    EXPECT_TRUE(s.Lock.Held());

    // An existing settings file keeps what it holds.
    TRecordingPrompts prompts;
    TDataFile settings(s.Folder() + "/olveplayer.dat", prompts);
    settings.WriteInteger("System", "Width", 640);
    settings.Close();
    TStartup again;
    again.Env.ProgramPath = s.Env.ProgramPath;
    EXPECT_TRUE(StartupCheck(again.Env));
    EXPECT_EQ(TDataFile(s.Folder() + "/olveplayer.dat", prompts).ReadString("System", "Width", ""), "640");
}

TEST(StartupCheck, TheDesktopFolderIsRefusedInAnyLetterCase)
{
    TStartup s("DESKTOP");
    s.Env.DesktopFolder = QString::fromStdString(s.Root / "Desktop/");
    EXPECT_FALSE(StartupCheck(s.Env));
    ASSERT_EQ(s.Prompts.Said.size(), 1u);
    EXPECT_EQ(s.Prompts.Said[0], FolderRefusalMessage("デスクトップ"));
    EXPECT_EQ(s.Prompts.Said[0],
              "このソフトは、フォルダ < デスクトップ > 上では動作しません\r\n\r\nインストールフォルダを変更してください");
    EXPECT_FALSE(s.Has("olveplayer.dat"));
    EXPECT_FALSE(s.Has("titles"));
}

TEST(StartupCheck, AFolderWhereTitlesCannotBeMadeIsRefusedByName)
{
    TStartup s;
    std::ofstream(s.Folder() + "/titles") << "a file, not a folder";
    EXPECT_FALSE(StartupCheck(s.Env));
    ASSERT_EQ(s.Prompts.Said.size(), 1u);
    EXPECT_EQ(s.Prompts.Said[0], FolderRefusalMessage(s.Folder()));
}

TEST(StartupCheck, AnUnwritableFolderWithoutSettingsIsRefusedByName)
{
    TStartup s;
    chmod(s.Root.Path().c_str(), 0755);
    chmod(s.Folder().c_str(), 0555);
    // Permissions do not stop root: run the check as an unprivileged user in a child.
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(3);
        const bool passed = StartupCheck(s.Env);
        const bool told = s.Prompts.Said.size() == 1 && s.Prompts.Said[0] == FolderRefusalMessage(s.Folder());
        _exit(!passed && told ? 0 : 1);
    }
    int status = -1;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 3)
        GTEST_SKIP() << "cannot drop privileges here";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(s.Has("olveplayer.dat"));
}

TEST(StartupCheck, ARunningInstanceEndsTheStartSilently)
{
    TStartup first;
    ASSERT_TRUE(StartupCheck(first.Env));
    TStartup second;
    second.Env.ProgramPath = first.Env.ProgramPath;
    // Same runtime folder: the first holds the lock; nobody answers on the socket.
    TInstanceLock lock(QString::fromStdString(first.Runtime / "olveplayer.lock"));
    second.Env.Lock = &lock;
    second.Env.SocketPath = first.Env.SocketPath;
    second.Env.Arguments = {"/tmp/x.qzw"};
    EXPECT_FALSE(StartupCheck(second.Env));
    EXPECT_TRUE(second.Prompts.Said.empty());
}
