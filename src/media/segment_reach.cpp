#include "media/segment_reach.h"

#include <gst/gst.h>

#include <algorithm>

namespace olve {

namespace {

// No codec leaves more than this unplayed before a stop (an AAC frame at 8 kHz is 128 ms).
constexpr std::int64_t ShortfallToleranceMs = 200;

GstPadProbeReturn Observe(GstPad* pad, GstPadProbeInfo* info, gpointer data)
{
    auto& reach = **static_cast<std::shared_ptr<TSegmentReach>*>(data);
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_EVENT_FLUSH) {
        if (GST_EVENT_TYPE(GST_PAD_PROBE_INFO_EVENT(info)) == GST_EVENT_FLUSH_STOP)
            reach.Reset();
        return GST_PAD_PROBE_OK;
    }
    GstBuffer* buffer = nullptr;
    if (GST_PAD_PROBE_INFO_TYPE(info) & GST_PAD_PROBE_TYPE_BUFFER_LIST) {
        GstBufferList* list = GST_PAD_PROBE_INFO_BUFFER_LIST(info);
        if (const guint length = list ? gst_buffer_list_length(list) : 0)
            buffer = gst_buffer_list_get(list, length - 1);
    } else {
        buffer = GST_PAD_PROBE_INFO_BUFFER(info);
    }
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return GST_PAD_PROBE_OK;
    GstEvent* event = gst_pad_get_sticky_event(pad, GST_EVENT_SEGMENT, 0);
    if (!event)
        return GST_PAD_PROBE_OK;
    const GstSegment* segment = nullptr;
    gst_event_parse_segment(event, &segment);
    GstClockTime end = GST_BUFFER_PTS(buffer);
    if (GST_BUFFER_DURATION_IS_VALID(buffer))
        end += GST_BUFFER_DURATION(buffer);
    // Stretched segments keep the recording's own times as stream time.
    const GstClockTime streamTime = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, end);
    if (GST_CLOCK_TIME_IS_VALID(streamTime))
        reach.Note(std::int64_t(streamTime));
    gst_event_unref(event);
    return GST_PAD_PROBE_OK;
}

std::string Ms(std::int64_t ms)
{
    return std::to_string(ms) + " ms";
}

}  // namespace

void TSegmentReach::Watch(const std::shared_ptr<TSegmentReach>& reach, GstPad* pad)
{
    gst_pad_add_probe(pad,
                      GstPadProbeType(GST_PAD_PROBE_TYPE_BUFFER | GST_PAD_PROBE_TYPE_BUFFER_LIST |
                                      GST_PAD_PROBE_TYPE_EVENT_FLUSH),
                      &Observe,
                      new std::shared_ptr<TSegmentReach>(reach),
                      [](gpointer data) { delete static_cast<std::shared_ptr<TSegmentReach>*>(data); });
}

std::optional<std::int64_t> TSegmentReach::ReachedNs() const
{
    const std::int64_t reached = FReachedNs;
    if (reached < 0)
        return std::nullopt;
    return reached;
}

void TSegmentReach::Note(std::int64_t streamTimeNs)
{
    std::int64_t reached = FReachedNs;
    while (streamTimeNs > reached && !FReachedNs.compare_exchange_weak(reached, streamTimeNs)) {
    }
}

std::string UnplayedSegmentReason(std::int64_t fromMs, std::int64_t endMs, bool toEnd,
                                  std::optional<std::int64_t> reachedMs)
{
    const std::string segment = "The part from " + Ms(fromMs) + " to " + Ms(endMs);
    if (endMs <= fromMs)
        return {};
    if (!reachedMs)
        return segment + " was not played: nothing of it reached the output.";
    if (!toEnd && *reachedMs < endMs - ShortfallToleranceMs)
        return segment + " was not played through: it ended at " + Ms(std::max(*reachedMs, fromMs)) + ".";
    return {};
}

}  // namespace olve
