#pragma once
#include <array>

namespace olve {

// How the positions of the open media are counted.
enum TOlveTimeFormat { otfNone, otfTMSF, otfTrackMilliseconds, otfFrames };
inline constexpr std::array<const char*, 4> OlveTimeFormatNames = {"unknown", "TMSF", "TrackMilliseconds", "Frames"};

// Time format codes of the device.
inline constexpr int TimeFormatMilliseconds = 0;
inline constexpr int TimeFormatFrames = 3;
inline constexpr int TimeFormatTmsf = 10;

}  // namespace olve
