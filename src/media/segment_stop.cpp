#include "media/segment_stop.h"

#include <gst/gst.h>

#include <algorithm>

namespace olve {

namespace {

GstPadProbeReturn CutSegment(GstPad*, GstPadProbeInfo* info, gpointer data)
{
    GstEvent* event = GST_PAD_PROBE_INFO_EVENT(info);
    const auto stop = (*static_cast<std::shared_ptr<TSegmentStop>*>(data))->Get();
    if (GST_EVENT_TYPE(event) != GST_EVENT_SEGMENT || !stop)
        return GST_PAD_PROBE_OK;
    const GstSegment* given = nullptr;
    gst_event_parse_segment(event, &given);
    if (given->format != GST_FORMAT_TIME || given->rate < 0)
        return GST_PAD_PROBE_OK;
    GstSegment segment;
    gst_segment_copy_into(given, &segment);
    const guint64 cut = gst_segment_position_from_stream_time(&segment, GST_FORMAT_TIME, GstClockTime(*stop));
    if (!GST_CLOCK_TIME_IS_VALID(cut) || (GST_CLOCK_TIME_IS_VALID(segment.stop) && cut >= segment.stop))
        return GST_PAD_PROBE_OK;
    segment.stop = std::max<guint64>(cut, segment.start);
    GstEvent* cutEvent = gst_event_new_segment(&segment);
    gst_event_set_seqnum(cutEvent, gst_event_get_seqnum(event));
    gst_event_unref(event);
    GST_PAD_PROBE_INFO_DATA(info) = cutEvent;
    return GST_PAD_PROBE_OK;
}

}  // namespace

void TSegmentStop::Watch(const std::shared_ptr<TSegmentStop>& stop, GstPad* pad)
{
    gst_pad_add_probe(pad, GST_PAD_PROBE_TYPE_EVENT_DOWNSTREAM, &CutSegment, new std::shared_ptr<TSegmentStop>(stop),
                      [](gpointer data) { delete static_cast<std::shared_ptr<TSegmentStop>*>(data); });
}

std::optional<std::int64_t> TSegmentStop::Get() const
{
    const std::int64_t stop = FStopNs;
    if (stop < 0)
        return std::nullopt;
    return stop;
}

}  // namespace olve
