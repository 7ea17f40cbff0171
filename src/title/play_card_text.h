#pragma once
#include <cstdint>
#include <string>

#include "media/media_types.h"

namespace olve {

// The display form of a stored position: "01 01:01:234" (milliseconds), "02 001500"
// (frames) or "03 02:10:20" (TMSF and unknown).
std::string PositionText(std::uint32_t position, TOlveTimeFormat format);

// The byte range of a main text that a card shows, from its "SST" (start) and "SLG"
// (length) tags, clamped to the text.
struct TTextRange {
    std::size_t Start = 0;
    std::size_t Length = 0;
    bool FromSST = false;
};
TTextRange SpokenRange(const std::string& mainText, const std::string& dataText);

// The part of the main text that a card shows: behind three spaces when it does not begin
// at the start of the text.
std::string CardShowText(const std::string& mainText, const std::string& dataText);

}  // namespace olve
