#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "align/sound_levels.h"
#include "align/speech_edges.h"

using namespace olve;

namespace {

constexpr int Rate = 16000;

// Speech-like bursts (a tone swelling and fading within 15 ms) over a floor, each [from, to) ms.
std::vector<std::int16_t> Reading(int lengthMs, const std::vector<std::pair<int, int>>& speech, int floor)
{
    std::vector<std::int16_t> samples(std::size_t(lengthMs) * Rate / 1000);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = floor == 0 ? 0 : std::int16_t(int((i * 7919) % (2 * floor + 1)) - floor);
    for (const auto& [from, to] : speech)
        for (int i = from * Rate / 1000; i < to * Rate / 1000; ++i) {
            const double edge = std::min({1.0, (i - from * Rate / 1000) / 240.0, (to * Rate / 1000 - i) / 240.0});
            samples[std::size_t(i)] = std::int16_t(samples[std::size_t(i)] + 9000 * edge * std::sin(i * 0.21));
        }
    return samples;
}

}  // namespace

// The recognizer's edges move to where the sound begins and ends, in digital silence and in
// room tone alike; a pause inside a sentence, and speech running on, leave them as they are.
TEST(SpeechEdges, FindTheEdgesOfSpeechNearTheRecognizersAndNoOthers)
{
    for (const int floor : {0, 40}) {
        SCOPED_TRACE(floor);
        // Sentence one 1000-2000 ms with a pause inside (1400-1550), sentence two 2600-3500, and
        // a third running straight on from it to 4400.
        const TSpeechEdges edges(
            MeasureSoundLevels(Reading(5000, {{1000, 1400}, {1550, 2000}, {2600, 4400}}, floor)).TakeWindowLevels());
        const auto onset = edges.OnsetNear(1150, 700, 1300);
        ASSERT_TRUE(onset);
        EXPECT_NEAR(double(*onset), 1000, 20);
        const auto offset = edges.OffsetNear(1800, 1600, 2400);
        ASSERT_TRUE(offset);
        EXPECT_NEAR(double(*offset), 2000, 20);
        EXPECT_NEAR(double(edges.OnsetNear(2450, 2200, 2700).value_or(-1)), 2600, 20);
        // The pause at 1400-1550 is nearer the recognizer's edges, but they put speech of the
        // sentence on its other side: it lies inside the sentence.
        EXPECT_NEAR(double(edges.OffsetNear(1650, 1300, 2300).value_or(-1)), 2000, 20);
        EXPECT_NEAR(double(edges.OnsetNear(1300, 900, 1700).value_or(-1)), 1000, 20);
        // No quiet between the second and third sentence: the recognizer's 3500 stands.
        EXPECT_FALSE(edges.OffsetNear(3500, 3200, 3800));
        EXPECT_FALSE(edges.OnsetNear(3500, 3200, 3800));

        // A last consonant after a dip of 100 ms, then the pause before the next sentence: the
        // sentence ends at that pause, though the dip is nearer the recognizer's end.
        const TSpeechEdges weakEnd(
            MeasureSoundLevels(Reading(3000, {{1000, 1700}, {1800, 1900}, {2300, 2800}}, floor)).TakeWindowLevels());
        EXPECT_NEAR(double(weakEnd.OffsetNear(1720, 1100, 2250).value_or(-1)), 1900, 20);
    }
    EXPECT_FALSE(TSpeechEdges(std::vector<float>()).OnsetNear(0, 0, 100));
}
