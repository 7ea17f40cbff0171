#include "codec/rounding.h"

#include <cmath>
#include <limits>

namespace olve {

namespace {

int ClampToInt(double x)
{
    if (std::isnan(x))
        return 0;
    if (x <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (x >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(x);
}

}  // namespace

int RoundHalfUp(double x)
{
    const double whole = std::floor(x);
    return ClampToInt(x - whole >= 0.5 ? whole + 1 : whole);
}

int RoundHalfAway(double x)
{
    return ClampToInt(std::trunc(x >= 0 ? x + 0.5 : x - 0.5));
}

}  // namespace olve
