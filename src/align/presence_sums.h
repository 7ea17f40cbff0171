#pragma once
#include <cstdint>
#include <vector>

namespace olve {

// Sums of (presence - center) over any stretch of frames, in constant time; frames before the
// recording's start and after its end count as holding no speech, so a stretch laid outside it
// weighs as much against as one laid over quiet.
class TPresenceSums {
public:
    TPresenceSums(const std::vector<float>& presence, double center);

    double Sum(std::int64_t begin, std::int64_t end) const;

private:
    double At(std::int64_t frame) const;

    std::vector<double> FPrefix;
    double FOutside = 0;
};

}  // namespace olve
