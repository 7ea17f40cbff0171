#include <gtest/gtest.h>

#include "align/pcm_recording.h"
#include "align/sound_levels.h"
#include "align/stretch_reader.h"

using namespace olve;

namespace {

TPcmRecording Numbered(std::size_t count)
{
    TPcmRecording recording;
    for (std::size_t i = 0; i < count; ++i)
        recording.Samples.push_back(static_cast<std::int16_t>(i % 30011 - 15000));
    return recording;
}

}  // namespace

// Each stretch gets exactly its own samples, whether its edges fall inside a block, on a
// block's edge or across several blocks, and stretches left out are skipped.
TEST(StretchReader, HandsOnEachStretchWithExactlyItsSamples)
{
    const TPcmRecording recording = Numbered(40000);
    const std::vector<TSpeechStretch> stretches = {{0, 100}, {100, 4093}, {5000, 20000}, {20000, 20001}, {30000, 40000}};
    std::vector<std::size_t> handed;
    std::string error;
    ASSERT_TRUE(ReadStretches(recording, stretches, [&](std::size_t k, const std::vector<std::int16_t>& samples) {
        handed.push_back(k);
        const std::vector<std::int16_t> own(recording.Samples.begin() + std::ptrdiff_t(stretches[k].Begin),
                                            recording.Samples.begin() + std::ptrdiff_t(stretches[k].End));
        EXPECT_EQ(samples, own) << k;
        return true;
    }, error)) << error;
    EXPECT_EQ(handed, (std::vector<std::size_t>{0, 1, 2, 3, 4}));

    // A reading stopped at a stretch hands on no more, and says it was stopped.
    handed.clear();
    const auto untilSecond = [&](std::size_t k, const std::vector<std::int16_t>&) {
        handed.push_back(k);
        return k < 1;
    };
    EXPECT_FALSE(ReadStretches(recording, stretches, untilSecond, error));
    EXPECT_EQ(error, TRecordingSource::StoppedReading);
    EXPECT_EQ(handed, (std::vector<std::size_t>{0, 1}));
}

// Levels measured block by block are those of the whole sound measured at once.
TEST(StretchReader, LevelsDoNotDependOnTheBlocksTheyAreMeasuredIn)
{
    const TPcmRecording recording = Numbered(16000 + 77);
    TSoundLevels streamed;
    std::string error;
    ASSERT_TRUE(recording.Read([&](const std::int16_t* samples, std::size_t count) {
        streamed.Add(samples, count);
        return true;
    },
                               error));
    const TSoundLevels whole = MeasureSoundLevels(recording.Samples);
    EXPECT_EQ(streamed.FrameLevels(), whole.FrameLevels());
    EXPECT_EQ(streamed.WindowLevels(), whole.WindowLevels());
    EXPECT_EQ(streamed.FrameLevels().size(), 100u);
    EXPECT_EQ(streamed.WindowLevels().size(), (16077u - 320) / 80 + 1);
}
