#pragma once
#include <string>

namespace olve {

// The speed of speech is kept in whole tenths of the recorded speed, so that stepping up and
// down any number of times lands on the same values and 1.0 is always reached exactly.
constexpr int SlowestSpeedTenths = 5;
constexpr int NormalSpeedTenths = 10;
constexpr int FastestSpeedTenths = 15;

int ClampSpeedTenths(int tenths);
// steps tenths faster (negative: slower), stopping at the slowest and fastest.
int StepSpeedTenths(int tenths, int steps);
// One tenth faster, and from the fastest back to the slowest.
int CycleSpeedTenths(int tenths);
double SpeedFactor(int tenths);
// "0.7×"
std::string SpeedText(int tenths);

}  // namespace olve
