#pragma once
#include <cstdint>
#include <string>

#include "timing/media_type.h"
#include "timing/time_format.h"

namespace olve {

// One play card: a timed segment of the recording with what belongs to it. Texts are code
// page 932 bytes; "||" in MainText marks a line break.
struct TPlayCardItem {
    std::string MainText;
    std::string SubText;
    // Comma text of name=value tags.
    std::string DataText;
    std::string Picture;
    // Encoded as TimeFormat says: TMSF values or packed positions.
    std::uint32_t StartPos = 0;
    std::uint32_t EndPos = 0;
    std::int32_t Object = 0;
    TOlveTimeFormat TimeFormat = otfNone;
    TMediaType MediaKind = mtNone;
    std::string ExtraFile;

    bool operator==(const TPlayCardItem&) const = default;
};

}  // namespace olve
