#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "codec/data_file.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
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

    const std::regex programmed("[A-Za-z0-9_][A-Za-z0-9._-]{0,39}-[0-9a-f]{12}\\.qzw");
    for (const std::string& name : std::vector<std::string>{".bashrc.ogg", "\n[files]\r\nx.ogg", "..\\..\\evil.desktop.ogg",
                                                            "\xE3\x83\xA9.ogg", std::string(300, 'x') + ".ogg", ".ogg"}) {
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
    ASSERT_TRUE(WriteLibraryRecord(entry, material, TSubtitleSync(), error)) << error;
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material));
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, {material.Recording, "", "", {}, false})) << "its own tracks";

    TMaterialFiles other = material;
    other.English = Dir / "news/other.srt";
    Write(other.English, "podcast text");
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, other)) << "subtitles given alone for the recording";

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

// A title made before its subtitles were synced is made again; what the sync found is kept,
// exactly, for a title made again of the same material.
TEST_F(LibraryTitles, ATitleIsCurrentOnlyWhenItsSubtitlesWereSyncedAndTheSyncIsKept)
{
    TMaterialFiles material{Dir / "film.mkv", Dir / "film.srt", "", {}, false};
    Write(material.Recording, "film sound");
    Write(material.English, "film text");
    const TLibraryEntry entry = LibraryEntryFor(Data, material.Recording);
    Write(entry.Package, "package");
    std::string error;
    ASSERT_TRUE(WriteLibraryRecord(entry, material, std::nullopt, error)) << error;
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material));
    EXPECT_FALSE(RecordedSync(entry, material));
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, {material.Recording, material.English, "", {}, true})) << "a transcript";

    TSubtitleSync sync;
    sync.OffsetMs = -2350.125;
    sync.Rate = 25 / 23.976;
    sync.Corrected = true;
    ASSERT_TRUE(WriteLibraryRecord(entry, material, sync, error)) << error;
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material));
    const std::optional<TSubtitleSync> kept = RecordedSync(entry, material);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->OffsetMs, sync.OffsetMs);
    EXPECT_EQ(kept->Rate, sync.Rate);
    EXPECT_TRUE(kept->Corrected);
    Write(material.English, "film text, other times");
    EXPECT_FALSE(RecordedSync(entry, material)) << "of other subtitles";

    // A record written by hand with a sync the program never finds is not taken.
    Write(material.English, "film text");
    for (const char* rate : {"1e300", "nan", "0", "1,04", ""}) {
        TDataFile record(entry.Record);
        record.WriteString("Sync", "Rate", rate);
        record.Close();
        EXPECT_FALSE(RecordedSync(entry, material)) << rate;
        EXPECT_FALSE(IsLibraryTitleCurrent(entry, material)) << rate;
    }
}

TEST_F(LibraryTitles, ATitleMadeInPlaceKeepsTheCodeItsProgressIsKeptBy)
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
    EXPECT_EQ(inPlace.Code, copied.Code) << "the code, made from the recording's bytes, names its progress";
    EXPECT_EQ(inPlace.Entries.size() + 1, copied.Entries.size()) << "all but the recording";
    EXPECT_TRUE(RecordingStaysInPlace(recording, Dir / "program"));
    EXPECT_FALSE(RecordingStaysInPlace(Dir / "program/vcd/M1/ep12.wav", Dir / "program"));
}

TEST_F(LibraryTitles, TheChoiceOfSentenceCardsIsKeptAndAnotherChoiceMakesTheTitleAgain)
{
    TMaterialFiles material{Dir / "podcast/ep3.ogg", Dir / "podcast/ep3.srt", "", {}, false};
    Write(material.Recording, "podcast sound");
    Write(material.English, "podcast text");
    const TLibraryEntry entry = LibraryEntryFor(Data, material.Recording);
    Write(entry.Package, "package");
    std::string error;
    ASSERT_TRUE(WriteLibraryRecord(entry, material, TSubtitleSync(), error)) << error;
    EXPECT_EQ(KeptSentenceChoice(entry), std::nullopt) << "never asked";
    material.Sentences = true;
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material)) << "made as cues before the learner chose";

    ASSERT_TRUE(WriteLibraryRecord(entry, material, TSubtitleSync(), error)) << error;
    EXPECT_EQ(KeptSentenceChoice(entry), true);
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material));
    material.Sentences = false;
    EXPECT_FALSE(IsLibraryTitleCurrent(entry, material)) << "the choice changed";
    material.Sentences.reset();
    EXPECT_TRUE(IsLibraryTitleCurrent(entry, material)) << "no choice given: the kept one stands";

    Write(entry.Record, std::string(70 * 1024, 'x'));
    EXPECT_EQ(KeptSentenceChoice(entry), std::nullopt) << "not a record the program writes";
}
