#pragma once
#include <string>
#include <vector>

#include "media/embedded_subtitle_tracks.h"
#include "title/time_format_change.h"

namespace olve {

// The choices that opening a title or material leaves to the learner; the window asks them with its
// dialogs, tests answer them directly. Paths are local, UTF-8.
class TOpeningQuestions {
public:
    virtual ~TOpeningQuestions() = default;

    // Whether subtitles given alone go with the recording found beside them.
    virtual bool UseRecordingBeside(const std::string& recording) = 0;
    // The recording the subtitles belong to, chosen starting in folder; empty when none is.
    virtual std::string ChooseRecording(const std::string& folder) = 0;
    // Which of the subtitles (none in English or Japanese) give the main text; -1 for none.
    virtual int ChooseMainSubtitles(const std::vector<std::string>& subtitles) = 0;
    // Which of the recording's text tracks gives the main text; -1 for none.
    virtual int ChooseTrack(const std::vector<TEmbeddedSubtitleTrack>& tracks) = 0;
    // Whether subtitles whose lines split sentences make one card per sentence (true) or one
    // card per line as they are (false).
    virtual bool MakeSentenceCards() = 0;
    // The subtitles or transcript to make the recording's title with, among candidates (its
    // folder's, the likeliest first) or any chosen starting in folder; empty when none is.
    virtual std::string ChooseSubtitles(const std::string& folder, const std::vector<std::string>& candidates) = 0;
    // Whether a title may be rewritten to keep its times for the media it is played from.
    virtual bool ChangeTimeFormat(const TTimeFormatChange& change) = 0;
};

}  // namespace olve
