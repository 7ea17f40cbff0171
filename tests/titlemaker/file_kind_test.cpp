#include "titlemaker/file_kind.h"

#include <gtest/gtest.h>

#include <fstream>

#include "support/temp_folder.h"
#include "titlemaker/material_files.h"

using namespace olve;

TEST(FileKind, TheExtensionAloneDecidesInAnyLetterCase)
{
    EXPECT_EQ(FileKindOf("/m/Lesson.QZW"), TFileKind::Package);
    EXPECT_EQ(FileKindOf("talk.Mp3"), TFileKind::Recording);
    EXPECT_EQ(FileKindOf("film.m2ts"), TFileKind::Recording);
    EXPECT_EQ(FileKindOf("talk.ja.SRT"), TFileKind::Subtitles);
    EXPECT_EQ(FileKindOf("talk.lrc"), TFileKind::Subtitles);
    EXPECT_EQ(FileKindOf("read.txt"), TFileKind::Transcript);
    // The folders' names and what comes before the last dot count for nothing.
    EXPECT_EQ(FileKindOf("/a.qzw/notes.pdf"), TFileKind::Other);
    EXPECT_EQ(FileKindOf("/a.mp3/read.txt"), TFileKind::Transcript);
    EXPECT_EQ(FileKindOf("lesson.qzw.exe"), TFileKind::Other);
    EXPECT_EQ(FileKindOf("qzw"), TFileKind::Other);
    EXPECT_EQ(FileKindOf(".qzw"), TFileKind::Other) << "a hidden file's name is no extension";
    EXPECT_EQ(FileKindOf(""), TFileKind::Other);
}

TEST(FileKind, JapaneseIsJaJpnOrJpWithAnyRegionAndEnglishIsEnOrEng)
{
    for (const char* code : {"ja", "JA", "jpn", "jp", "Jp", "ja-JP", "ja_JP"})
        EXPECT_EQ(NamedLanguageOf(code), TNamedLanguage::Japanese) << code;
    for (const char* code : {"en", "eng", "EN", "en-US", "en_GB"})
        EXPECT_EQ(NamedLanguageOf(code), TNamedLanguage::English) << code;
    for (const char* code : {"fr", "jpx", "j", "jav", "enm", "e"})
        EXPECT_EQ(NamedLanguageOf(code), TNamedLanguage::Other) << code;
    for (const char* code : {"", "-ja", "_"})
        EXPECT_EQ(NamedLanguageOf(code), TNamedLanguage::Unknown) << code;
}

// The material's subtitles follow the same rule as the recording's tracks.
TEST(FileKind, SubtitleNamesSortByTheSameLanguageRule)
{
    TTempFolder dir;
    for (const char* name : {"talk.mp4", "talk.JP.srt", "talk.eng.srt", "talk.de.srt"})
        std::ofstream(dir / name) << "x";
    TMaterialFiles found;
    std::string reason;
    ASSERT_TRUE(FindMaterial({dir / "talk.mp4"}, found, reason)) << reason;
    EXPECT_EQ(found.Japanese, dir / "talk.JP.srt");
    EXPECT_EQ(found.English, dir / "talk.eng.srt");
    EXPECT_EQ(found.Others, std::vector<std::string>{dir / "talk.de.srt"});
}
