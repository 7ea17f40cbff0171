#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// A recording as the recognizer hears it: mono, 16-bit, 16 kHz.
struct TPcmRecording {
    static constexpr int SampleRate = 16000;
    std::vector<std::int16_t> Samples;

    std::int64_t LengthMs() const { return static_cast<std::int64_t>(Samples.size()) * 1000 / SampleRate; }
};

// Decodes the sound of any recording GStreamer plays. False with a reason (English) when the
// file cannot be decoded or holds no sound.
bool DecodePcmRecording(const std::string& path, TPcmRecording& recording, std::string& error);

}  // namespace olve
