#pragma once
#include <functional>
#include <string>

#include "timing/media_time_formats.h"

namespace olve {

// A title whose times are recorded for the other kind of media than it is about to be played
// from. Converting it rewrites the title file, so the learner is asked first.
struct TTimeFormatChange {
    std::string FileName;  // the title file, as it was given
    TOlveTimeFormat From = otfTMSF;
    TOlveTimeFormat To = otfTrackMilliseconds;
};

// The yes/no question that asks for the change (UTF-8).
std::string QuestionText(const TTimeFormatChange& change);

// Whether the learner allows the change; an empty one allows none.
using TTimeFormatConsent = std::function<bool(const TTimeFormatChange&)>;

}  // namespace olve
