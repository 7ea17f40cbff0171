#include "media/wave_volume.h"

#include "media/media_player.h"

namespace olve {

int GetWaveVolume(const TOlveMediaPlayer& player, int componentType)
{
    if (componentType != ComponentTypeWaveOut)
        return 0;
    return player.Volume() & 0xFFFF;
}

void SetWaveVolume(TOlveMediaPlayer& player, int value, int componentType)
{
    if (componentType == ComponentTypeWaveOut)
        player.SetVolume(value);
}

}  // namespace olve
