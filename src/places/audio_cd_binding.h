#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// A title installed from a package on an enhanced audio CD is bound to that CD: when the
// entry's bytes are BDC text with a "VolSerialNum" line, that line takes the CD identity, and
// "VolUser" becomes the identity (a new first line) or, when it exists, "AudioCDEx". True when
// the bytes were rewritten; anything else passes unchanged.
bool BindTitleToAudioCD(std::vector<std::uint8_t>& bytes, const std::string& identity);

}  // namespace olve
