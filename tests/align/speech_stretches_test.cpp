#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "align/sound_levels.h"
#include "align/speech_stretches.h"

using namespace olve;

namespace {

constexpr std::size_t Rate = 16000;

// Loud bursts of noise-like sound over a faint hiss, with the given pauses (ms) after each.
struct TBurstRecording {
    std::vector<std::int16_t> Samples;
    std::vector<std::pair<std::size_t, std::size_t>> Bursts;

    void Add(int burstMs, int pauseMs)
    {
        const std::size_t begin = Samples.size();
        for (std::size_t i = 0; i < burstMs * Rate / 1000; ++i)
            Samples.push_back(static_cast<std::int16_t>(8000 * std::sin(i * 0.37) * std::sin(i * 0.0021)));
        if (burstMs > 0)
            Bursts.push_back({begin, Samples.size()});
        for (std::size_t i = 0; i < pauseMs * Rate / 1000; ++i)
            Samples.push_back(static_cast<std::int16_t>((i * 7919) % 41) - 20);
    }

    std::vector<TSpeechStretch> Stretches() const
    {
        const TSoundLevels levels = MeasureSoundLevels(Samples);
        return FindSpeechStretches(levels.FrameLevels(), levels.SampleCount());
    }
};

}  // namespace

// An hour-long chapter must come in pieces the recognizer can take, cut only where it is quiet.
TEST(SpeechStretches, CutInPausesAndKeepLongSpeechWithoutLongPausesShort)
{
    TBurstRecording recording;
    recording.Add(0, 500);
    for (int k = 0; k < 30; ++k)
        recording.Add(1800, k == 9 ? 1000 : 250);
    const std::vector<TSpeechStretch> stretches = recording.Stretches();
    ASSERT_GE(stretches.size(), 3u);
    EXPECT_EQ(stretches.back().End, recording.Samples.size());
    for (std::size_t k = 0; k < stretches.size(); ++k) {
        // Too long for one search, yet not whittled into short pieces that cut sentences apart.
        EXPECT_LE(stretches[k].End - stretches[k].Begin, 26 * Rate) << k;
        EXPECT_GE(stretches[k].End - stretches[k].Begin, 10 * Rate) << k;
        if (k > 0) {
            EXPECT_EQ(stretches[k].Begin, stretches[k - 1].End) << k;
        }
        for (const auto& [begin, end] : recording.Bursts)
            EXPECT_FALSE(stretches[k].Begin > begin && stretches[k].Begin < end) << "cut inside a burst at " << k;
    }
    // The long pause after the tenth burst is a cut of its own.
    const std::size_t longPause = (recording.Bursts[10].first + recording.Bursts[9].second) / 2;
    EXPECT_TRUE(std::any_of(stretches.begin(), stretches.end(), [&](const TSpeechStretch& s) {
        return s.Begin + Rate / 2 > longPause && s.Begin < longPause + Rate / 2;
    }));
}

// A reader who never pauses for minutes must not make the recognizer take minutes at once: the
// stretches stay short enough to be held, and are cut where the sound is softest.
TEST(SpeechStretches, SpeechWithoutAnyPauseIsCutAtItsQuietestFrames)
{
    TBurstRecording recording;
    recording.Add(0, 500);
    recording.Add(70000, 0);
    const std::size_t soft = recording.Samples.size();
    for (std::size_t i = soft; i < soft + 480; ++i)
        recording.Samples[i - 480] = static_cast<std::int16_t>(recording.Samples[i - 480] / 50);
    recording.Add(80000, 500);
    const std::vector<TSpeechStretch> stretches = recording.Stretches();
    ASSERT_GE(stretches.size(), 3u);
    EXPECT_EQ(stretches.back().End, recording.Samples.size());
    bool cutWhereSoft = false;
    for (std::size_t k = 0; k < stretches.size(); ++k) {
        EXPECT_LE(stretches[k].End - stretches[k].Begin, MaxSpeechStretchSamples) << k;
        if (k > 0) {
            EXPECT_EQ(stretches[k].Begin, stretches[k - 1].End) << k;
        }
        cutWhereSoft |= stretches[k].Begin >= soft - 480 && stretches[k].Begin < soft;
    }
    EXPECT_TRUE(cutWhereSoft);
}
