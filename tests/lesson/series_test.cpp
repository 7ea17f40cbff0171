#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "codec/data_file.h"
#include "lesson/natural_order.h"
#include "lesson/opening_choice.h"
#include "lesson/series_folder.h"
#include "lesson/series_play.h"
#include "lesson/series_record.h"
#include "support/temp_folder.h"

using namespace olve;
namespace fs = std::filesystem;

namespace {

void Touch(const fs::path& path, const std::string& content = "x")
{
    std::ofstream(path, std::ios::binary) << content;
}

std::vector<std::string> Sorted(std::vector<std::string> names)
{
    SortNaturally(names);
    return names;
}

std::vector<std::string> FolderEpisodes(const std::string& folder)
{
    TSeriesFolder series;
    const std::optional<TFailure> failure = ReadSeriesFolder(folder, series);
    EXPECT_FALSE(failure) << (failure ? failure->English : "");
    return series.Episodes;
}

}  // namespace

TEST(NaturalOrder, NumbersCompareAsNumbersAndLettersWithoutCase)
{
    EXPECT_EQ(Sorted({"ep10.mp3", "ep2.mp3", "Ep1.mp3", "ep1b.mp3", "ep.mp3"}),
              (std::vector<std::string>{"ep.mp3", "Ep1.mp3", "ep1b.mp3", "ep2.mp3", "ep10.mp3"}));
    // Leading zeros do not change a number; equal names still have one order, whatever order
    // the folder gave them in.
    EXPECT_EQ(Sorted({"ep010.mp3", "ep9.mp3", "ep01.mp3", "ep1.mp3"}), Sorted({"ep1.mp3", "ep01.mp3", "ep9.mp3", "ep010.mp3"}));
    EXPECT_TRUE(NaturallyBefore("ep9.mp3", "ep010.mp3"));
    EXPECT_NE(CompareNaturally("ep01", "ep1"), 0);
    // Numbers longer than any integer, and disc/track pairs.
    EXPECT_TRUE(NaturallyBefore("part99999999999999999999999.mp3", "part100000000000000000000000.mp3"));
    EXPECT_EQ(Sorted({"d2t1", "d10t1", "d2t10", "d2t2"}), (std::vector<std::string>{"d2t1", "d2t2", "d2t10", "d10t1"}));
}

TEST(NaturalOrder, UnicodeNamesFoldTheirCaseAndBrokenBytesStillOrder)
{
    EXPECT_EQ(Sorted({"Épisode 10.mp3", "épisode 9.mp3"}), (std::vector<std::string>{"épisode 9.mp3", "Épisode 10.mp3"}));
    EXPECT_EQ(Sorted({"第10話.mp4", "第2話.mp4", "第1話.mp4"}), (std::vector<std::string>{"第1話.mp4", "第2話.mp4", "第10話.mp4"}));
    const std::string broken = "ep\xff\xfe" "2.mp3";
    std::vector<std::string> names{broken, "ep\xff\xfe" "10.mp3", broken};
    SortNaturally(names);
    EXPECT_EQ(names.front(), broken);
    EXPECT_EQ(names.back(), "ep\xff\xfe" "10.mp3");
}

TEST(SeriesFolder, TakesTheFolderOwnRecordingsInOrderAndNothingBelowOrOutside)
{
    TTempFolder temp, outside;
    const fs::path folder = temp.Path() / "Podcast";
    fs::create_directories(folder / "extras");
    for (const char* name : {"ep10.mp3", "ep2.MP3", "ep1.ogg", "ep1.srt", "notes.txt", "cover.jpg"})
        Touch(folder / name);
    Touch(folder / "extras" / "bonus.mp3");
    Touch(outside / "secret.mp3");
    fs::create_directory_symlink(temp.Path(), folder / "up.mp3");
    fs::create_symlink(outside / "secret.mp3", folder / "leak.mp3");
    fs::create_symlink("ep10.mp3", folder / "ep11.mp3");
    fs::create_symlink(folder / "gone.mp3", folder / "dangling.mp3");
    ASSERT_EQ(mkfifo((folder / "pipe.mp3").c_str(), 0600), 0);
    EXPECT_EQ(FolderEpisodes(folder.string()), (std::vector<std::string>{"ep1.ogg", "ep2.MP3", "ep10.mp3", "ep11.mp3"}));

    std::string recording;
    EXPECT_FALSE(EpisodeRecording(fs::canonical(folder).string(), "ep2.MP3", recording));
    EXPECT_EQ(recording, (fs::canonical(folder) / "ep2.MP3").string());
    for (const char* hostile : {"leak.mp3", "../Podcast/ep1.ogg", "..", "extras/bonus.mp3", "gone.mp3", "pipe.mp3"})
        EXPECT_TRUE(EpisodeRecording(fs::canonical(folder).string(), hostile, recording)) << hostile;
}

TEST(SeriesFolder, NamesOfAnyBytesAndThousandsOfFilesAreBounded)
{
    TTempFolder temp;
    const fs::path folder = temp.Path() / "a\nfolder [Series]";
    fs::create_directory(folder);
    const std::string newline = "line\nbreak=1.mp3", longName = std::string(250, 'x') + ".mp3";
    Touch(folder / newline);
    Touch(folder / longName);
    Touch(folder / "..mp3");
    EXPECT_EQ(FolderEpisodes(folder.string()), (std::vector<std::string>{"..mp3", "line\nbreak=1.mp3", longName}));

    for (int i = 1; i <= static_cast<int>(MostEpisodes) + 200; ++i)
        Touch(folder / ("ep" + std::to_string(i) + ".mp3"), "");
    TSeriesFolder series;
    ASSERT_FALSE(ReadSeriesFolder(folder.string(), series));
    EXPECT_TRUE(series.Cut);
    ASSERT_EQ(series.Episodes.size(), MostEpisodes);
    EXPECT_EQ(series.Episodes.back(), "ep999.mp3");
    TTempFolder data;
    TSeriesPlay play(data.Path().string());
    std::string recording;
    ASSERT_FALSE(play.OpenFolder(folder.string(), recording));
    EXPECT_EQ(play.Current()->Series.Episodes.size(), MostEpisodes);
    const std::optional<TFailure> told = play.TakeNotice();
    ASSERT_TRUE(told) << "the learner is told that recordings were left out";
    EXPECT_NE(told->English.find("first 1000"), std::string::npos) << told->English;
    EXPECT_FALSE(play.TakeNotice());

    EXPECT_EQ(ReadSeriesFolder((temp.Path() / "none").string(), series)->Kind, TFailureKind::Missing);
    fs::create_directory(temp.Path() / "empty");
    Touch(temp.Path() / "empty" / "talk.srt");
    const std::optional<TFailure> empty = ReadSeriesFolder((temp.Path() / "empty").string(), series);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->Japanese.empty());
    EXPECT_FALSE(empty->English.empty());
}

TEST(SeriesRecord, RoundTripsAnyNameUnderANameOfItsOwn)
{
    TTempFolder data;
    const std::string folder = "/media/pod\ncast/..x/%41 [Episodes]=\tx";
    const TSeries series{folder, {"line\nbreak=1.mp3", "E2=%zz.mp3", std::string(255, '\xe3'), "[Series].mp3"}, 2};
    const std::string record = SeriesRecordFor(data.Path().string(), folder);
    EXPECT_EQ(fs::path(record).parent_path(), data.Path() / "olveplayer" / "library");
    EXPECT_EQ(fs::path(record).filename().string().size(), std::string("series-0123456789ab.series").size());
    EXPECT_EQ(record, SeriesRecordFor(data.Path().string(), folder));
    EXPECT_NE(record, SeriesRecordFor(data.Path().string(), "/media/podcast"));

    ASSERT_FALSE(WriteSeriesRecord(record, series));
    EXPECT_EQ(ReadSeriesRecord(record), series);
    EXPECT_EQ(fs::directory_iterator(fs::path(record).parent_path())->path(), record);

    const std::vector<TSeriesEntry> listed = ListSeries(data.Path().string());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].Series, series);
    EXPECT_EQ(SeriesLabel(listed[0].Series), "%41 [Episodes]=?x  3 / 4  " + std::string(255, '\xe3'));
    EXPECT_FALSE(SeriesFolderExists(series));
}

TEST(SeriesRecord, DamagedOrForeignRecordsAreNotTrustedNorRemoved)
{
    TTempFolder data;
    const std::string library = (data.Path() / "olveplayer" / "library").string();
    const std::string record = SeriesRecordFor(data.Path().string(), "/m/pod");
    const auto tampered = [&](const std::string& folder, const std::string& place, const std::string& episode) {
        fs::remove(record);
        EXPECT_FALSE(WriteSeriesRecord(record, TSeries{"/m/pod", {"a.mp3"}, 0}));
        TDataFile file(record);
        file.WriteString("Series", "Folder", folder);
        file.WriteString("Series", "Place", place);
        file.WriteString("Episodes", "E1", episode);
        file.Close();
        return ReadSeriesRecord(record);
    };
    EXPECT_EQ(tampered("/m/pod", "0", "b.mp3")->Episodes, std::vector<std::string>{"b.mp3"});
    EXPECT_EQ(tampered("/m/pod", "7", "b.mp3")->Place, 0u);
    EXPECT_FALSE(tampered("/m/pod", "0", "..%2Fsecret.mp3"));
    EXPECT_FALSE(tampered("/m/pod", "0", ".."));
    EXPECT_FALSE(tampered("/m/pod", "0", "a b.mp3"));
    EXPECT_FALSE(tampered("/m/pod", "0", "a%00.mp3"));
    EXPECT_FALSE(tampered("relative/pod", "0", "a.mp3"));
    EXPECT_FALSE(tampered("/m/pod", "-1", "a.mp3"));
    EXPECT_FALSE(tampered("/m/pod", "one", "a.mp3"));

    // A record that is too big is not read; a link in its place is neither read nor written over.
    fs::remove(record);
    std::ofstream(record) << std::string(3 * 1024 * 1024, 'x');
    EXPECT_FALSE(ReadSeriesRecord(record));
    fs::remove(record);
    TTempFolder elsewhere;
    const fs::path target = elsewhere.Path() / "mine.txt";
    Touch(target, "the user's own");
    fs::create_symlink(target, record);
    EXPECT_FALSE(ReadSeriesRecord(record));
    EXPECT_TRUE(WriteSeriesRecord(record, TSeries{"/m/pod", {"a.mp3"}, 0}));
    EXPECT_FALSE(RemoveSeriesRecord(data.Path().string(), record));
    EXPECT_EQ(fs::file_size(target), 14u);

    // Only the library's own records are removed.
    Touch(fs::path(library) / "talk-0123456789ab.qzw");
    EXPECT_FALSE(RemoveSeriesRecord(data.Path().string(), library + "/talk-0123456789ab.qzw"));
    Touch(elsewhere.Path() / "series-0123456789ab.series");
    EXPECT_FALSE(RemoveSeriesRecord(data.Path().string(), (elsewhere.Path() / "series-0123456789ab.series").string()));
    EXPECT_TRUE(fs::exists(elsewhere.Path() / "series-0123456789ab.series"));
    const std::string own = SeriesRecordFor(data.Path().string(), "/m/other");
    ASSERT_FALSE(WriteSeriesRecord(own, TSeries{"/m/other", {"a.mp3"}, 0}));
    EXPECT_TRUE(RemoveSeriesRecord(data.Path().string(), own));
    EXPECT_FALSE(fs::exists(own));
}

TEST(SeriesPlay, OffersTheNextEpisodeAndKeepsThePlace)
{
    TTempFolder data, media;
    const fs::path folder = fs::canonical(media.Path()) / "Course";
    fs::create_directory(folder);
    for (const char* name : {"ep10.mp3", "ep2.mp3", "ep1.mp3"})
        Touch(folder / name);

    TSeriesPlay play(data.Path().string());
    std::string recording;
    ASSERT_FALSE(play.OpenFolder(folder.string(), recording));
    EXPECT_EQ(recording, (folder / "ep1.mp3").string());
    EXPECT_FALSE(play.NextEpisode());  // until its title has opened
    play.TitleOpened(recording);
    EXPECT_TRUE(play.Playing());
    EXPECT_EQ(play.NextEpisode(), "ep2.mp3");
    EXPECT_EQ(NextEpisodeQuestion(*play.NextEpisode()), "次のエピソード Next episode: ep2.mp3");

    ASSERT_FALSE(play.OpenNext(recording));
    EXPECT_EQ(recording, (folder / "ep2.mp3").string());
    play.TitleOpened(recording);
    EXPECT_EQ(play.NextEpisode(), "ep10.mp3");

    // The place is kept: the start page's entry opens where the learner was, and an episode
    // added before it moves the number, not the episode.
    Touch(folder / "ep0.mp3");
    TSeriesPlay later(data.Path().string());
    const std::vector<TSeriesEntry> listed = ListSeries(data.Path().string());
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(SeriesLabel(listed[0].Series), "Course  2 / 3  ep2.mp3");
    ASSERT_FALSE(later.OpenRecord(listed[0].Record, recording));
    EXPECT_EQ(recording, (folder / "ep2.mp3").string());
    EXPECT_EQ(SeriesLabel(later.Current()->Series), "Course  3 / 4  ep2.mp3");

    // Another title opening leaves the series; at its last episode there is no next.
    later.TitleOpened((folder / "ep1.mp3").string());
    EXPECT_FALSE(later.Playing());
    EXPECT_FALSE(later.NextEpisode());
    EXPECT_TRUE(later.OpenNext(recording));
    ASSERT_FALSE(play.OpenNext(recording));
    play.TitleOpened(recording);
    EXPECT_FALSE(play.NextEpisode());
}

TEST(SeriesPlay, AGoneFolderOrEpisodeIsToldNotOpened)
{
    TTempFolder data, media;
    const fs::path folder = fs::canonical(media.Path());
    Touch(folder / "ep1.mp3");
    Touch(folder / "ep2.mp3");
    TSeriesPlay play(data.Path().string());
    std::string recording;
    ASSERT_FALSE(play.OpenFolder(folder.string(), recording));
    play.TitleOpened(recording);
    fs::remove(folder / "ep2.mp3");
    fs::create_symlink("/etc/passwd", folder / "ep2.mp3");
    const std::optional<TFailure> gone = play.OpenNext(recording);
    ASSERT_TRUE(gone);
    EXPECT_EQ(gone->Kind, TFailureKind::Missing);
    EXPECT_EQ(gone->Subject, (folder / "ep2.mp3").string());

    const std::string record = play.Current()->Record;
    fs::remove_all(folder);
    const std::optional<TFailure> missing = TSeriesPlay(data.Path().string()).OpenRecord(record, recording);
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->Kind, TFailureKind::Missing);
    EXPECT_TRUE(TSeriesPlay(data.Path().string()).OpenRecord(data / "nothing.series", recording));
}

TEST(OpeningChoice, AFolderOpensAsASeriesUnlessAPackageIsGiven)
{
    TTempFolder temp;
    TOpeningChoice choice = ChooseOpening({temp / "talk.mp3", temp.Path().string()});
    EXPECT_EQ(choice.What, TOpeningChoice::TWhat::Series);
    EXPECT_EQ(choice.Folder, temp.Path().string());
    EXPECT_EQ(ChooseOpening({temp.Path().string(), temp / "a.qzw"}).What, TOpeningChoice::TWhat::Package);
    EXPECT_TRUE(IsOpenableAlone(temp.Path().string()));
}
