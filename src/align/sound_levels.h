#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace olve {

// The levels a recording's speech is found by, measured as its samples stream by (16 kHz), so
// that only the levels stay: dB of every 10 ms frame and of a 20 ms window every 5 ms.
class TSoundLevels {
public:
    static constexpr std::size_t FrameSamples = 160;
    static constexpr std::size_t HopSamples = 80;
    static constexpr std::size_t WindowSamples = 320;

    void Add(const std::int16_t* samples, std::size_t count);

    // One for each whole frame from the start.
    const std::vector<float>& FrameLevels() const { return FFrames; }
    // One for each window that ends by the last sample, the first from the start.
    const std::vector<float>& WindowLevels() const { return FWindows; }
    std::vector<float> TakeWindowLevels() { return std::move(FWindows); }
    std::size_t SampleCount() const { return FSamples; }

private:
    void EndHop();

    std::vector<float> FFrames;
    std::vector<float> FWindows;
    std::size_t FSamples = 0;
    // Sums of squares of the latest hops, the newest at FHops % 4; integers, so exact in any order.
    std::array<double, 4> FHopSums{};
    std::size_t FHops = 0;
    double FSum = 0;
};

// The levels of samples held in memory.
TSoundLevels MeasureSoundLevels(const std::vector<std::int16_t>& samples);

}  // namespace olve
