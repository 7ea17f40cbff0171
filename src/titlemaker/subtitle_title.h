#pragma once
#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "align/align_progress.h"
#include "align/subtitle_sync.h"
#include "subtitles/subtitle_cue.h"
#include "titlemaker/title_settings.h"

namespace olve {

class TStagingFolder;

// What a title is made of. Paths are local (UTF-8); texts are UTF-8.
struct TSubtitleTitleRequest {
    std::string MediaPath;
    // The recording's length as the player measures it.
    std::int64_t MediaLengthMs = 0;
    std::string SubtitlePath;
    // Cues made elsewhere (from a transcript): used instead of reading SubtitlePath, which then
    // only names them in messages; likewise for the translation.
    std::optional<TSubtitleFile> Subtitles;
    std::optional<TSubtitleFile> Translation;
    // Optional: subtitles whose cues give the sub texts.
    std::string TranslationPath;
    // Optional: a folder of pictures named after cue numbers.
    std::string PicturesFolder;
    // Empty: the title the subtitle file names, else the recording's file name.
    std::string TitleName;
    // Empty: derived from the recording's bytes.
    std::string Code;
    std::string PackagePath;
    TTitleLayout Layout = TTitleLayout::Beside;
    // The package refers to the recording where it is (by its absolute path, with what
    // tells a replaced file) instead of carrying a copy.
    bool RecordingInPlace = false;
    // Cues that split sentences are joined into one card per sentence (see JoinSentences).
    bool Sentences = false;
    // The cues are laid over the recording's speech before the cards are made, and the
    // translation's with them when it is timed as they were written; false keeps the times as
    // written. Cues given (aligned from a transcript) lie over the speech already.
    bool Sync = true;
    // The sync found before for these very files: applied without searching again, so that a
    // title made again is the same.
    std::optional<TSubtitleSync> KnownSync;
};

struct TSubtitleTitleResult {
    std::string TitleName;
    std::string Code;
    int Cues = 0;
    int Cards = 0;
    int SubTexts = 0;
    int Pictures = 0;
    // The package's entries, as local relative paths, in package order.
    std::vector<std::string> Entries;
    // What was passed over, changed or guessed on the way (English, one line each).
    std::vector<std::string> Notes;
    // What the sync found; none when it did not run.
    std::optional<TSubtitleSync> Sync;
};

// Makes a title package that the player installs and opens: the title file (one card per
// cue, carrying its words' times where the subtitles time words, and a first VCD card over
// the whole recording), below "vcd\<code>\" the recording and a "vcd.ini" whose "code" is
// the title's code and whose "files" section names the recording relative to the program's
// folder (or, with RecordingInPlace, no recording and a "vcd.ini" that names it where it is,
// with a "recording" section that the title session checks it by), and the cue pictures in the title folder's "pic" folder. False with a reason (English) when
// nothing could be made; the package is then not written.
// laidOut, when given, is an empty staging folder that keeps the package's files laid out
// as installing the package lays them out below a program's folder, so that the title
// opens from there without unpacking it.
// The sync reads the whole recording: progress tells how far (in thousandths), and *cancel
// turning true stops it; the title is then not made, with TRecordingSource::StoppedReading.
bool MakeSubtitleTitle(const TSubtitleTitleRequest& request, TSubtitleTitleResult& result, std::string& error,
                       TStagingFolder* laidOut = nullptr, const TAlignProgress& progress = {},
                       const std::atomic<bool>* cancel = nullptr);

}  // namespace olve
