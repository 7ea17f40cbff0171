#pragma once
#include <cstdint>

#include "timing/time_format.h"

namespace olve {

// Packed positions: bits 0-7 the media number, bits 8-31 the time inside that media
// (milliseconds, or frames for frame-based media).
std::uint32_t MakePackedPosition(std::uint32_t media, std::uint32_t minutes, std::uint32_t seconds, std::uint32_t ms);
inline std::uint32_t PackedMedia(std::uint32_t p) { return p & 255; }
inline std::uint32_t PackedTime(std::uint32_t p) { return p >> 8; }
inline std::uint32_t PackedMinutes(std::uint32_t p) { return PackedTime(p) / 60000; }
inline std::uint32_t PackedSeconds(std::uint32_t p) { return PackedTime(p) / 1000 % 60; }
inline std::uint32_t PackedMilliseconds(std::uint32_t p) { return PackedTime(p) % 1000; }
// No frame duration is known, so the time part is never scaled.
inline std::uint32_t PackedToMilliseconds(std::uint32_t p) { return PackedTime(p); }

// TMSF: bits 0-7 track, 8-15 minutes, 16-23 seconds, 24-31 frames (75 a second).
inline std::uint32_t TmsfTrack(std::uint32_t t) { return t & 255; }
inline std::uint32_t TmsfMinutes(std::uint32_t t) { return (t >> 8) & 255; }
inline std::uint32_t TmsfSeconds(std::uint32_t t) { return (t >> 16) & 255; }
inline std::uint32_t TmsfFrames(std::uint32_t t) { return t >> 24; }
std::uint32_t MakeTmsf(std::uint32_t track, std::uint32_t minutes, std::uint32_t seconds, std::uint32_t frames);
// The track byte is ignored.
std::uint32_t TmsfToFrames(std::uint32_t t);

// A stored position in the units of the player's Position.
std::uint32_t ToPlayerUnits(std::uint32_t p, TOlveTimeFormat format);

// The time format of a device's time-format code.
TOlveTimeFormat ClassifyTimeFormat(int timeFormatCode);

}  // namespace olve
