#pragma once
#include <cstdint>
#include <vector>

namespace olve {

struct TPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Left, top, right and bottom; right and bottom lie just outside.
struct TRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t Width() const { return Right - Left; }
    std::int32_t Height() const { return Bottom - Top; }
    friend bool operator==(const TRect&, const TRect&) = default;
};

// A colour value: red in the low byte, then green, then blue.
using TColor = std::uint32_t;

using TAryInteger = std::vector<std::int32_t>;
using TAryPoint = std::vector<TPoint>;
using TAryColor = std::vector<TColor>;

}  // namespace olve
