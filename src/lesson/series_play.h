#pragma once
#include <optional>
#include <string>
#include <utility>

#include "files/failure.h"
#include "lesson/series_record.h"

namespace olve {

// The series being learnt, without a window: which recording to open for it, whether the
// title that opened is its episode, and the episode after it. The place is kept in the
// series' record in the library of the user's data folder.
class TSeriesPlay {
public:
    explicit TSeriesPlay(std::string dataFolder);

    // Makes the folder a series, or brings its record up to date with the folder, and gives
    // the recording of the episode at its place.
    std::optional<TFailure> OpenFolder(const std::string& folder, std::string& recording);
    // The series a record keeps, with its folder read again, likewise.
    std::optional<TFailure> OpenRecord(const std::string& record, std::string& recording);
    // A title opened: the series goes on when its recording is the episode asked for, and is
    // left otherwise.
    void TitleOpened(const std::string& recording);
    bool Playing() const { return FPlaying; }

    // The name of the episode after the one open; none at the series' end or without a series.
    std::optional<std::string> NextEpisode() const;
    // Moves the place on and gives the next episode's recording; the place is kept.
    std::optional<TFailure> OpenNext(std::string& recording);

    const std::optional<TSeriesEntry>& Current() const { return FCurrent; }
    // What the learner is to know of the series just opened although it opened (a folder
    // with more recordings than a series holds), once.
    std::optional<TFailure> TakeNotice() { return std::exchange(FNotice, std::nullopt); }

private:
    std::optional<TFailure> Open(const std::string& folder, const std::string& record, std::string& recording);
    std::optional<TFailure> OpenPlace(std::string& recording);

    std::string FDataFolder;
    std::optional<TSeriesEntry> FCurrent;
    // The recording asked for, until a title opens.
    std::string FAskedRecording;
    bool FPlaying = false;
    std::optional<TFailure> FNotice;
};

// The question at the end of an episode: "次のエピソード Next episode: <name>", the name as shown.
std::string NextEpisodeQuestion(const std::string& name);

}  // namespace olve
