#pragma once
#include <cstdint>
#include <string>

#include "align/recording_source.h"

namespace olve {

// The sound of any recording GStreamer plays, decoded anew at each read, so that no more than
// a few blocks of it are held at a time however long it is.
class TRecordingFile : public TRecordingSource {
public:
    // lengthMs: the recording's length when known (0 when not), for telling how far a read got.
    explicit TRecordingFile(std::string path, std::int64_t lengthMs = 0);

    bool Read(const TPcmBlock& block, std::string& error) const override;
    std::size_t ExpectedSamples() const override;

private:
    std::string FPath;
    std::int64_t FLengthMs = 0;
};

}  // namespace olve
