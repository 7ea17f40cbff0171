#pragma once
#include <cstdint>
#include <string>

namespace olve {

// The length of a recording as the player measures it, which is what a title's cards must
// fit. False (with the reason on stderr) when the player cannot open it.
bool MeasureMediaLength(const std::string& path, std::int64_t& lengthMs);

}  // namespace olve
