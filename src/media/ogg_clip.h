#pragma once
#include <cstdint>
#include <string>

namespace olve {

// Writes the part of a recording from fromMs to toMs as an Ogg Vorbis file, cut at exactly
// those bounds: the clip holds round(toMs * rate / 1000) - round(fromMs * rate / 1000)
// samples of the recording's own rate. When the recording's sound ends before toMs (a sound
// track a little shorter than the video) the clip ends with the sound, and writtenToMs says
// where; otherwise it is toMs. False, with the reason, when nothing could be written (the
// sound ends before fromMs); a half-written file is removed.
bool WriteOggClip(const std::string& mediaPath, std::int64_t fromMs, std::int64_t toMs, const std::string& clipPath,
                  std::int64_t& writtenToMs, std::string& error);

}  // namespace olve
