#pragma once
#include <string>

namespace olve {

// Decoded MP3 streams begin with the encoder's delay and the decoder's own 529 samples of
// padding. GStreamer removes both when the first frame carries a LAME tag; otherwise the
// sound comes that much late and every position would be early by it.
struct TMp3Delay {
    int Samples = 0;  // padding left in the decoded stream
    int SampleRate = 0;
};

// The padding that a plain MPEG audio layer III file keeps after decoding: 0 for a LAME
// tag (GStreamer handles it) and for anything that is not such a file; the tag's own delay
// plus 529 for a LAME-style tag of another encoder; LAME's usual 576 plus 529 without one.
TMp3Delay UncompensatedMp3Delay(const std::string& path);

}  // namespace olve
