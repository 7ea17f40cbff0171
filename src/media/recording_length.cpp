#include "media/recording_length.h"

#include "media/device_error.h"
#include "media/media_player.h"

namespace olve {

bool RecordingLengthMs(const std::string& path, std::int64_t& length, std::string& error)
{
    TOlveMediaPlayer player;
    player.FileName = QString::fromLocal8Bit(path.c_str());
    player.AudioSink = "fakesink";
    try {
        player.Open();
        length = player.Length();
        player.Close();
    } catch (const EMCIDeviceError& failure) {
        error = "the player cannot open " + path + ": " + failure.what();
        return false;
    }
    return true;
}

}  // namespace olve
