#include "tools/media_length.h"

#include <QCoreApplication>
#include <iostream>

#include "media/device_error.h"
#include "media/media_player.h"

namespace olve {

bool MeasureMediaLength(const std::string& path, std::int64_t& lengthMs)
{
    int argc = 1;
    char name[] = "olvetool";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TOlveMediaPlayer player;
    player.FileName = QString::fromLocal8Bit(path.c_str());
    player.AudioSink = "fakesink";
    try {
        player.Open();
        lengthMs = player.Length();
        player.Close();
    } catch (const EMCIDeviceError& error) {
        std::cerr << "olvetool: the player cannot open " << path << ": " << error.what() << "\n";
        return false;
    }
    return true;
}

}  // namespace olve
