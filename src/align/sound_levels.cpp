#include "align/sound_levels.h"

#include <cmath>

namespace olve {

namespace {

float Level(double sum, std::size_t samples)
{
    return static_cast<float>(10 * std::log10(sum / double(samples) + 1));
}

}  // namespace

void TSoundLevels::Add(const std::int16_t* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        FSum += double(samples[i]) * samples[i];
        if (++FSamples % HopSamples == 0)
            EndHop();
    }
}

void TSoundLevels::EndHop()
{
    FHopSums[FHops % 4] = FSum;
    FSum = 0;
    ++FHops;
    const auto hop = [this](std::size_t back) { return FHopSums[(FHops - back) % 4]; };
    if (FHops % 2 == 0)
        FFrames.push_back(Level(hop(2) + hop(1), FrameSamples));
    if (FHops >= 4)
        FWindows.push_back(Level(hop(4) + hop(3) + hop(2) + hop(1), WindowSamples));
}

TSoundLevels MeasureSoundLevels(const std::vector<std::int16_t>& samples)
{
    TSoundLevels levels;
    levels.Add(samples.data(), samples.size());
    return levels;
}

}  // namespace olve
