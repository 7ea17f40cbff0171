#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

namespace olve {

// A subtitle track stored in a recording (Matroska/WebM, MP4 ...).
struct TEmbeddedSubtitleTrack {
    // The track's place among the recording's subtitle tracks, counting from 0.
    int Index = 0;
    // The ISO 639 code the recording gives for the track; may be empty.
    std::string Language;
    // The track's name in the recording; may be empty.
    std::string Title;
    // A short name of the track's format for the user ("UTF-8 text", "ASS", "DVD subpictures").
    std::string Format;
    // False for a track of pictures (DVD, Blu-ray) or another kind without readable text: its
    // Cues are empty.
    bool IsText = true;
    // In time order, numbered from 1; cues without text are left out.
    std::vector<TSubtitleCue> Cues;
};

// Reads every subtitle track of a recording without decoding its sound or pictures, so it
// takes as long as reading the file through. A recording without subtitle tracks gives an
// empty list. False with a reason for the user (Japanese and English) when GStreamer cannot
// read the file, when reading takes over five minutes, or when it is cancelled: setting
// cancelled (from any thread) ends the call within a tenth of a second whatever the file
// does; a pipe that never ends or a read that never returns is left to a thread of its own.
bool ReadEmbeddedSubtitleTracks(const std::string& mediaPath, std::vector<TEmbeddedSubtitleTrack>& tracks,
                                std::string& error, const std::atomic<bool>* cancelled = nullptr);

}  // namespace olve
