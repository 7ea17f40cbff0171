#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

#include "storage/recording_identity.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

void Write(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

}  // namespace

TEST(RecordingIdentity, NoticesAMovedOrReplacedRecordingButNotATouchedOne)
{
    TTempFolder dir;
    const std::string film = dir / "film.ogg";
    Write(film, std::string(300000, 'a') + "end");
    fs::create_symlink(film, dir / "link.ogg");
    TRecordingIdentity identity;
    std::string error;
    ASSERT_TRUE(IdentifyRecording(dir / "link.ogg", identity, error)) << error;
    EXPECT_EQ(identity.Path, fs::canonical(film).string()) << "known by where it really is";
    EXPECT_EQ(identity.Size, 300003);
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Present);

    fs::last_write_time(film, fs::last_write_time(film) + std::chrono::hours(1));
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Present) << "a new time alone changes nothing heard";
    Write(film, std::string(300000, 'a') + "END");
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Replaced) << "same size, other content";
    Write(film, std::string(150000, 'a') + "b" + std::string(149999, 'a') + "end");
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Replaced) << "a change in the middle";
    fs::rename(film, dir / "moved.ogg");
    EXPECT_EQ(CheckRecording(identity), TRecordingState::Missing);

    ASSERT_EQ(mkfifo((dir / "pipe.ogg").c_str(), 0600), 0);
    EXPECT_FALSE(IdentifyRecording(dir / "pipe.ogg", identity, error)) << "a pipe is refused without waiting";
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
}

TEST(RecordingIdentity, AnyPathReadsBackWholeAndADamagedRecordIsRefused)
{
    TTempFolder dir;
    TRecordingPrompts prompts;
    const TRecordingIdentity hostile{"/home/u/caf\xC3\xA9 100%\n[files]\r\nfile=/etc/passwd \xFF=x.ogg", 42,
                                     "0123456789ABCDEF"};
    {
        TDataFile file(dir / "record", prompts);
        WriteRecordingIdentity(file, "Recording", hostile);
        file.Close();
    }
    TDataFile file(dir / "record", prompts);
    TRecordingIdentity read;
    ASSERT_TRUE(ReadRecordingIdentity(file, "Recording", read));
    EXPECT_EQ(read, hostile);
    TStringList files;
    file.ReadSection("files", files);
    EXPECT_EQ(files.Count(), 0) << "a name cannot make lines of its own";

    const std::vector<std::pair<std::string, std::string>> damaged = {
        {"path", "relative/film.ogg"}, {"path", "/a%00b"}, {"path", "/a%4"}, {"size", "12x"},
        {"size", "-1"},                {"fingerprint", "XYZ"}};
    for (const auto& [key, value] : damaged) {
        TDataFile changed(dir / "record", prompts);
        changed.WriteString("Recording", key, value);
        EXPECT_FALSE(ReadRecordingIdentity(changed, "Recording", read)) << key << "=" << value;
    }
    EXPECT_FALSE(ReadRecordingIdentity(file, "Nothing", read));
}
