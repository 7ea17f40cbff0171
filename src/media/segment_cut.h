#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

typedef struct _GstPad GstPad;

namespace olve {

// Where the latest segment is cut, in stream time, when the demuxer has been asked for more
// than the segment: to start earlier, so that a decoder whose sound depends on what came
// before has it, or to stop later, so that a demuxer which ends early gives the sound up to
// the stop. The segments passing a watched pad are given the real start and stop, so that
// what lies outside them is clipped rather than played.
class TSegmentCut {
public:
    // Rewrites the segments passing the pad from now on; the probe keeps the cut alive.
    static void Watch(const std::shared_ptr<TSegmentCut>& cut, GstPad* pad);

    // None: that edge passes as it comes.
    void Set(std::optional<std::int64_t> startNs, std::optional<std::int64_t> stopNs)
    {
        FStartNs = startNs.value_or(-1);
        FStopNs = stopNs.value_or(-1);
    }
    std::optional<std::int64_t> Start() const { return Edge(FStartNs); }
    std::optional<std::int64_t> Stop() const { return Edge(FStopNs); }

private:
    static std::optional<std::int64_t> Edge(const std::atomic<std::int64_t>& ns);

    std::atomic<std::int64_t> FStartNs{-1};
    std::atomic<std::int64_t> FStopNs{-1};
};

}  // namespace olve
