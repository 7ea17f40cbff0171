#pragma once
#include <cstdint>

namespace olve {

// The most pixels a decoded picture may have: 256 MiB at four bytes a pixel, the same bound
// as Qt's image readers. Larger JPEG pictures are decoded at a reduced scale; other formats
// fail to load.
inline constexpr std::int64_t MaxPicturePixels = 64LL * 1024 * 1024;

}  // namespace olve
