#include "lesson/series_folder.h"

#include <filesystem>

#include "lesson/natural_order.h"
#include "titlemaker/file_kind.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t LongestName = 255;

// The file the entry is, when it is a regular file of the folder: itself, or the target of a
// link that stays in the folder.
bool IsFileOfFolder(const fs::path& folder, const fs::path& entry)
{
    std::error_code ec;
    const fs::file_status own = fs::symlink_status(entry, ec);
    if (ec)
        return false;
    if (fs::is_regular_file(own))
        return true;
    if (!fs::is_symlink(own))
        return false;
    const fs::path target = fs::canonical(entry, ec);
    return !ec && target.parent_path() == folder && fs::is_regular_file(target, ec);
}

TFailure FolderFailure(TFailureKind kind, std::string japanese, std::string english, const std::string& folder)
{
    return {kind, japanese, english, folder};
}

}  // namespace

bool IsEpisodeName(const std::string& name)
{
    return !name.empty() && name.size() <= LongestName && name != "." && name != ".." &&
           name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

std::optional<TFailure> ReadSeriesFolder(const std::string& folder, TSeriesFolder& series)
{
    std::error_code ec;
    const fs::path place = fs::canonical(fs::absolute(folder, ec), ec);
    if (ec || !fs::is_directory(place, ec))
        return FolderFailure(TFailureKind::Missing, "フォルダーが見つかりません", "the folder is not there", folder);
    fs::directory_iterator entries(place, fs::directory_options::skip_permission_denied, ec);
    if (ec)
        return FolderFailure(TFailureKind::Failed, "フォルダーを読めません", "the folder cannot be read: " + ec.message(),
                             folder);
    series = {place.string(), {}, false};
    std::size_t looked = 0;
    for (; entries != fs::directory_iterator() && looked < MostFolderEntries; entries.increment(ec), ++looked) {
        const std::string name = entries->path().filename().string();
        if (IsEpisodeName(name) && FileKindOf(name) == TFileKind::Recording && IsFileOfFolder(place, entries->path()))
            series.Episodes.push_back(name);
        if (ec)
            break;
    }
    SortNaturally(series.Episodes);
    series.Cut = looked == MostFolderEntries || series.Episodes.size() > MostEpisodes;
    if (series.Episodes.size() > MostEpisodes)
        series.Episodes.resize(MostEpisodes);
    if (series.Episodes.empty())
        return FolderFailure(TFailureKind::Missing, "このフォルダーには録音・録画がありません",
                             "the folder holds no recording", folder);
    return std::nullopt;
}

std::optional<TFailure> EpisodeRecording(const std::string& folder, const std::string& name, std::string& recording)
{
    const fs::path path = fs::path(folder) / name;
    if (!IsEpisodeName(name) || !IsFileOfFolder(folder, path))
        return TFailure{TFailureKind::Missing, "エピソードの録音・録画が見つかりません",
                        "the episode's recording is not there", path.string()};
    recording = path.string();
    return std::nullopt;
}

}  // namespace olve
