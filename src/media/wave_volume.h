#pragma once

namespace olve {

class TOlveMediaPlayer;

// The wave-output line's component type, the only one the program uses.
inline constexpr int ComponentTypeWaveOut = 0x1008;

// The volume of the program's sound, 0 to 65535. It is the player's stream volume, which
// desktop mixers show for this program.
int GetWaveVolume(const TOlveMediaPlayer& player, int componentType = ComponentTypeWaveOut);
void SetWaveVolume(TOlveMediaPlayer& player, int value, int componentType = ComponentTypeWaveOut);

}  // namespace olve
