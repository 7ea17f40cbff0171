#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "align/recording_source.h"

namespace olve {

// A recording held in memory as the recognizer hears it: mono, 16-bit, 16 kHz.
struct TPcmRecording : TRecordingSource {
    std::vector<std::int16_t> Samples;

    std::int64_t LengthMs() const { return static_cast<std::int64_t>(Samples.size()) * 1000 / SampleRate; }

    // Hands the samples on in blocks of the size a decoder gives, never failing.
    bool Read(const TPcmBlock& block, std::string& error) const override;
    std::size_t ExpectedSamples() const override { return Samples.size(); }
};

// Decodes the sound of any recording GStreamer plays. False with a reason (English) when the
// file cannot be decoded or holds no sound.
bool DecodePcmRecording(const std::string& path, TPcmRecording& recording, std::string& error);

}  // namespace olve
