#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace olve {

// Consecutive samples of a recording (mono, 16-bit, 16 kHz), in the order they are read; false
// stops the reading.
using TPcmBlock = std::function<bool(const std::int16_t* samples, std::size_t count)>;

// A recording read from its start, as often as it is needed, without holding it all at once.
class TRecordingSource {
public:
    static constexpr int SampleRate = 16000;

    virtual ~TRecordingSource() = default;

    // Hands the whole sound to `block`, a block at a time, from the first sample. False with a
    // reason (English) when it cannot be read to its end or holds no sound, and false with
    // StoppedReading when `block` stopped it.
    virtual bool Read(const TPcmBlock& block, std::string& error) const = 0;

    // About how many samples a read gives, for telling how far it got; 0 when not known.
    virtual std::size_t ExpectedSamples() const = 0;

    static constexpr const char* StoppedReading = "the reading was stopped";
};

}  // namespace olve
