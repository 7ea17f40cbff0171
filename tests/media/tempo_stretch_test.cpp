#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "media/tempo_stretch.h"

using namespace olve;

namespace {

constexpr int Rate = 44100;
constexpr int Channels = 2;

std::vector<float> Noise(std::size_t frames, unsigned seed)
{
    std::vector<float> samples(frames * Channels);
    for (float& s : samples) {
        seed = seed * 1103515245u + 12345u;
        s = float(seed >> 16 & 0x7FFF) / 32768.0f - 0.5f;
    }
    return samples;
}

// The output of a whole segment pushed in pieces of chunk frames.
std::vector<float> Stretched(TTempoStretch& stretch, double rate, const std::vector<float>& in, std::size_t chunk)
{
    std::vector<float> out;
    stretch.Start(rate);
    const std::size_t frames = in.size() / Channels;
    for (std::size_t at = 0; at < frames; at += chunk)
        stretch.Push(in.data() + at * Channels, std::min(chunk, frames - at), out);
    stretch.Finish(out);
    return out;
}

}  // namespace

// However the decoder cuts the input, a segment's output is the same and as long as its input
// at that rate.
TEST(TempoStretch, OutputLastsTheInputAtTheRateWhateverTheBuffers)
{
    TTempoStretch stretch(Rate, Channels);
    for (const double rate : {0.5, 0.7, 1.3, 1.5}) {
        for (const std::size_t frames : {4000u, 22050u, 44101u}) {
            SCOPED_TRACE(testing::Message() << rate << "x, " << frames << " frames");
            const std::vector<float> in = Noise(frames, unsigned(frames));
            const std::vector<float> whole = Stretched(stretch, rate, in, frames);
            EXPECT_EQ(whole.size() / Channels, std::size_t(std::floor(frames / rate)));
            EXPECT_EQ(Stretched(stretch, rate, in, 441), whole);
        }
    }
}
