#pragma once
#include <optional>
#include <string>
#include <vector>

#include "files/failure.h"

namespace olve {

// The recordings of a folder, as the episodes of a series.
struct TSeriesFolder {
    // Absolute, with symbolic links resolved.
    std::string Folder;
    // File names in the folder (no "/"), in natural order.
    std::vector<std::string> Episodes;
    // More recordings were there than a series holds: the first ones in order are kept.
    bool Cut = false;
};

constexpr std::size_t MostEpisodes = 1000;
// Entries of a folder looked at, of any kind: a folder of a million files is not read whole.
constexpr std::size_t MostFolderEntries = 20000;

// The recordings directly in the folder (sub-folders are not entered), at most MostEpisodes
// of them in natural order. A symbolic link counts only when it leads to a regular file in
// the folder itself; names that would not survive a record are not taken. Fails (Japanese
// and English) when the folder cannot be read or holds no recording.
std::optional<TFailure> ReadSeriesFolder(const std::string& folder, TSeriesFolder& series);

// Whether the name is one a series keeps: a plain file name of the folder itself.
bool IsEpisodeName(const std::string& name);

// The recording of an episode as it is now: a regular file, directly in the folder or
// linked from there to a file in it. None, with the reason, when it is gone or has become
// something else.
std::optional<TFailure> EpisodeRecording(const std::string& folder, const std::string& name, std::string& recording);

}  // namespace olve
