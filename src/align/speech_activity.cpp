#include "align/speech_activity.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace olve {

namespace {

constexpr double SampleRate = 16000;
constexpr double LowEdgeHz = 250;
constexpr double HighEdgeHz = 3500;

// The floor is the quiet end of each second's levels, the lowest of them over this many
// seconds either side: long enough to span a sentence, short enough to follow a scene's noise.
constexpr std::size_t BlockFrames = 100;
constexpr double BlockQuietShare = 0.15;
constexpr std::size_t FloorBlocks = 6;
// A frame this far above its floor (dB) starts to count as speech, and fully at RiseDb more.
constexpr float AboveFloorDb = 8;
constexpr float RiseDb = 6;
// Below this (dB of 16-bit sample units, about -75 dBFS) nothing is speech, whatever the floor.
constexpr float QuietDb = 15;
// Dips shorter than this between words (frames either side) count as speech.
constexpr std::size_t BridgeFrames = 10;

struct TCoefficients {
    double B0, B1, B2, A1, A2;
};

// Second-order Butterworth sections (the audio cookbook's forms, Q = 1/sqrt(2)).
TCoefficients Section(double hz, bool highPass)
{
    const double w = 2 * std::numbers::pi * hz / SampleRate;
    const double alpha = std::sin(w) / std::numbers::sqrt2;
    const double c = std::cos(w);
    const double a0 = 1 + alpha;
    const double b1 = highPass ? -(1 + c) : 1 - c;
    const double b0 = highPass ? (1 + c) / 2 : (1 - c) / 2;
    return {b0 / a0, b1 / a0, b0 / a0, -2 * c / a0, (1 - alpha) / a0};
}

float Level(double sum)
{
    return static_cast<float>(10 * std::log10(sum / double(TSpeechActivity::FrameSamples) + 1));
}

std::vector<float> BlockFloors(const std::vector<float>& levels)
{
    std::vector<float> quiet;
    for (std::size_t at = 0; at < levels.size(); at += BlockFrames) {
        std::vector<float> block(levels.begin() + at, levels.begin() + std::min(levels.size(), at + BlockFrames));
        const auto nth = block.begin() + static_cast<std::ptrdiff_t>(BlockQuietShare * double(block.size()));
        std::nth_element(block.begin(), nth, block.end());
        quiet.push_back(*nth);
    }
    std::vector<float> floors(quiet.size());
    for (std::size_t k = 0; k < quiet.size(); ++k) {
        const std::size_t from = k >= FloorBlocks ? k - FloorBlocks : 0;
        const std::size_t to = std::min(quiet.size(), k + FloorBlocks + 1);
        floors[k] = *std::min_element(quiet.begin() + from, quiet.begin() + to);
    }
    return floors;
}

// The highest (or lowest) value within `radius` of each place, in one pass per direction.
std::vector<float> Spread(const std::vector<float>& values, std::size_t radius, bool highest)
{
    const auto pick = [highest](float a, float b) { return highest ? std::max(a, b) : std::min(a, b); };
    std::vector<float> out(values.size());
    for (std::size_t k = 0; k < values.size(); ++k) {
        const std::size_t from = k >= radius ? k - radius : 0;
        const std::size_t to = std::min(values.size(), k + radius + 1);
        float v = values[from];
        for (std::size_t j = from + 1; j < to; ++j)
            v = pick(v, values[j]);
        out[k] = v;
    }
    return out;
}

}  // namespace

double TSpeechActivity::TBiquad::Step(double x)
{
    const double y = B0 * x + Z1;
    Z1 = B1 * x - A1 * y + Z2;
    Z2 = B2 * x - A2 * y;
    return y;
}

TSpeechActivity::TSpeechActivity()
{
    const TCoefficients high = Section(LowEdgeHz, true);
    const TCoefficients low = Section(HighEdgeHz, false);
    FHighPass = {high.B0, high.B1, high.B2, high.A1, high.A2};
    FLowPass = {low.B0, low.B1, low.B2, low.A1, low.A2};
}

void TSpeechActivity::Add(const std::int16_t* samples, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i) {
        const double band = FLowPass.Step(FHighPass.Step(samples[i]));
        FSum += band * band;
        if (++FInFrame == FrameSamples) {
            FLevels.push_back(Level(FSum));
            FSum = 0;
            FInFrame = 0;
        }
    }
}

std::vector<float> SpeechPresence(const std::vector<float>& frameLevels)
{
    if (frameLevels.empty())
        return {};
    const std::vector<float> floors = BlockFloors(frameLevels);
    std::vector<float> presence(frameLevels.size());
    for (std::size_t k = 0; k < frameLevels.size(); ++k) {
        const float level = frameLevels[k];
        const float above = level - floors[k / BlockFrames] - AboveFloorDb;
        presence[k] = level < QuietDb ? 0.f : std::clamp(above / RiseDb, 0.f, 1.f);
    }
    return Spread(Spread(presence, BridgeFrames, true), BridgeFrames, false);
}

}  // namespace olve
