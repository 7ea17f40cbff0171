#include "lesson/series_record.h"

#include <algorithm>
#include <filesystem>
#include <regex>

#include "codec/comma_text.h"
#include "codec/data_file.h"
#include "codec/percent_text.h"
#include "codec/string_list.h"
#include "titlemaker/library_title.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

constexpr std::uintmax_t LargestRecord = 2 * 1024 * 1024;
constexpr std::size_t LongestFolder = 4096;
constexpr const char* SeriesSection = "Series";
constexpr const char* EpisodesSection = "Episodes";
constexpr const char* FolderKey = "Folder";
constexpr const char* PlaceKey = "Place";
constexpr const char* RecordPrefix = "series-";
constexpr const char* RecordExtension = ".series";

bool IsPlainByte(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '/' || c == '.' ||
           c == '_' || c == '-';
}

std::string Encoded(const std::string& bytes)
{
    return PercentEncoded(bytes, IsPlainByte);
}

bool IsRecordName(const std::string& name)
{
    static const std::regex pattern("series-[0-9a-f]{12}\\.series");
    return std::regex_match(name, pattern);
}

bool IsReadableRecord(const std::string& record)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(record, ec);
    return !ec && fs::is_regular_file(status) && fs::file_size(record, ec) <= LargestRecord && !ec;
}

std::optional<std::string> DecodedFolder(const std::string& text)
{
    std::string folder;
    if (!PercentDecoded(text, folder) || folder.empty() || folder.front() != '/' || folder.size() > LongestFolder ||
        folder.find('\0') != std::string::npos)
        return std::nullopt;
    return folder;
}

bool ReadEpisodes(const TDataFile& file, std::vector<std::string>& episodes)
{
    TStringList lines;
    file.ReadSection(EpisodesSection, lines);
    if (lines.Count() == 0 || static_cast<std::size_t>(lines.Count()) > MostEpisodes)
        return false;
    for (int i = 0; i < lines.Count(); ++i) {
        std::string name;
        if (!PercentDecoded(ValueOf(lines[i]), name) || !IsEpisodeName(name))
            return false;
        episodes.push_back(std::move(name));
    }
    return true;
}

}  // namespace

std::string ShownName(const std::string& text)
{
    std::string shown = text;
    std::replace_if(shown.begin(), shown.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }, '?');
    return shown;
}

std::string SeriesRecordFor(const std::string& dataFolder, const std::string& folder)
{
    return (fs::path(LibraryFolder(dataFolder)) / (RecordPrefix + LibraryPathHash(folder) + RecordExtension)).string();
}

TSeries RefreshedSeries(const TSeriesFolder& now, const std::optional<TSeries>& before)
{
    TSeries series{now.Folder, now.Episodes, 0};
    if (!before || before->Episodes.empty() || now.Episodes.empty())
        return series;
    const std::string& learnt = before->Episodes[std::min(before->Place, before->Episodes.size() - 1)];
    const auto same = std::find(now.Episodes.begin(), now.Episodes.end(), learnt);
    series.Place = same != now.Episodes.end() ? static_cast<std::size_t>(same - now.Episodes.begin())
                                              : std::min(before->Place, now.Episodes.size() - 1);
    return series;
}

std::optional<TFailure> WriteSeriesRecord(const std::string& record, const TSeries& series)
{
    std::error_code ec;
    fs::create_directories(fs::path(record).parent_path(), ec);
    if (fs::exists(fs::symlink_status(record, ec)) && !IsReadableRecord(record))
        return TFailure{TFailureKind::Refused, "普通のファイルではないので使いません", "not a regular file: it is left as it is",
                        record, TSubjectPlace::Above};
    // Written whole each time: what an earlier record held is not kept.
    fs::remove(record, ec);
    TDataFile file(record);
    file.WriteString(SeriesSection, FolderKey, Encoded(series.Folder));
    file.WriteInteger(SeriesSection, PlaceKey, static_cast<int>(series.Place));
    for (std::size_t i = 0; i < series.Episodes.size(); ++i)
        file.WriteString(EpisodesSection, "E" + std::to_string(i + 1), Encoded(series.Episodes[i]));
    file.Close();
    if (!fs::is_regular_file(record, ec))
        return TFailure{TFailureKind::Unwritable, "シリーズの記録を書けません", "the series' record cannot be written", record};
    return std::nullopt;
}

std::optional<TSeries> ReadSeriesRecord(const std::string& record)
{
    if (!IsReadableRecord(record))
        return std::nullopt;
    TDataFile file(record);
    file.ReadOnly = true;
    TSeries series;
    const std::optional<std::string> folder = DecodedFolder(file.ReadString(SeriesSection, FolderKey, ""));
    int place = 0;
    const bool whole = folder && ParseDecimal(file.ReadString(SeriesSection, PlaceKey, ""), place) && place >= 0 &&
                       ReadEpisodes(file, series.Episodes);
    file.Close();
    if (!whole)
        return std::nullopt;
    series.Folder = *folder;
    series.Place = std::min(static_cast<std::size_t>(place), series.Episodes.size() - 1);
    return series;
}

std::vector<TSeriesEntry> ListSeries(const std::string& dataFolder)
{
    std::vector<std::pair<fs::file_time_type, std::string>> records;
    std::error_code ec;
    fs::directory_iterator entries(LibraryFolder(dataFolder), ec);
    for (std::size_t looked = 0; !ec && entries != fs::directory_iterator() && looked < MostFolderEntries;
         entries.increment(ec), ++looked) {
        const fs::path& path = entries->path();
        if (IsRecordName(path.filename().string()) && IsReadableRecord(path.string()))
            records.emplace_back(fs::last_write_time(path, ec), path.string());
    }
    std::sort(records.begin(), records.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<TSeriesEntry> list;
    for (const auto& [time, record] : records) {
        if (list.size() == MostSeries)
            break;
        if (std::optional<TSeries> series = ReadSeriesRecord(record))
            list.push_back({record, std::move(*series)});
    }
    return list;
}

bool RemoveSeriesRecord(const std::string& dataFolder, const std::string& record)
{
    const fs::path path(record);
    std::error_code ec;
    if (!IsRecordName(path.filename().string()) || !fs::equivalent(path.parent_path(), LibraryFolder(dataFolder), ec) ||
        !IsReadableRecord(record))
        return false;
    return fs::remove(path, ec);
}

std::string SeriesLabel(const TSeries& series)
{
    const std::string name = fs::path(series.Folder).filename().string();
    const std::string count = std::to_string(series.Place + 1) + " / " + std::to_string(series.Episodes.size());
    const std::string episode =
        series.Episodes.empty() ? std::string() : series.Episodes[std::min(series.Place, series.Episodes.size() - 1)];
    return ShownName(name) + "  " + count + "  " + ShownName(episode);
}

bool SeriesFolderExists(const TSeries& series)
{
    std::error_code ec;
    return fs::is_directory(series.Folder, ec);
}

}  // namespace olve
