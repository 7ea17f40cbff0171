#pragma once
#include <optional>
#include <string>
#include <vector>

#include "files/failure.h"
#include "lesson/series_folder.h"

namespace olve {

// A folder of recordings learnt one after another, and the episode being learnt.
struct TSeries {
    std::string Folder;
    std::vector<std::string> Episodes;
    std::size_t Place = 0;

    bool operator==(const TSeries&) const = default;
};

// A series as the library keeps it: its record file, and what the record holds.
struct TSeriesEntry {
    std::string Record;
    TSeries Series;
};

// Series records that the start page lists, newest first.
constexpr std::size_t MostSeries = 100;

// The record of the folder's series: <library>/series-<hash of the folder's path>.series,
// named by the program whatever the folder is called.
std::string SeriesRecordFor(const std::string& dataFolder, const std::string& folder);

// The series of the folder as it is now, keeping the place of the series before: on the
// same episode when it is still there, else on the same number, within the episodes.
TSeries RefreshedSeries(const TSeriesFolder& now, const std::optional<TSeries>& before);

// Every name is kept on one line of plain ASCII ("%XX" for anything else), so no name breaks
// the record. Fails with the reason when the record cannot be written.
std::optional<TFailure> WriteSeriesRecord(const std::string& record, const TSeries& series);
// None for a record that is not there, too big, or does not read back whole (a folder that is
// not absolute, a name that is no plain file name, no episodes): the record is the
// program's own, and a damaged one is not trusted in part.
std::optional<TSeries> ReadSeriesRecord(const std::string& record);

// The series records in the library, newest first, at most MostSeries; damaged ones left out.
std::vector<TSeriesEntry> ListSeries(const std::string& dataFolder);
// Removes a series record of the library, and nothing else: false for any other file.
bool RemoveSeriesRecord(const std::string& dataFolder, const std::string& record);

// "Podcast  3 / 12  ep3.mp3": the folder's name, the place, and the episode there, with
// control characters shown as "?".
std::string SeriesLabel(const TSeries& series);
bool SeriesFolderExists(const TSeries& series);
// A name as it is shown: control characters (a newline in a file name) as "?".
std::string ShownName(const std::string& name);

}  // namespace olve
