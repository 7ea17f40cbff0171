#pragma once
#include <cstddef>
#include <functional>

namespace olve {

// Told now and then while a recording is aligned: how much of the work is done, of how much.
using TAlignProgress = std::function<void(std::size_t done, std::size_t total)>;

// Tells an alignment's progress in thousandths of its work: reading the sound once for its
// levels takes the first share, aligning its stretches the rest, in step with the sound they
// cover, so that neither pass of a long recording sits still. Told only when it moves on.
class TAlignProgressShare {
public:
    static constexpr std::size_t Whole = 1000;

    explicit TAlignProgressShare(const TAlignProgress& progress);

    // The first pass has read `samples` of about `expected` (0 when not known).
    void Read(std::size_t samples, std::size_t expected);
    // The second pass has aligned the sound up to sample `end` of `count`.
    void Aligned(std::size_t end, std::size_t count);

private:
    void Tell(std::size_t done);

    const TAlignProgress& FProgress;
    std::size_t FTold = 0;
    bool FStarted = false;
};

}  // namespace olve
