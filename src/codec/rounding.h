#pragma once

namespace olve {

// Rounding used by the picture pane and the card list. Results beyond the range of int are
// clamped to it, and NaN gives 0.

// Halves go up: 2.5 gives 3, -2.5 gives -2.
int RoundHalfUp(double x);
// Halves go away from zero: 2.5 gives 3, -2.5 gives -3.
int RoundHalfAway(double x);

}  // namespace olve
