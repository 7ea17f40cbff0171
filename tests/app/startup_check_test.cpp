#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/folder_refusal.h"
#include "app/instance_lock.h"
#include "app/instance_refusal.h"
#include "app/main_window.h"
#include "app/private_folder.h"
#include "app/startup_check.h"
#include "files/abandoned_files.h"
#include "codec/data_file.h"
#include "support/recording_prompts.h"
#include "support/stalled_fifo.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

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
    TDataFile settings(s.Folder() + "/olveplayer.dat");
    settings.WriteInteger("System", "Width", 640);
    settings.Close();
    TStartup again;
    again.Env.ProgramPath = s.Env.ProgramPath;
    EXPECT_TRUE(StartupCheck(again.Env));
    EXPECT_EQ(TDataFile(s.Folder() + "/olveplayer.dat").ReadString("System", "Width", ""), "640");
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
        // The instance lock's folder must be the user's own.
        if (geteuid() == 0 && (chown(s.Runtime.Path().c_str(), 65534, 65534) != 0 || setgid(65534) != 0 ||
                               setuid(65534) != 0))
            _exit(3);
        const bool passed = static_cast<bool>(StartupCheck(s.Env));
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
    // The first answers on the socket; its window is still starting, so it takes nothing.
    TForm1 window(first.Env.ProgramPath, {"NoTie"}, first.Prompts);
    ASSERT_TRUE(window.ListenForHandOvers(first.Env.SocketPath));
    TStartup second;
    second.Env.ProgramPath = first.Env.ProgramPath;
    // Same runtime folder: the first holds the lock.
    TInstanceLock lock(QString::fromStdString(first.Runtime / "olveplayer.lock"));
    second.Env.Lock = &lock;
    second.Env.SocketPath = first.Env.SocketPath;
    second.Env.Arguments = {"/tmp/x.qzw"};
    second.Env.WaitForInstanceMs = 10000;
    auto result = std::async(std::launch::async, [&] { return StartupCheck(second.Env); });
    WaitUntil([&] { return result.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 20000);
    EXPECT_FALSE(result.get());
    EXPECT_TRUE(second.Prompts.Said.empty());
}

TEST(InstanceFiles, APrivateFolderIsMadeAndOneOpenToOthersOrNotAFolderIsRefused)
{
    TTempFolder root;
    const QString made = QString::fromStdString(root / "made");
    EXPECT_EQ(MakePrivateFolder(made), "");
    struct stat info {};
    ASSERT_EQ(stat(made.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(info.st_uid, geteuid());
    EXPECT_EQ(MakePrivateFolder(made), "");

    chmod(made.toLocal8Bit().constData(), 0750);
    EXPECT_EQ(MakePrivateFolder(made), NotPrivateFolderMessage(made.toStdString()));
    ASSERT_EQ(stat(made.toLocal8Bit().constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0750u);  // refused, not repaired

    const QString link = QString::fromStdString(root / "link");
    std::filesystem::create_directory(root / "private");
    chmod((root / "private").c_str(), 0700);
    std::filesystem::create_directory_symlink(root / "private", link.toStdString());
    EXPECT_EQ(MakePrivateFolder(link), NotPrivateFolderMessage(link.toStdString()));

    // Through the start: a runtime folder open to others is refused before anything is made.
    TStartup s;
    chmod(s.Runtime.Path().c_str(), 0755);
    const TStartupResult result = StartupCheck(s.Env);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.ExitCode, exInstanceFilesRefused);
    EXPECT_EQ(s.Prompts.Said, std::vector<std::string>{NotPrivateFolderMessage(s.Runtime.Path().string())});
    EXPECT_FALSE(s.Has("olveplayer.dat"));
}

TEST(InstanceFiles, FoldersAndFilesOfAnotherUserAreRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can hand files to another user";
    constexpr uid_t Nobody = 65534;
    TTempFolder root;
    const QString foreign = QString::fromStdString(root / "foreign");
    std::filesystem::create_directory(foreign.toStdString());
    chmod(foreign.toLocal8Bit().constData(), 0700);
    ASSERT_EQ(chown(foreign.toLocal8Bit().constData(), Nobody, Nobody), 0);
    EXPECT_EQ(MakePrivateFolder(foreign), NotPrivateFolderMessage(foreign.toStdString()));

    // Another user's lock file: the start neither takes it nor waits for its holder.
    TStartup lockTaken;
    const std::string lock = lockTaken.Runtime / "olveplayer.lock";
    std::ofstream(lock).put('\n');
    ASSERT_EQ(chown(lock.c_str(), Nobody, Nobody), 0);
    TStartupResult result = StartupCheck(lockTaken.Env);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.ExitCode, exInstanceFilesRefused);
    EXPECT_EQ(lockTaken.Prompts.Said, std::vector<std::string>{ForeignFileMessage(lock)});
    EXPECT_FALSE(lockTaken.Lock.Held());

    // Another user's file where the socket goes: neither connected to nor replaced.
    TStartup socketTaken;
    const std::string socket = socketTaken.Env.SocketPath.toStdString();
    std::ofstream(socket).put('\n');
    ASSERT_EQ(chown(socket.c_str(), Nobody, Nobody), 0);
    result = StartupCheck(socketTaken.Env);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.ExitCode, exInstanceFilesRefused);
    EXPECT_EQ(socketTaken.Prompts.Said, std::vector<std::string>{ForeignFileMessage(socket)});
    EXPECT_TRUE(std::filesystem::is_regular_file(socket));
}

// A pipe as the settings file held the start for ever, waiting for a writer.
TEST(StartupCheck, ASettingsFileThatIsNoRegularFileIsLeftAloneAndTheStartGoesOnWithDefaults)
{
    TStartup s;
    const std::string settings = s.Folder() + "/olveplayer.dat";
    TStalledFifo fifo(settings, "");
    ASSERT_TRUE(fifo.Ready());
    auto started = std::async(std::launch::async, [&] { return StartupCheck(s.Env); });
    ASSERT_EQ(started.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "the start waits for the pipe";
    EXPECT_TRUE(started.get());
    ASSERT_EQ(s.Prompts.Said.size(), 1u);
    EXPECT_EQ(s.Prompts.Said[0], settings +
                                     "\r\n\r\n普通のファイルではないので使いません\r\n\r\nnot a regular file: it is left as "
                                     "it is\r\n\r\n既定の設定で始めます\r\n\r\nstarting with the default settings");

    // The window's own readings and writings pass it by as well.
    auto used = std::async(std::launch::async, [&] {
        TDataFile file(settings);
        file.WriteInteger("System", "Width", 640);
        file.Close();
        return file.ReadString("System", "Width", "");
    });
    ASSERT_EQ(used.wait_for(std::chrono::seconds(5)), std::future_status::ready) << "writing waits for the pipe";
    EXPECT_EQ(used.get(), "640");
    EXPECT_TRUE(std::filesystem::is_fifo(settings));
    EXPECT_TRUE(std::filesystem::is_directory(s.Folder() + "/titles"));
}

// A player killed while its title was open left the installed title for ever.
TEST(StartupCheck, TheNextStartRemovesWhatAKilledPlayerHadInstalled)
{
    TStartup s;
    const std::string title = s.Folder() + "/titles/K/K1/lesson.qzc";
    std::filesystem::create_directories(s.Folder() + "/titles/K/K1");
    std::ofstream(title) << "installed";
    const pid_t child = fork();
    if (child == 0) {
        TInstalledList(s.Folder()).Write({title});
        _exit(0);
    }
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(StartupCheck(s.Env));
    EXPECT_FALSE(std::filesystem::exists(title));
    EXPECT_TRUE(std::filesystem::is_directory(s.Folder() + "/titles"));
}
