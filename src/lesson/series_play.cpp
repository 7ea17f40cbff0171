#include "lesson/series_play.h"

#include <filesystem>
#include <utility>

namespace olve {

namespace fs = std::filesystem;

namespace {

std::string SamePlace(const std::string& path)
{
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(path, ec), ec);
    return ec ? path : canonical.string();
}

}  // namespace

TSeriesPlay::TSeriesPlay(std::string dataFolder) : FDataFolder(std::move(dataFolder))
{
}

std::optional<TFailure> TSeriesPlay::OpenFolder(const std::string& folder, std::string& recording)
{
    return Open(folder, SeriesRecordFor(FDataFolder, folder), recording);
}

std::optional<TFailure> TSeriesPlay::OpenRecord(const std::string& record, std::string& recording)
{
    const std::optional<TSeries> kept = ReadSeriesRecord(record);
    if (!kept)
        return TFailure{TFailureKind::Damaged, "シリーズの記録が読めません", "the series' record cannot be read", record};
    return Open(kept->Folder, record, recording);
}

std::optional<TFailure> TSeriesPlay::Open(const std::string& folder, const std::string& record, std::string& recording)
{
    TSeriesFolder now;
    if (std::optional<TFailure> failure = ReadSeriesFolder(folder, now))
        return failure;
    if (now.Cut)
        FNotice = TFailure{TFailureKind::Refused,
                           "録音・録画が多すぎるので、名前の順で最初の" + std::to_string(now.Episodes.size()) + "個をシリーズにします",
                           "too many recordings: the first " + std::to_string(now.Episodes.size()) +
                               " in name order make the series",
                           folder};
    const TSeries series = RefreshedSeries(now, ReadSeriesRecord(record));
    if (std::optional<TFailure> failure = WriteSeriesRecord(record, series))
        return failure;
    FCurrent = TSeriesEntry{record, series};
    return OpenPlace(recording);
}

std::optional<TFailure> TSeriesPlay::OpenPlace(std::string& recording)
{
    const TSeries& series = FCurrent->Series;
    if (std::optional<TFailure> failure = EpisodeRecording(series.Folder, series.Episodes[series.Place], recording))
        return failure;
    FAskedRecording = recording;
    FPlaying = false;
    return std::nullopt;
}

void TSeriesPlay::TitleOpened(const std::string& recording)
{
    FPlaying = FCurrent && !FAskedRecording.empty() && SamePlace(recording) == SamePlace(FAskedRecording);
    if (!FPlaying)
        FCurrent.reset();
    FAskedRecording.clear();
}

std::optional<std::string> TSeriesPlay::NextEpisode() const
{
    if (!FPlaying || FCurrent->Series.Place + 1 >= FCurrent->Series.Episodes.size())
        return std::nullopt;
    return FCurrent->Series.Episodes[FCurrent->Series.Place + 1];
}

std::optional<TFailure> TSeriesPlay::OpenNext(std::string& recording)
{
    if (!NextEpisode())
        return TFailure{TFailureKind::Missing, "次のエピソードはありません", "there is no next episode"};
    TSeries moved = FCurrent->Series;
    ++moved.Place;
    if (std::optional<TFailure> failure = WriteSeriesRecord(FCurrent->Record, moved))
        return failure;
    FCurrent->Series = std::move(moved);
    return OpenPlace(recording);
}

std::string NextEpisodeQuestion(const std::string& name)
{
    return "次のエピソード Next episode: " + ShownName(name);
}

}  // namespace olve
