#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

typedef struct _GstPad GstPad;

namespace olve {

// Where the latest segment is cut, in stream time, when the demuxer has been told to stop
// later than that: the segments passing a watched pad are given that stop, so that what
// lies after it is clipped there rather than played.
class TSegmentStop {
public:
    // Rewrites the segments passing the pad from now on; the probe keeps stop alive.
    static void Watch(const std::shared_ptr<TSegmentStop>& stop, GstPad* pad);

    // None: segments pass as they come.
    void Set(std::optional<std::int64_t> streamTimeNs) { FStopNs = streamTimeNs.value_or(-1); }
    std::optional<std::int64_t> Get() const;

private:
    std::atomic<std::int64_t> FStopNs{-1};
};

}  // namespace olve
