#include "media/recording_length.h"

#include <QString>

#include "media/gst_session.h"

namespace olve {

namespace {

// As long as the player waits for a recording to open.
constexpr int OpenTimeoutMs = 10000;

}  // namespace

bool RecordingLengthMs(const std::string& path, std::int64_t& length, std::string& error)
{
    // The player's own session, which opens the recording as the player does.
    TGstSession session(QString::fromLocal8Bit(path.c_str()), "fakesink", false);
    const std::string failure = session.Open(OpenTimeoutMs);
    if (!failure.empty()) {
        error = "the player cannot open " + path + ": " + failure;
        return false;
    }
    length = session.DurationMs();
    return true;
}

}  // namespace olve
