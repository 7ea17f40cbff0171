#pragma once
#include <string>

namespace olve {

// AAC encoders put silence of their own before the sound (1024 samples and more). An MP4
// edit list that skips it is honoured by GStreamer; without one the sound comes that much
// late and every position would be early by it.
struct TAacPriming {
    int Samples = 0;  // priming left in the decoded stream
    int SampleRate = 0;
};

// The priming that the first AAC track of an MP4/M4A file keeps after decoding: 0 when an
// edit list skips it and for anything that is not such a file; the iTunSMPB tag's priming
// when there is one; else the one frame that every AAC encoder adds at least.
TAacPriming UncompensatedAacPriming(const std::string& path);

}  // namespace olve
