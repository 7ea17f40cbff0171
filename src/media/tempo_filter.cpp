#include "media/tempo_filter.h"

#include <cmath>
#include <gst/gst.h>
#include <mutex>
#include <optional>
#include <vector>

#include "media/tempo_stretch.h"

namespace olve {

namespace {

struct TTempoState {
    std::mutex Mutex;
    int SampleRate = 0;
    int Channels = 0;
    GstSegment Segment;
    double Rate = 1.0;
    std::optional<TTempoStretch> Stretch;
    // The time of the segment's first output frame.
    GstClockTime FirstOut = GST_CLOCK_TIME_NONE;
};

struct TTempoElement {
    GstElement Parent;
    GstPad* SinkPad;
    GstPad* SrcPad;
    TTempoState* State;
};

struct TTempoElementClass {
    GstElementClass Parent;
};

G_DEFINE_TYPE(TTempoElement, olve_tempo_element, GST_TYPE_ELEMENT)

#define OLVE_TEMPO_CAPS \
    "audio/x-raw, format=(string)F32LE, layout=(string)interleaved, rate=(int)[1, MAX], channels=(int)[1, MAX]"

GstStaticPadTemplate SinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS(OLVE_TEMPO_CAPS));
GstStaticPadTemplate SrcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS(OLVE_TEMPO_CAPS));

TTempoElement* TempoOf(GstObject* parent)
{
    return reinterpret_cast<TTempoElement*>(parent);
}

bool IsStretching(const TTempoState& state)
{
    return state.Stretch && std::fabs(state.Rate - 1.0) > 1e-9;
}

gsize FrameBytes(const TTempoState& state)
{
    return sizeof(float) * gsize(state.Channels);
}

GstClockTime FramesToTime(std::int64_t frames, int sampleRate)
{
    return gst_util_uint64_scale_int(guint64(frames), GST_SECOND, sampleRate);
}

// Where a moment of the incoming segment is heard in the outgoing one.
GstClockTime StretchedTime(const TTempoState& state, GstClockTime time)
{
    const GstClockTime start = state.Segment.start;
    if (time < start)
        return start;
    return start + GstClockTime(double(time - start) / state.Rate);
}

// The part of a buffer inside the segment: what a seek's stop cuts off is never played.
GstBuffer* ClipToSegment(const TTempoState& state, GstBuffer* buffer)
{
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (state.Segment.format != GST_FORMAT_TIME || !GST_CLOCK_TIME_IS_VALID(pts))
        return buffer;
    const guint64 frames = gst_buffer_get_size(buffer) / FrameBytes(state);
    const GstClockTime end = pts + FramesToTime(std::int64_t(frames), state.SampleRate);
    guint64 start = 0;
    guint64 stop = 0;
    if (!gst_segment_clip(&state.Segment, GST_FORMAT_TIME, pts, end, &start, &stop)) {
        gst_buffer_unref(buffer);
        return nullptr;
    }
    const guint64 head = gst_util_uint64_scale_int_round(start - pts, state.SampleRate, GST_SECOND);
    const guint64 tail = gst_util_uint64_scale_int_round(end - stop, state.SampleRate, GST_SECOND);
    if (head == 0 && tail == 0)
        return buffer;
    GstBuffer* clipped = nullptr;
    if (head + tail < frames) {
        const gsize bytes = FrameBytes(state);
        clipped = gst_buffer_copy_region(buffer, GST_BUFFER_COPY_ALL, head * bytes, (frames - head - tail) * bytes);
        GST_BUFFER_PTS(clipped) = start;
    }
    gst_buffer_unref(buffer);
    return clipped;
}

// Output and its time, taken under the lock and pushed without it.
struct TOutput {
    std::vector<float> Samples;
    GstClockTime Pts = GST_CLOCK_TIME_NONE;
    bool Discont = false;
    int Channels = 1;
    int SampleRate = 1;
};

TOutput StartOutput(const TTempoState& state)
{
    TOutput output;
    output.Pts = state.FirstOut + FramesToTime(state.Stretch->FramesOut(), state.SampleRate);
    output.Discont = state.Stretch->FramesOut() == 0;
    output.Channels = state.Channels;
    output.SampleRate = state.SampleRate;
    return output;
}

GstFlowReturn PushFrames(TTempoElement* self, const TOutput& output)
{
    if (output.Samples.empty())
        return GST_FLOW_OK;
    const gsize bytes = output.Samples.size() * sizeof(float);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(buffer, 0, output.Samples.data(), bytes);
    GST_BUFFER_PTS(buffer) = output.Pts;
    GST_BUFFER_DURATION(buffer) =
        FramesToTime(std::int64_t(output.Samples.size()) / output.Channels, output.SampleRate);
    if (output.Discont)
        GST_BUFFER_FLAG_SET(buffer, GST_BUFFER_FLAG_DISCONT);
    return gst_pad_push(self->SrcPad, buffer);
}

// Takes the buffer; false when its samples could not be read.
bool TakeBuffer(TTempoState& state, GstBuffer* buffer, TOutput& output)
{
    buffer = ClipToSegment(state, buffer);
    if (!buffer)
        return true;
    if (!GST_CLOCK_TIME_IS_VALID(state.FirstOut)) {
        const GstClockTime pts = GST_BUFFER_PTS(buffer);
        state.FirstOut = StretchedTime(state, GST_CLOCK_TIME_IS_VALID(pts) ? pts : state.Segment.start);
    }
    output = StartOutput(state);
    GstMapInfo map;
    const bool mapped = gst_buffer_map(buffer, &map, GST_MAP_READ);
    if (mapped) {
        state.Stretch->Push(reinterpret_cast<const float*>(map.data), map.size / FrameBytes(state), output.Samples);
        gst_buffer_unmap(buffer, &map);
    }
    gst_buffer_unref(buffer);
    return mapped;
}

GstFlowReturn Chain(GstPad*, GstObject* parent, GstBuffer* buffer)
{
    TTempoElement* self = TempoOf(parent);
    TTempoState& state = *self->State;
    std::unique_lock lock(state.Mutex);
    if (!IsStretching(state)) {
        // Decoders clip to the stop; a segment whose stop was moved in after them is clipped here.
        if (state.Stretch)
            buffer = ClipToSegment(state, buffer);
        lock.unlock();
        return buffer ? gst_pad_push(self->SrcPad, buffer) : GST_FLOW_OK;
    }
    TOutput output;
    const bool read = TakeBuffer(state, buffer, output);
    lock.unlock();
    if (!read) {
        GST_ELEMENT_ERROR(self, RESOURCE, READ, ("The sound of the recording could not be read."), (nullptr));
        return GST_FLOW_ERROR;
    }
    return PushFrames(self, output);
}

// The rest of the segment, before whatever ends it is passed on.
void Drain(TTempoElement* self)
{
    TTempoState& state = *self->State;
    TOutput output;
    {
        std::lock_guard lock(state.Mutex);
        if (!IsStretching(state) || !GST_CLOCK_TIME_IS_VALID(state.FirstOut))
            return;
        output = StartOutput(state);
        state.Stretch->Finish(output.Samples);
    }
    // A push that fails here is told by the element that refused it.
    PushFrames(self, output);
}

void Restart(TTempoState& state)
{
    state.FirstOut = GST_CLOCK_TIME_NONE;
    if (state.Stretch)
        state.Stretch->Start(state.Rate);
}

void TakeCaps(TTempoElement* self, GstEvent* event)
{
    GstCaps* caps = nullptr;
    gst_event_parse_caps(event, &caps);
    const GstStructure* structure = gst_caps_get_structure(caps, 0);
    int sampleRate = 0;
    int channels = 0;
    if (!gst_structure_get_int(structure, "rate", &sampleRate) ||
        !gst_structure_get_int(structure, "channels", &channels))
        return;
    TTempoState& state = *self->State;
    {
        std::lock_guard lock(state.Mutex);
        if (state.Stretch && sampleRate == state.SampleRate && channels == state.Channels)
            return;
    }
    Drain(self);
    std::lock_guard lock(state.Mutex);
    state.SampleRate = sampleRate;
    state.Channels = channels;
    state.Stretch.emplace(sampleRate, channels);
    Restart(state);
}

// Downstream plays the stretched segment at the recorded speed, and knows that it was
// stretched, so that positions are still those of the media.
gboolean TakeSegment(TTempoElement* self, GstEvent* event)
{
    Drain(self);
    GstSegment segment;
    gst_event_copy_segment(event, &segment);
    TTempoState& state = *self->State;
    bool stretching = false;
    {
        std::lock_guard lock(state.Mutex);
        state.Segment = segment;
        state.Rate = segment.format == GST_FORMAT_TIME && segment.rate > 0 ? segment.rate : 1.0;
        Restart(state);
        stretching = IsStretching(state);
        if (stretching) {
            segment.applied_rate *= segment.rate;
            segment.rate = 1.0;
            if (GST_CLOCK_TIME_IS_VALID(segment.stop))
                segment.stop = StretchedTime(state, segment.stop);
        }
    }
    if (stretching) {
        GstEvent* stretched = gst_event_new_segment(&segment);
        gst_event_set_seqnum(stretched, gst_event_get_seqnum(event));
        gst_event_unref(event);
        event = stretched;
    }
    return gst_pad_push_event(self->SrcPad, event);
}

GstEvent* StretchGap(TTempoState& state, GstEvent* event)
{
    std::lock_guard lock(state.Mutex);
    if (!IsStretching(state))
        return event;
    GstClockTime time = 0;
    GstClockTime duration = 0;
    gst_event_parse_gap(event, &time, &duration);
    GstEvent* gap = gst_event_new_gap(StretchedTime(state, time), GST_CLOCK_TIME_IS_VALID(duration)
                                                                     ? GstClockTime(double(duration) / state.Rate)
                                                                     : GST_CLOCK_TIME_NONE);
    gst_event_unref(event);
    return gap;
}

gboolean SinkEvent(GstPad* pad, GstObject* parent, GstEvent* event)
{
    TTempoElement* self = TempoOf(parent);
    switch (GST_EVENT_TYPE(event)) {
    case GST_EVENT_CAPS:
        TakeCaps(self, event);
        break;
    case GST_EVENT_SEGMENT:
        return TakeSegment(self, event);
    case GST_EVENT_EOS:
        Drain(self);
        break;
    case GST_EVENT_GAP:
        event = StretchGap(*self->State, event);
        break;
    case GST_EVENT_FLUSH_STOP: {
        // What was queued before a flushing seek belongs to no segment that will play.
        std::lock_guard lock(self->State->Mutex);
        gst_segment_init(&self->State->Segment, GST_FORMAT_UNDEFINED);
        Restart(*self->State);
        break;
    }
    default:
        break;
    }
    return gst_pad_event_default(pad, parent, event);
}

GstStateChangeReturn ChangeState(GstElement* element, GstStateChange transition)
{
    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(olve_tempo_element_parent_class)->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
        TTempoState& state = *reinterpret_cast<TTempoElement*>(element)->State;
        std::lock_guard lock(state.Mutex);
        Restart(state);
    }
    return result;
}

void Finalize(GObject* object)
{
    delete reinterpret_cast<TTempoElement*>(object)->State;
    G_OBJECT_CLASS(olve_tempo_element_parent_class)->finalize(object);
}

void olve_tempo_element_class_init(TTempoElementClass* klass)
{
    G_OBJECT_CLASS(klass)->finalize = &Finalize;
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    element->change_state = &ChangeState;
    gst_element_class_add_static_pad_template(element, &SinkTemplate);
    gst_element_class_add_static_pad_template(element, &SrcTemplate);
    gst_element_class_set_static_metadata(element, "Olve tempo", "Filter/Effect/Audio",
                                          "Plays segments faster or slower with the pitch kept", "Olve Player");
}

void olve_tempo_element_init(TTempoElement* self)
{
    self->State = new TTempoState;
    gst_segment_init(&self->State->Segment, GST_FORMAT_UNDEFINED);
    self->SinkPad = gst_pad_new_from_static_template(&SinkTemplate, "sink");
    gst_pad_set_chain_function(self->SinkPad, &Chain);
    gst_pad_set_event_function(self->SinkPad, &SinkEvent);
    GST_PAD_SET_PROXY_CAPS(self->SinkPad);
    gst_element_add_pad(GST_ELEMENT(self), self->SinkPad);
    self->SrcPad = gst_pad_new_from_static_template(&SrcTemplate, "src");
    GST_PAD_SET_PROXY_CAPS(self->SrcPad);
    gst_element_add_pad(GST_ELEMENT(self), self->SrcPad);
}

void AddGhostPad(GstElement* bin, GstElement* element, const char* name)
{
    GstPad* pad = gst_element_get_static_pad(element, name);
    gst_element_add_pad(bin, gst_ghost_pad_new(name, pad));
    gst_object_unref(pad);
}

}  // namespace

GstElement* MakeTempoFilter()
{
    // Decoders give what they like; the stretch works on floats.
    GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
    if (!convert)
        return nullptr;
    auto* tempo = static_cast<GstElement*>(g_object_new(olve_tempo_element_get_type(), nullptr));
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), convert, tempo, nullptr);
    gst_element_link(convert, tempo);
    AddGhostPad(bin, convert, "sink");
    AddGhostPad(bin, tempo, "src");
    return bin;
}

}  // namespace olve
