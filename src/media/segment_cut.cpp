#include "media/segment_cut.h"

#include <gst/gst.h>

#include <algorithm>

namespace olve {

namespace {

// The segment's start raised to the cut; its stream time and running time move with it.
bool CutStart(GstSegment& segment, std::int64_t startNs)
{
    const guint64 cut = gst_segment_position_from_stream_time(&segment, GST_FORMAT_TIME, GstClockTime(startNs));
    if (!GST_CLOCK_TIME_IS_VALID(cut) || cut <= segment.start ||
        (GST_CLOCK_TIME_IS_VALID(segment.stop) && cut >= segment.stop))
        return false;
    segment.start = cut;
    segment.time = GstClockTime(startNs);
    segment.position = cut;
    return true;
}

bool CutStop(GstSegment& segment, std::int64_t stopNs)
{
    const guint64 cut = gst_segment_position_from_stream_time(&segment, GST_FORMAT_TIME, GstClockTime(stopNs));
    if (!GST_CLOCK_TIME_IS_VALID(cut) || (GST_CLOCK_TIME_IS_VALID(segment.stop) && cut >= segment.stop))
        return false;
    segment.stop = std::max<guint64>(cut, segment.start);
    return true;
}

GstPadProbeReturn CutSegment(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    if (GST_EVENT_TYPE(event) != GST_EVENT_SEGMENT)
        return GST_PAD_PROBE_OK;
    const TSegmentCut& cut = **static_cast<std::shared_ptr<TSegmentCut>*>(data);
    const auto start = cut.Start();
    const auto stop = cut.Stop();
    if (!start && !stop)
        return GST_PAD_PROBE_OK;
    const GstSegment* given = nullptr;
    gst_event_parse_segment(event, &given);
    if (given->format != GST_FORMAT_TIME || given->rate < 0)
        return GST_PAD_PROBE_OK;
    GstSegment segment;
    gst_segment_copy_into(given, &segment);
    const bool stopCut = stop && CutStop(segment, *stop);
    const bool startCut = start && CutStart(segment, *start);
    if (!stopCut && !startCut)
        return GST_PAD_PROBE_OK;
    GstEvent* cutEvent = gst_event_new_segment(&segment);
    gst_event_set_seqnum(cutEvent, gst_event_get_seqnum(event));
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = cutEvent;
    return GST_PAD_PROBE_OK;
}

}  // namespace

void TSegmentCut::Watch(const std::shared_ptr<TSegmentCut>& cut, GstPad* pad)
{
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &CutSegment, new std::shared_ptr<TSegmentCut>(cut),
                      [](gpointer data) { delete static_cast<std::shared_ptr<TSegmentCut>*>(data); });
}

std::optional<std::int64_t> TSegmentCut::Edge(const std::atomic<std::int64_t>& ns)
{
    const std::int64_t value = ns;
    if (value < 0)
        return std::nullopt;
    return value;
}

}  // namespace olve
