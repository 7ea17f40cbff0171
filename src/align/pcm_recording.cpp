#include "align/pcm_recording.h"

#include <algorithm>

#include "align/recording_file.h"

namespace olve {

namespace {

// Not a divisor of the stretches' frames, so that a stretch's edge falls inside a block.
constexpr std::size_t BlockSamples = 4093;

}  // namespace

bool TPcmRecording::Read(const TPcmBlock& block, std::string& error) const
{
    for (std::size_t at = 0; at < Samples.size(); at += BlockSamples)
        if (!block(Samples.data() + at, std::min(BlockSamples, Samples.size() - at))) {
            error = StoppedReading;
            return false;
        }
    return true;
}

bool DecodePcmRecording(const std::string& path, TPcmRecording& recording, std::string& error)
{
    recording.Samples.clear();
    const auto append = [&recording](const std::int16_t* samples, std::size_t count) {
        recording.Samples.insert(recording.Samples.end(), samples, samples + count);
        return true;
    };
    if (!TRecordingFile(path).Read(append, error)) {
        recording.Samples.clear();
        return false;
    }
    return true;
}

}  // namespace olve
