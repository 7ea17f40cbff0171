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
// long, at its longest short pause. Stretches that hold only quiet are left out. The levels are
// measured on the recording itself, so a quiet or a noisy recording is cut alike.
std::vector<TSpeechStretch> FindSpeechStretches(const std::vector<std::int16_t>& samples);

}  // namespace olve
