#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace olve {

// A stretch of a recording, in samples [Begin, End).
struct TSpeechStretch {
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// Cuts a recording (16 kHz) into stretches that the recognizer takes one at a time: cuts fall
// in the middle of pauses, at every long pause and, inside a stretch that would still be too
// long, at its longest short pause; where speech runs on with no pause at all for a minute, at
// its quietest frame, so that no stretch is longer than that. Stretches that hold only quiet are
// left out. Speech is told from quiet by the recording's own levels, so a quiet or a noisy
// recording is cut alike. frameLevels: dB of each 10 ms frame (TSoundLevels) of sampleCount samples.
std::vector<TSpeechStretch> FindSpeechStretches(const std::vector<float>& frameLevels, std::size_t sampleCount);

// The longest stretch FindSpeechStretches gives, in samples.
constexpr std::size_t MaxSpeechStretchSamples = 60 * 16000;

}  // namespace olve
