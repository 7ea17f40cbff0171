#pragma once
#include <cstdint>
#include <string>

namespace olve {

// The length of a recording as the player measures it, which is what a title's cards must
// fit. False, with the reason (English), when the player cannot open it. Needs a running
// Qt application object.
bool RecordingLengthMs(const std::string& path, std::int64_t& length, std::string& error);

}  // namespace olve
