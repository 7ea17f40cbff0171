#pragma once
#include <cstdint>
#include <string>

#include "timing/time_format.h"

namespace olve {

// The display form of a stored position: "01 01:01:234" (milliseconds), "02 001500"
// (frames) or "03 02:10:20" (TMSF and unknown).
std::string PositionText(std::uint32_t position, TOlveTimeFormat format);

}  // namespace olve
