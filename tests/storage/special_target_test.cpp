// Writing to a name that is not a plain file: a device or pipe keeps its place, a link keeps
// leading where it led, and a package never touches either.
#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#include <vector>

#include "files/atomic_file.h"
#include "files/staged_file.h"
#include "filetrain/train_pack.h"
#include "train_install.h"

using namespace olve;
using namespace train_test;
namespace fs = std::filesystem;

namespace {

int Write(const std::string& path, const std::string& text)
{
    return WriteFileAtomically(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

mode_t TypeOf(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 ? st.st_mode & S_IFMT : 0;
}

// A device that swallows what is written, as /dev/null does; false where nodes cannot be made.
bool MakeNullDevice(const std::string& path)
{
    return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
}

// A pipe with a reader that never blocks, so that whatever is written to it can be seen.
struct TPipe {
    explicit TPipe(const std::string& path)
    {
        EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
        Reader = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        EXPECT_GE(Reader, 0);
    }
    ~TPipe() { close(Reader); }
    std::string Received() const
    {
        char buffer[256];
        const ssize_t n = read(Reader, buffer, sizeof buffer);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }
    int Reader = -1;
};

std::vector<std::string> Temporaries(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".part")
            names.push_back(entry.path().string());
    return names;
}

}  // namespace

TEST(Writes, ADeviceOrPipeIsWrittenToAndKeepsItsPlace)
{
    TTempFolder dir;
    const TPipe pipe(dir / "pipe");
    EXPECT_EQ(Write(dir / "pipe", "through the pipe"), 0);
    EXPECT_EQ(TypeOf(dir / "pipe"), S_IFIFO);
    EXPECT_EQ(pipe.Received(), "through the pipe");

    if (!MakeNullDevice(dir / "null"))
        GTEST_SKIP() << "device nodes cannot be made here (not root)";
    EXPECT_EQ(Write(dir / "null", "swallowed"), 0);
    EXPECT_EQ(TypeOf(dir / "null"), S_IFCHR);
    fs::create_directories(dir / "source");
    WriteBytes(dir / "source/a.txt", "A");
    std::vector<std::string> packed;
    std::string error;
    EXPECT_TRUE(PackFileTrain(dir / "source", dir / "null", "", packed, error)) << error;
    EXPECT_EQ(TypeOf(dir / "null"), S_IFCHR);
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
}

TEST(Writes, ALinkIsFollowedToTheFileItNamesAndStaysALink)
{
    TTempFolder dir;
    fs::create_directories(dir / "real");
    WriteBytes(dir / "real/settings.dat", "old");
    fs::permissions(dir / "real/settings.dat", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("real/settings.dat", dir / "settings.dat");
    EXPECT_EQ(Write(dir / "settings.dat", "new"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "settings.dat"));
    EXPECT_EQ(ReadBytes(dir / "real/settings.dat"), "new");
    EXPECT_EQ(fs::status(dir / "real/settings.dat").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A chain of links is followed to its end, and a file not made yet is made there.
    fs::create_symlink(dir / "real/new.dat", dir / "dangling");
    fs::create_symlink("dangling", dir / "chain");
    EXPECT_EQ(Write(dir / "chain", "made"), 0);
    EXPECT_TRUE(fs::is_symlink(dir / "chain"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling"));
    EXPECT_EQ(ReadBytes(dir / "real/new.dat"), "made");

    // Links that go round in a circle and folders are refused as they are.
    fs::create_symlink("loop", dir / "loop");
    EXPECT_EQ(Write(dir / "loop", "x"), ELOOP);
    EXPECT_TRUE(fs::is_symlink(dir / "loop"));
    EXPECT_EQ(Write(dir / "real", "x"), EISDIR);
    EXPECT_TRUE(Temporaries(dir.Path()).empty());
    EXPECT_TRUE(Temporaries(dir / "real").empty());
}

TEST(Writes, TheFolderOfAWrittenFileIsSyncedAndAFailureToSyncItIsReported)
{
    TTempFolder dir;
    EXPECT_TRUE(SyncFolderOf(dir / "settings.dat"));
    EXPECT_TRUE(SyncFolderOf("/settings.dat"));
    EXPECT_FALSE(SyncFolderOf(dir / "gone/settings.dat"));
    EXPECT_EQ(errno, ENOENT);
    WriteBytes(dir / "file", "x");
    EXPECT_FALSE(SyncFolderOf(dir / "file/settings.dat")) << "the folder is a file";
    EXPECT_EQ(errno, ENOTDIR);

    // A name without a folder is in the working folder.
    const fs::path before = fs::current_path();
    fs::current_path(dir.Path());
    EXPECT_EQ(Write("settings.dat", "new"), 0);
    fs::current_path(before);
    EXPECT_EQ(ReadBytes(dir / "settings.dat"), "new");
}

TEST(Writes, APackageNeitherWritesToNorReplacesADeviceOrPipe)
{
    TInstall install;
    fs::create_directories(install.Dest());
    const TPipe pipe(install.At("a.txt"));
    const bool device = MakeNullDevice(install.At("b.txt"));
    install.Make("", {{"a.txt", "A"}, {"b.txt", "B"}, {"c.txt", "C"}});
    EXPECT_TRUE(install.Run(1));
    EXPECT_EQ(TypeOf(install.At("a.txt")), S_IFIFO);
    EXPECT_EQ(pipe.Received(), "");
    if (device) {
        EXPECT_EQ(TypeOf(install.At("b.txt")), S_IFCHR);
    }
    EXPECT_EQ(install.Written(), std::vector<std::string>{install.At("c.txt")});
    ASSERT_EQ(install.Prompts.Said.size(), 1u);
    const std::string report = "インストール先の外を指す名前のファイルは書き込みませんでした (" +
                               std::to_string(device ? 2 : 1) + ")";
    EXPECT_EQ(install.Prompts.Said[0].rfind(report, 0), 0u) << install.Prompts.Said[0];
}
