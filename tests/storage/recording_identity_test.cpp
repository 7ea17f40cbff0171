#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "places/recording_identity.h"
#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

TEST(RecordingIdentity, NoticesAMovedOrReplacedRecordingButNotATouchedOne)
{
    TTempFolder dir;
    const std::string film = dir / "film.ogg";
    const auto write = [&](const std::string& middle) { std::ofstream(film, std::ios::trunc) << 'a' + middle + 'a'; };
    write(std::string(300000, 'a'));
    fs::create_symlink(film, dir / "link.ogg");
    TRecordingIdentity identity;
    std::string error;
    ASSERT_TRUE(IdentifyRecording(dir / "link.ogg", identity, error)) << error;
    EXPECT_EQ(identity.Path, fs::canonical(film).string()) << "known by where it really is";
    fs::last_write_time(film, fs::last_write_time(film) + std::chrono::hours(1));
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Present) << "a new time alone changes nothing heard";
    write(std::string(150000, 'a') + "b" + std::string(149999, 'a'));
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Replaced) << "same size, a change in the middle";
    fs::rename(film, dir / "moved.ogg");
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Missing);
    ASSERT_EQ(mkfifo(film.c_str(), 0600), 0);
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Missing) << "a pipe in its place is refused without waiting";
}

TEST(RecordingIdentity, AnyPathReadsBackWholeAndADamagedRecordIsRefused)
{
    TTempFolder dir;
    const TRecordingIdentity hostile{"/home/caf\xC3\xA9 100%\n[files]\r\nfile=/etc/passwd \xFF.ogg", 42, "0123456789ABCDEF"};
    TDataFile file(dir / "record");
    WriteRecordingIdentity(file, "Recording", hostile);
    TRecordingIdentity read;
    ASSERT_TRUE(ReadRecordingIdentity(file, "Recording", read));
    EXPECT_EQ(read, hostile);
    TStringList files;
    file.ReadSection("files", files);
    EXPECT_EQ(files.Count(), 0) << "a name cannot make lines of its own";
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"fingerprint", "XYZ"}, {"size", "12x"}, {"path", "/a%4"}, {"path", "/a%00b"}, {"path", "relative.ogg"}}) {
        file.WriteString("Recording", key, value);
        EXPECT_FALSE(ReadRecordingIdentity(file, "Recording", read)) << key << "=" << value;
    }
}
