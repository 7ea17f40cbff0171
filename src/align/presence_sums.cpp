#include "align/presence_sums.h"

namespace olve {

TPresenceSums::TPresenceSums(const std::vector<float>& presence, double center) : FOutside(-center)
{
    FPrefix.reserve(presence.size() + 1);
    double sum = 0;
    FPrefix.push_back(sum);
    for (float value : presence)
        FPrefix.push_back(sum += double(value) - center);
}

// The sum of the frames from the start up to `frame`; before the start it runs backwards, and
// after the end it runs on, as frames of no speech would.
double TPresenceSums::At(std::int64_t frame) const
{
    const std::int64_t last = static_cast<std::int64_t>(FPrefix.size()) - 1;
    if (frame < 0)
        return FOutside * double(frame);
    if (frame > last)
        return FPrefix.back() + FOutside * double(frame - last);
    return FPrefix[static_cast<std::size_t>(frame)];
}

double TPresenceSums::Sum(std::int64_t begin, std::int64_t end) const
{
    return end <= begin ? 0.0 : At(end) - At(begin);
}

}  // namespace olve
