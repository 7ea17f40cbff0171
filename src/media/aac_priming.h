#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "media/pulled_bytes.h"

namespace olve {

// AAC encoders put silence of their own before the sound (1024 samples and more). An MP4
// edit list that skips it is honoured by GStreamer; without one the sound comes that much
// late and every position would be early by it.
struct TAacPriming {
    int Samples = 0;  // priming left in the decoded stream
    int SampleRate = 0;
    // Priming that an edit list skips (ffmpeg writes one), in samples of SampleRate. GStreamer
    // starts the sound after it, but ends a segment that much before its stop as well, so the
    // frame holding the stop (or the last, partial frame) is lost unless the stop is asked
    // that much later and the sound cut at the real stop.
    int EditedSamples = 0;
    // The sound's length that the edit gives, once the edit is read longer (see below).
    std::int64_t EditedLengthMs = -1;
};

// The priming that the first AAC track of an MP4/M4A file keeps after decoding: 0 when an
// edit list skips it and for anything that is not such a file; the iTunSMPB tag's priming
// when there is one; else the one frame that every AAC encoder adds at least.
TAacPriming UncompensatedAacPriming(const std::string& path);

// GStreamer drops the last, partial frame at the end of an edit that skips priming. The
// patch that makes that edit two frames longer, so the frame comes through and the player can
// cut the sound at EditedLengthMs; none without such an edit.
std::vector<TBytePatch> AacEditEndPatches(const std::string& path);

}  // namespace olve
