#include "title/practice_settings.h"

#include <cmath>
#include <iterator>

namespace olve {

namespace {

template <std::size_t N>
int NextOf(const int (&choices)[N], int value)
{
    for (std::size_t i = 0; i < N; ++i)
        if (choices[i] == value)
            return choices[(i + 1) % N];
    return choices[0];
}

}  // namespace

int NextRepeats(int repeats)
{
    return NextOf(RepeatChoices, repeats);
}

int NextShadowTenths(int tenths)
{
    return NextOf(ShadowChoices, tenths);
}

TReveal NextReveal(TReveal reveal)
{
    switch (reveal) {
    case TReveal::Shown:
        return TReveal::AfterHearing;
    case TReveal::AfterHearing:
        return TReveal::Hidden;
    case TReveal::Hidden:
        break;
    }
    return TReveal::Shown;
}

std::int64_t ShadowWaitMs(std::int64_t lengthMs, double speed, int shadowTenths)
{
    if (lengthMs <= 0 || speed <= 0 || shadowTenths <= 0)
        return 0;
    return std::llround(static_cast<double>(lengthMs) / speed * shadowTenths / 10.0);
}

}  // namespace olve
