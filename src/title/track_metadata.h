#pragma once
#include <cstdint>
#include <string>

#include "title/play_cards.h"

namespace olve {

// What desktop media panels show of the player: the current card as the track, within the
// whole recording, under the title's name. Texts are UTF-8.
struct TTrackMetadata {
    // A D-Bus object path naming the card; NoTrackId when there is no card.
    std::string TrackId;
    // The recording's length: positions are given within the recording, not the card.
    std::int64_t LengthMicroseconds = 0;
    // The card's English text on one line; its Japanese text when it has no English one.
    std::string Title;
    std::string Album;

    bool operator==(const TTrackMetadata&) const = default;
};

inline constexpr const char* NoTrackId = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

// card: 0-based; -1 (before the first card) and past the last give no track.
TTrackMetadata TrackMetadata(const TPlayCards& cards, int card, std::int64_t recordingMs, const std::string& titleName);

// The card's text as one line of UTF-8: line breaks and runs of blanks become one space,
// with none at either end.
std::string OneLineCardText(const std::string& cp932Text);

}  // namespace olve
