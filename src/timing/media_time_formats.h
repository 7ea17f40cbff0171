#pragma once
#include "timing/time_format.h"

namespace olve {

// What a title reader asks the player: the time format of the media with a 0-based index.
class TMediaTimeFormats {
public:
    virtual ~TMediaTimeFormats() = default;
    virtual TOlveTimeFormat MediaTimeFormat(int index) const = 0;
};

}  // namespace olve
