#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"
#include "titlemaker/material_files.h"

using namespace olve;

TEST(MaterialFiles, TheRecordingFindsItsSubtitlesByNameAndLanguage)
{
    TTempFolder dir;
    for (const char* name : {"talk.MP4", "talk.srt", "talk.en.vtt", "talk.ja.srt", "talk.fr.srt", "other.srt", "talk.txt"})
        std::ofstream(dir / name) << "x";
    TMaterialFiles found;
    std::string reason;
    ASSERT_TRUE(FindMaterial({dir / "talk.MP4"}, found, reason)) << reason;
    EXPECT_EQ(found.Recording, dir / "talk.MP4");
    EXPECT_EQ(found.English, dir / "talk.en.vtt") << "a named language comes before none";
    EXPECT_EQ(found.Japanese, dir / "talk.ja.srt");
    EXPECT_EQ(found.Others, (std::vector<std::string>{dir / "talk.fr.srt", dir / "talk.srt"}));

    ASSERT_TRUE(FindMaterial({dir / "other.srt", dir / "talk.MP4"}, found, reason)) << "dropped together";
    EXPECT_EQ(found.English, dir / "other.srt");
    EXPECT_TRUE(found.Japanese.empty());

    std::ofstream(dir / "alone.mp3") << "x";
    EXPECT_FALSE(FindMaterial({dir / "alone.mp3"}, found, reason));
    EXPECT_NE(reason.find("no English subtitles"), std::string::npos);
    EXPECT_FALSE(FindMaterial({dir / "talk.srt"}, found, reason));
    EXPECT_NE(reason.find("no recording"), std::string::npos);
    for (const char* name : {"read.ogg", "read.txt", "read.ja.txt"})
        std::ofstream(dir / name) << "x";
    ASSERT_TRUE(FindMaterial({dir / "read.ogg"}, found, reason)) << reason;
    EXPECT_TRUE(found.Transcript) << "plain texts without subtitles are a transcript";
    EXPECT_EQ(found.English, dir / "read.txt");
    EXPECT_EQ(found.Japanese, dir / "read.ja.txt");
    ASSERT_TRUE(FindMaterial({dir / "talk.MP4"}, found, reason));
    EXPECT_FALSE(found.Transcript);
    EXPECT_EQ(LibraryPackagePath("/home/u/.local/share", "/media/films/Talk One.mkv"),
              "/home/u/.local/share/olveplayer/library/Talk One.qzw");
}
