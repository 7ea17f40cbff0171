#pragma once
#include <string>

#include "codec/data_file.h"
#include "timing/playback_speed.h"
#include "title/card_timing.h"
#include "title/practice_settings.h"

namespace olve {

// Where a learner left a title and how they like to practise it, kept in the settings file in
// a section of its own per title, named after the title's "VolSerialNum". The loop is not
// kept: it belongs to the cards chosen in one sitting.
struct TTitleProgress {
    // The last card played; -1 when none.
    int LastCard = -1;
    int SpeedTenths = NormalSpeedTenths;
    TPracticeSettings Practice;
    bool AutoPause = false;
    // Points; 0 keeps the size the title sets.
    int MainFontSize = 0;
    int SubFontSize = 0;
    // Where the learner put the cards: sync, shift and nudged edges.
    TCardTiming Timing;

    bool operator==(const TTitleProgress&) const = default;
};

// The section of a title: "Title " and the serial, with any byte that could break a section
// line written as "%XX".
std::string TitleProgressSection(const std::string& serial);

// The values a file written by anyone holds; a missing or unusable value is the default.
TTitleProgress ReadTitleProgress(const TDataFile& file, const std::string& serial);
void WriteTitleProgress(TDataFile& file, const std::string& serial, const TTitleProgress& progress);

// The player's volume for every title, 0 to 65535; fallback when the file has none.
int ReadPlayerVolume(const TDataFile& file, int fallback);
void WritePlayerVolume(TDataFile& file, int volume);

}  // namespace olve
