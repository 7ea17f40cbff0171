#include "timing/playback_speed.h"

#include <algorithm>

namespace olve {

int ClampSpeedTenths(int tenths)
{
    return std::clamp(tenths, SlowestSpeedTenths, FastestSpeedTenths);
}

int StepSpeedTenths(int tenths, int steps)
{
    return ClampSpeedTenths(ClampSpeedTenths(tenths) + steps);
}

int CycleSpeedTenths(int tenths)
{
    const int next = ClampSpeedTenths(tenths) + 1;
    return next > FastestSpeedTenths ? SlowestSpeedTenths : next;
}

double SpeedFactor(int tenths)
{
    return ClampSpeedTenths(tenths) / 10.0;
}

std::string SpeedText(int tenths)
{
    const int t = ClampSpeedTenths(tenths);
    return std::to_string(t / 10) + "." + std::to_string(t % 10) + "\u00d7";
}

}  // namespace olve
