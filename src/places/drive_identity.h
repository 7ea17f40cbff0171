#pragma once
#include <string>

namespace olve {

// Linux has no drive letters and no volume label that a path could name, and the audio-CD
// source used for playback carries no disc identity. Both questions therefore have no answer
// here, and callers carry on as they do for any drive that is not an enhanced audio CD.

// False, with an empty label.
bool VolumeLabel(const std::string& driveRoot, std::string& label);
// False, with an empty identity: no package is bound to an audio CD on the way in.
bool AudioCDIdentity(const std::string& driveRoot, std::string& identity);

}  // namespace olve
