#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "align/recording_source.h"
#include "align/speech_stretches.h"

namespace olve {

// The samples of stretch `index`, handed on as soon as its last sample was read; false stops
// the reading.
using TStretchSamples = std::function<bool(std::size_t index, const std::vector<std::int16_t>& samples)>;

// Reads the recording once more, keeping only the samples of the stretch being read. False
// with the source's reason when it cannot be read or was stopped.
bool ReadStretches(const TRecordingSource& source, const std::vector<TSpeechStretch>& stretches,
                   const TStretchSamples& stretch, std::string& error);

}  // namespace olve
