#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "support/temp_folder.h"
#include "titlemaker/subtitle_candidates.h"

using namespace olve;
namespace fs = std::filesystem;

TEST(SubtitleCandidates, NamesMostLikeTheRecordingComeFirst)
{
    EXPECT_GT(NameLikeness("Show.S01E02.720p.mkv", "show.s01e02.en.srt"), NameLikeness("Show.S01E02.720p.mkv", "show.s01e03.srt"));
    EXPECT_GT(NameLikeness("Show.S01E02.720p.mkv", "show.s01e03.srt"), NameLikeness("Show.S01E02.720p.mkv", "notes.txt"));
    EXPECT_GT(NameLikeness("Lecture_Two.mp4", "lecture-two (fixed).vtt"), NameLikeness("Lecture_Two.mp4", "lecture-one.vtt"));
    EXPECT_DOUBLE_EQ(NameLikeness("talk.mp3", "talk.srt"), 1.0);
    EXPECT_DOUBLE_EQ(NameLikeness("talk.mp3", "....srt"), 0.0);

    TTempFolder dir;
    for (const char* name : {"Show.S01E02.720p.mkv", "show.s01e03.srt", "show.s01e02.en.srt", "show.s01e02.ja.srt",
                             "readme.txt", "poster.jpg", "Show.S01E02.vtt"})
        std::ofstream(dir / name) << "x";
    fs::create_directory(dir / "subs.srt");
    const std::vector<std::string> ranked = RankedSubtitleFiles(dir / "Show.S01E02.720p.mkv");
    std::vector<std::string> names;
    for (const std::string& path : ranked) {
        EXPECT_EQ(fs::path(path).parent_path(), dir.Path()) << path;
        names.push_back(fs::path(path).filename().string());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Show.S01E02.vtt", "show.s01e02.en.srt", "show.s01e03.srt", "readme.txt",
                                               "show.s01e02.ja.srt"}));
}

TEST(SubtitleCandidates, OnlyFilesOfTheFolderItselfAreOfferedAndTheListingIsBounded)
{
    TTempFolder dir;
    fs::create_directories(dir / "film");
    fs::create_directories(dir / "elsewhere");
    std::ofstream(dir / "film/film.mp4") << "x";
    std::ofstream(dir / "elsewhere/film.srt") << "secret";
    fs::create_symlink(dir / "elsewhere/film.srt", dir / "film/film.srt");
    fs::create_symlink(dir / "film/nowhere.srt", dir / "film/dangling.srt");
    ASSERT_EQ(mkfifo((dir / "film/film.vtt").c_str(), 0600), 0) << "a reader would wait on it for ever";
    std::ofstream(dir / "film/film.en.srt") << "x";
    EXPECT_EQ(RankedSubtitleFiles(dir / "film/film.mp4"), (std::vector<std::string>{dir / "film/film.en.srt"}));
    EXPECT_TRUE(RankedSubtitleFiles(dir / "no such folder/film.mp4").empty());

    for (std::size_t i = 0; i < MostFolderEntriesLooked + 100; ++i)
        std::ofstream(dir / ("film/part" + std::to_string(i) + ".srt")) << "x";
    const std::vector<std::string> many = RankedSubtitleFiles(dir / "film/film.mp4");
    EXPECT_EQ(many.size(), MostCandidatesOffered);
}
