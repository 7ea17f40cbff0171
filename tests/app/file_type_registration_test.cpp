#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/file_type_registration.h"
#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

const char* const PackageType = "application/x-olve-title-package";

void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// Standard output of a shell command, without the final line break.
std::string Output(const std::string& command)
{
    std::string out;
    if (std::FILE* pipe = popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe))
            out += buffer.data();
        pclose(pipe);
    }
    while (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
}

bool Installed(const char* program)
{
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

struct TDataHome {
    TTempFolder Dir;
    std::string Folder() const { return Dir / "share"; }
    std::string MimePackage() const { return Folder() + "/mime/packages/olve-qzw_auto_file.xml"; }
    std::string DesktopEntry() const { return Folder() + "/applications/olve-qzw_auto_file.desktop"; }
};

}  // namespace

TEST(RegisterFileType, WritesTheMimeTypeAndTheDesktopEntry)
{
    TDataHome home;
    ASSERT_TRUE(RegisterFileType("/opt/olve/olveplayer", ".qzw", home.Folder()));
    const std::string mime = ReadBytes(home.MimePackage());
    EXPECT_NE(mime.find("<mime-type type=\"application/x-olve-title-package\">"), std::string::npos);
    EXPECT_NE(mime.find("<glob pattern=\"*.qzw\"/>"), std::string::npos);
    EXPECT_NE(mime.find("<comment>olveplayer file</comment>"), std::string::npos);
    EXPECT_NE(mime.find("<comment xml:lang=\"ja\">olveplayerﾌｧｲﾙ</comment>"), std::string::npos);
    const std::string desktop = ReadBytes(home.DesktopEntry());
    EXPECT_NE(desktop.find("\nExec=/opt/olve/olveplayer %f\n"), std::string::npos);
    // Menus and panels show the program by the name its window caption has.
    EXPECT_NE(desktop.find("\nName=Player Olve / Rindale\n"), std::string::npos);
    EXPECT_NE(desktop.find("\nMimeType=application/x-olve-title-package;"), std::string::npos);
    for (const char* type : {";audio/mpeg;", ";video/x-matroska;", ";application/x-subrip;"})
        EXPECT_NE(desktop.find(type), std::string::npos) << type << ": recordings and subtitles open with it too";
    if (Installed("update-mime-database")) {
        EXPECT_TRUE(fs::exists(home.Folder() + "/mime/mime.cache"));
    }
    if (Installed("update-desktop-database")) {
        EXPECT_NE(ReadBytes(home.Folder() + "/applications/mimeinfo.cache").find(PackageType), std::string::npos);
    }
}

TEST(RegisterFileType, TheDesktopAnswersTheNewTypeForPackages)
{
    if (!Installed("xdg-mime") || !Installed("update-mime-database") || !Installed("gio"))
        GTEST_SKIP() << "xdg-utils, shared-mime-info or gio missing";
    TDataHome home;
    ASSERT_TRUE(RegisterFileType("/opt/olve/olveplayer", ".qzw", home.Folder()));
    WriteBytes(home.Dir / "Some Title.QZW", "0101");
    // xdg-mime asks the desktop's own MIME database (through gio on GNOME).
    const std::string env = "XDG_DATA_HOME='" + home.Folder() + "' XDG_CURRENT_DESKTOP=GNOME ";
    EXPECT_EQ(Output(env + "xdg-mime query filetype '" + (home.Dir / "Some Title.QZW") + "'"), PackageType);
    EXPECT_EQ(Output(env + "xdg-mime query default " + PackageType), "olve-qzw_auto_file.desktop");
}

TEST(RegisterFileType, UsesXdgDataHomeOrTheHomeFolder)
{
    TDataHome home;
    const std::string realHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", home.Folder().c_str(), 1);
    EXPECT_EQ(UserDataFolder(), home.Folder());
    ASSERT_TRUE(RegisterFileType("/opt/olve/olveplayer", ".qzw"));
    EXPECT_TRUE(fs::exists(home.DesktopEntry()));
    // A relative XDG_DATA_HOME is ignored, as the base directory rules say.
    setenv("XDG_DATA_HOME", "relative/share", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share");
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(UserDataFolder(), "/home/someone/.local/share");
    setenv("HOME", realHome.c_str(), 1);
}

TEST(RegisterFileType, RegisteringAgainReplacesTheOldEntries)
{
    TDataHome home;
    ASSERT_TRUE(RegisterFileType("/opt/old/olveplayer", ".qzw", home.Folder()));
    ASSERT_TRUE(RegisterFileType("/opt/new place/olve$player", ".qzw", home.Folder()));
    const std::string desktop = ReadBytes(home.DesktopEntry());
    EXPECT_EQ(desktop.find("/opt/old/"), std::string::npos);
    // A path with reserved characters is quoted, with "$" escaped inside the quotes.
    EXPECT_NE(desktop.find("\nExec=\"/opt/new place/olve\\\\$player\" %f\n"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(home.Folder() + "/applications"), fs::directory_iterator()),
              Installed("update-desktop-database") ? 2 : 1);
    EXPECT_NE(ReadBytes(home.MimePackage()).find("olve$player file"), std::string::npos);
}

TEST(RegisterFileType, AFailureChangesNothing)
{
    TDataHome home;
    ASSERT_TRUE(RegisterFileType("/opt/old/olveplayer", ".qzw", home.Folder()));
    const std::string mimeBefore = ReadBytes(home.MimePackage());
    // The desktop entry cannot be written where a file stands in place of its folder.
    fs::remove_all(home.Folder() + "/applications");
    WriteBytes(home.Folder() + "/applications", "not a folder");
    EXPECT_FALSE(RegisterFileType("/opt/new/olveplayer", ".qzw", home.Folder()));
    EXPECT_EQ(ReadBytes(home.MimePackage()), mimeBefore);

    TDataHome fresh;
    fs::create_directories(fresh.Folder());
    WriteBytes(fresh.Folder() + "/applications", "not a folder");
    EXPECT_FALSE(RegisterFileType("/opt/new/olveplayer", ".qzw", fresh.Folder()));
    EXPECT_FALSE(fs::exists(fresh.MimePackage()));

    EXPECT_FALSE(RegisterFileType("/opt/new/olveplayer", "qzw", fresh.Folder()));
    EXPECT_FALSE(RegisterFileType("/opt/new/olve\nplayer", ".qzw", fresh.Folder()));
}

TEST(RegisterFileType, ACacheThatCannotBeRebuiltUndoesTheRegistration)
{
    TDataHome home;
    ASSERT_TRUE(RegisterFileType("/opt/old/olveplayer", ".qzw", home.Folder()));
    const std::string desktopBefore = ReadBytes(home.DesktopEntry());
    // A desktop database tool that fails, found before the real one.
    fs::create_directories(home.Dir / "bin");
    WriteBytes(home.Dir / "bin/update-desktop-database", "#!/bin/sh\nexit 1\n");
    fs::permissions(home.Dir / "bin/update-desktop-database", fs::perms::owner_all);
    const std::string path = std::getenv("PATH");
    setenv("PATH", (home.Dir / "bin:" + path).c_str(), 1);
    EXPECT_FALSE(RegisterFileType("/opt/new/olveplayer", ".qzw", home.Folder()));
    setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(ReadBytes(home.DesktopEntry()), desktopBefore);
    EXPECT_EQ(ReadBytes(home.MimePackage()).find("/opt/new"), std::string::npos);
}
