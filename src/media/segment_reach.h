#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

typedef struct _GstPad GstPad;

namespace olve {

// How far the latest segment's sound and pictures got on their way to the outputs, as the
// stream time of the end of the furthest buffer that passed. A demuxer that ends a segment
// at once posts the same end of stream as one that played it through; only what passed
// tells them apart.
class TSegmentReach {
public:
    // Counts what passes the pad from now on; the probe keeps reach alive as long as it lasts.
    static void Watch(const std::shared_ptr<TSegmentReach>& reach, GstPad* pad);

    // Forgets what passed, as a new segment begins (a flush does the same).
    void Reset() { FReachedNs = -1; }
    // Nothing before the first buffer after the latest reset.
    std::optional<std::int64_t> ReachedNs() const;
    void Note(std::int64_t streamTimeNs);

private:
    std::atomic<std::int64_t> FReachedNs{-1};
};

// Why a segment from fromMs to endMs that has ended did not play, given where its buffers
// reached (ms); empty when it played. A segment that runs to the recording's end (toEnd) may
// stop short of a length that was only estimated; it has played once anything of it did.
std::string UnplayedSegmentReason(std::int64_t fromMs, std::int64_t endMs, bool toEnd,
                                  std::optional<std::int64_t> reachedMs);

}  // namespace olve
