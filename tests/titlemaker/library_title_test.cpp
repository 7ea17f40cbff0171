#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "storage/train_extract.h"
#include "support/recording_prompts.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "title/title_session.h"
#include "titlemaker/library_title.h"
#include "titlemaker/subtitle_title.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

class LibraryTitles : public testing::Test {
protected:
    TTempFolder Dir;
    const std::string Data = Dir / "data";
    const std::string Library = Dir / "data/olveplayer/library";

    void SetUp() override
    {
        for (const char* folder : {"podcast", "news", "data/olveplayer/library"})
            fs::create_directories(Dir / folder);
    }
    void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
};

}  // namespace

TEST_F(LibraryTitles, EachRecordingHasAnEntryOfItsOwnNamedByTheProgram)
{
    const TLibraryEntry podcast = LibraryEntryFor(Data, Dir / "podcast/ep12.ogg");
    const TLibraryEntry news = LibraryEntryFor(Data, Dir / "news/ep12.ogg");
    EXPECT_NE(podcast.Package, news.Package) << "same base name, another recording";
    EXPECT_EQ(LibraryEntryFor(Data, Dir / "news/../podcast/ep12.ogg").Package, podcast.Package);
    fs::create_directory_symlink(Dir / "podcast", Dir / "shows");
    EXPECT_EQ(LibraryEntryFor(Data, Dir / "shows/ep12.ogg").Package, podcast.Package) << "a link leads to one recording";
    EXPECT_EQ(podcast.Record, podcast.Package.substr(0, podcast.Package.size() - 4) + ".made");

    const std::regex programmed("[A-Za-z0-9_][A-Za-z0-9._-]{0,39}-[0-9a-f]{12}\\.qzw");
    for (const std::string& name : std::vector<std::string>{"ep12.ogg", ".bashrc.ogg", "\n[files]\r\nx.ogg", "..\\..\\evil.desktop.ogg",
                                   "\xE3\x83\xA9\xE3\x82\xB8\xE3\x82\xAA.ogg", std::string(300, 'x') + ".ogg", ".ogg"}) {
        const fs::path package = LibraryEntryFor(Data, Dir / ("podcast/" + name)).Package;
        EXPECT_EQ(package.parent_path(), fs::path(Library)) << name;
        EXPECT_TRUE(std::regex_match(package.filename().string(), programmed)) << package;
    }
    EXPECT_EQ(fs::path(podcast.Package).filename().string().substr(0, 5), "ep12-");
}

TEST_F(LibraryTitles, ATitleIsCurrentOnlyForTheRecordingAndSubtitlesItWasMadeFrom)
{
    const TMaterialFiles material{Dir / "podcast/ep12.ogg", Dir / "podcast/ep12.srt", Dir / "podcast/ep12.ja.srt", {}, false};
    Write(material.Recording, "podcast sound");
    Write(material.English, "podcast text");
    Write(material.Japanese, "podcast Japanese");
    const TLibraryEntry entry = LibraryEntryFor(Data, material.Recording);
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material)) << "nothing made yet";
    Write(entry.Package, "package");
    std::string error;
    ASSERT_TRUE(WriteLibraryRecord(entry, material, error)) << error;
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material));
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, {material.Recording, "", "", {}, false})) << "its own tracks";

    TMaterialFiles other = material;
    other.English = Dir / "news/other.srt";
    Write(other.English, "podcast text");
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, other)) << "subtitles given alone for the recording";
    other = material;
    other.Japanese.clear();
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, other));

    const TMaterialFiles news{Dir / "news/ep12.ogg", Dir / "news/ep12.srt", "", {}, false};
    Write(news.Recording, "podcast sound");
    const TLibraryEntry newsEntry = LibraryEntryFor(Data, news.Recording);
    fs::copy_file(entry.Package, newsEntry.Package);
    fs::copy_file(entry.Record, newsEntry.Record);
    EXPECT_FALSE(IsLibraryTitleCurrent(newsEntry, news)) << "a record of another recording, even of the same bytes";

    Write(material.English, "podcast text, corrected");
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material));
    Write(material.English, "podcast text");
    Write(material.Recording, "another podcast");
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material)) << "the recording was replaced";
    Write(material.Recording, "podcast sound");
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material));
    Write(entry.Record, "\x01\x02 damaged");
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material));
}

TEST_F(LibraryTitles, ATitleMadeInPlaceCarriesNoCopyAndKeepsTheCodeItsProgressIsKeptBy)
{
    const std::string recording = Dir / "podcast/ep12.wav";
    ASSERT_TRUE(MakeWav(recording, 4));
    std::ofstream(Dir / "podcast/ep12.srt") << "1\n00:00:00,500 --> 00:00:01,500\nHello there\n";
    TSubtitleTitleRequest request;
    request.MediaPath = recording;
    request.MediaLengthMs = 4000;
    request.SubtitlePath = Dir / "podcast/ep12.srt";
    request.PackagePath = Dir / "copied.qzw";
    TSubtitleTitleResult copied, inPlace;
    std::string error;
    ASSERT_TRUE(MakeSubtitleTitle(request, copied, error)) << error;
    request.PackagePath = LibraryEntryFor(Data, recording).Package;
    request.RecordingInPlace = true;
    ASSERT_TRUE(MakeSubtitleTitle(request, inPlace, error)) << error;
    EXPECT_EQ(inPlace.Code, copied.Code);
    EXPECT_LT(fs::file_size(request.PackagePath) * 20, fs::file_size(recording)) << "no copy of the recording";

    TTempFolder program;
    TRecordingPrompts prompts;
    TStringList written;
    ASSERT_TRUE(ExtractFileTrain(TExtractUi{}, request.PackagePath, program.Path().string(), written, 1, true));
    const TTitleSession session = OpenInstalledTitle(program.Path().string(), written, request.PackagePath, prompts);
    ASSERT_TRUE(session.Opened()) << session.Reason;
    EXPECT_EQ(session.MediaPath, fs::canonical(recording).string());
    EXPECT_EQ(session.Serial, copied.Code) << "progress is kept by the code, made from the recording's bytes";

    EXPECT_TRUE(RecordingStaysInPlace(recording, program.Path().string()));
    EXPECT_FALSE(RecordingStaysInPlace(program / "vcd/M1/ep12.wav", program.Path().string()));
}
