#pragma once

namespace olve {

class TPlayCards;

// Rewrites every card's positions from TMSF to track milliseconds, or back, through the
// list's setters. Every card is taken to be in the source format.
void ConvertToMilliseconds(TPlayCards& list);
void ConvertToTmsf(TPlayCards& list);

}  // namespace olve
