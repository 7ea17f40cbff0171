#pragma once
#include <array>

namespace olve {

// Where a title's recordings are. A title opened from other media than it was written for
// has its positions converted (an audio CD counts in TMSF, recordings in milliseconds).
enum TMediaType { mtNone, mtAudioCD, mtMediaCD, mtVirtualCD };
inline constexpr std::array<const char*, 4> MediaTypeNames = {"None", "AudioCD", "MediaCD", "VirtualCD"};

}  // namespace olve
