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
    EXPECT_EQ(reason, "英語の字幕が見つかりません (alone.srt / .vtt / .lrc)\r\n\r\nno English subtitles found beside " +
                          dir / "alone.mp3");
    EXPECT_FALSE(FindMaterial({dir / "talk.srt"}, found, reason));
    EXPECT_EQ(reason, "録音・録画のファイルがありません\r\n\r\nno recording (audio or video) among the files");
    for (const char* name : {"read.ogg", "read.txt", "read.ja.txt"})
        std::ofstream(dir / name) << "x";
    ASSERT_TRUE(FindMaterial({dir / "read.ogg"}, found, reason)) << reason;
    EXPECT_TRUE(found.Transcript) << "plain texts without subtitles are a transcript";
    EXPECT_EQ(found.English, dir / "read.txt");
    EXPECT_EQ(found.Japanese, dir / "read.ja.txt");
    ASSERT_TRUE(FindMaterial({dir / "talk.MP4"}, found, reason));
    EXPECT_FALSE(found.Transcript);
}

TEST(MaterialFiles, SubtitlesGivenAloneLookForTheirRecordingBesideThem)
{
    TTempFolder dir;
    for (const char* name : {"talk.srt", "talk.ja.vtt", "talk.mkv", "talk.webm", "talker.mp3", "other.lrc"})
        std::ofstream(dir / name) << "x";
    EXPECT_EQ(SubtitlesWithoutRecording({dir / "talk.srt", dir / "notes.pdf"}), std::vector<std::string>{dir / "talk.srt"});
    EXPECT_TRUE(SubtitlesWithoutRecording({dir / "talk.srt", dir / "talk.mkv"}).empty()) << "a recording among them";
    EXPECT_TRUE(SubtitlesWithoutRecording({dir / "notes.pdf"}).empty());
    EXPECT_EQ(RecordingBeside(dir / "talk.srt"), dir / "talk.mkv");
    EXPECT_EQ(RecordingBeside(dir / "talk.ja.vtt"), dir / "talk.mkv") << "the language is not part of the name";
    EXPECT_EQ(RecordingBeside(dir / "other.lrc"), "");
}
