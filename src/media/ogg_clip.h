#pragma once
#include <cstdint>
#include <string>

namespace olve {

// Writes the part of a recording from fromMs to toMs as an Ogg Vorbis file, cut at exactly
// those bounds: the clip holds round(toMs * rate / 1000) - round(fromMs * rate / 1000)
// samples of the recording's own rate. False, with the reason, when nothing could be written;
// a half-written file is removed.
bool WriteOggClip(const std::string& mediaPath, std::int64_t fromMs, std::int64_t toMs, const std::string& clipPath,
                  std::string& error);

}  // namespace olve
