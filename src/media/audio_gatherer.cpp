#include "media/audio_gatherer.h"

#include <gst/base/gstadapter.h>
#include <gst/gst.h>
#include <mutex>

namespace olve {

namespace {

constexpr GstClockTime PieceLength = 100 * GST_MSECOND;
// Times that meet within this are one stretch of sound: decoders round their times.
constexpr GstClockTime Seam = GST_MSECOND / 2;

struct TGathererState {
    std::mutex Mutex;
    GstAdapter* Adapter = gst_adapter_new();
    GstClockTime Start = GST_CLOCK_TIME_NONE;
    GstClockTime End = GST_CLOCK_TIME_NONE;
    bool Discont = false;
};

struct TGathererElement {
    GstElement Parent;
    GstPad* SinkPad;
    GstPad* SrcPad;
    TGathererState* State;
};

struct TGathererElementClass {
    GstElementClass Parent;
};

G_DEFINE_TYPE(TGathererElement, olve_gatherer_element, GST_TYPE_ELEMENT)

GstStaticPadTemplate SinkTemplate =
    GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS("audio/x-raw"));
GstStaticPadTemplate SrcTemplate =
    GST_STATIC_PAD_TEMPLATE("src", GST_PAD_SRC, GST_PAD_ALWAYS, GST_STATIC_CAPS("audio/x-raw"));

TGathererElement* GathererOf(GstObject* parent)
{
    return reinterpret_cast<TGathererElement*>(parent);
}

void Forget(TGathererState& state)
{
    gst_adapter_clear(state.Adapter);
    state.Start = GST_CLOCK_TIME_NONE;
    state.End = GST_CLOCK_TIME_NONE;
    state.Discont = false;
}

// The piece gathered so far with its times, or null; taken under the lock, pushed without it.
GstBuffer* TakePiece(TGathererState& state)
{
    const gsize size = gst_adapter_available(state.Adapter);
    if (size == 0)
        return nullptr;
    GstBuffer* piece = gst_adapter_take_buffer(state.Adapter, size);
    piece = gst_buffer_make_writable(piece);
    GST_BUFFER_PTS(piece) = state.Start;
    GST_BUFFER_DTS(piece) = GST_CLOCK_TIME_NONE;
    GST_BUFFER_DURATION(piece) = state.End - state.Start;
    GST_BUFFER_OFFSET(piece) = GST_BUFFER_OFFSET_NONE;
    GST_BUFFER_OFFSET_END(piece) = GST_BUFFER_OFFSET_NONE;
    if (state.Discont)
        GST_BUFFER_FLAG_SET(piece, GST_BUFFER_FLAG_DISCONT);
    else
        GST_BUFFER_FLAG_UNSET(piece, GST_BUFFER_FLAG_DISCONT);
    Forget(state);
    return piece;
}

GstFlowReturn PushPiece(TGathererElement* self, GstBuffer* piece)
{
    return piece ? gst_pad_push(self->SrcPad, piece) : GST_FLOW_OK;
}

GstFlowReturn SendGathered(TGathererElement* self)
{
    GstBuffer* piece = nullptr;
    {
        std::lock_guard lock(self->State->Mutex);
        piece = TakePiece(*self->State);
    }
    return PushPiece(self, piece);
}

bool Follows(const TGathererState& state, GstBuffer* buffer)
{
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    if (GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DISCONT) || !GST_CLOCK_TIME_IS_VALID(pts))
        return false;
    return pts + Seam >= state.End && pts <= state.End + Seam;
}

GstFlowReturn Chain(GstPad*, GstObject* parent, GstBuffer* buffer)
{
    TGathererElement* self = GathererOf(parent);
    const GstClockTime pts = GST_BUFFER_PTS(buffer);
    const GstClockTime duration = GST_BUFFER_DURATION(buffer);
    // A buffer without times cannot be placed in a piece: it goes on as it is.
    if (!GST_CLOCK_TIME_IS_VALID(pts) || !GST_CLOCK_TIME_IS_VALID(duration)) {
        const GstFlowReturn sent = SendGathered(self);
        if (sent != GST_FLOW_OK) {
            gst_buffer_unref(buffer);
            return sent;
        }
        return gst_pad_push(self->SrcPad, buffer);
    }
    TGathererState& state = *self->State;
    GstBuffer* before = nullptr;
    GstBuffer* full = nullptr;
    {
        std::lock_guard lock(state.Mutex);
        if (gst_adapter_available(state.Adapter) > 0 && !Follows(state, buffer))
            before = TakePiece(state);
        if (gst_adapter_available(state.Adapter) == 0) {
            state.Start = pts;
            state.Discont = GST_BUFFER_FLAG_IS_SET(buffer, GST_BUFFER_FLAG_DISCONT);
        }
        state.End = pts + duration;
        gst_adapter_push(state.Adapter, buffer);
        if (state.End - state.Start >= PieceLength)
            full = TakePiece(state);
    }
    const GstFlowReturn sent = PushPiece(self, before);
    if (sent != GST_FLOW_OK) {
        if (full)
            gst_buffer_unref(full);
        return sent;
    }
    return PushPiece(self, full);
}

gboolean SinkEvent(GstPad* pad, GstObject* parent, GstEvent* event)
{
    TGathererElement* self = GathererOf(parent);
    if (GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_STOP || GST_EVENT_TYPE(event) == GST_EVENT_FLUSH_START) {
        std::lock_guard lock(self->State->Mutex);
        Forget(*self->State);
    } else if (GST_EVENT_IS_SERIALIZED(event)) {
        // The sound before an event is heard before it. A push refused here is told by the
        // element that refused it, and again on the next buffer.
        SendGathered(self);
    }
    return gst_pad_event_default(pad, parent, event);
}

gboolean SinkQuery(GstPad* pad, GstObject* parent, GstQuery* query)
{
    if (GST_QUERY_TYPE(query) == GST_QUERY_DRAIN)
        SendGathered(GathererOf(parent));
    return gst_pad_query_default(pad, parent, query);
}

GstStateChangeReturn ChangeState(GstElement* element, GstStateChange transition)
{
    const GstStateChangeReturn result =
        GST_ELEMENT_CLASS(olve_gatherer_element_parent_class)->change_state(element, transition);
    if (transition == GST_STATE_CHANGE_PAUSED_TO_READY) {
        TGathererState& state = *reinterpret_cast<TGathererElement*>(element)->State;
        std::lock_guard lock(state.Mutex);
        Forget(state);
    }
    return result;
}

void Finalize(GObject* object)
{
    TGathererState* state = reinterpret_cast<TGathererElement*>(object)->State;
    g_object_unref(state->Adapter);
    delete state;
    G_OBJECT_CLASS(olve_gatherer_element_parent_class)->finalize(object);
}

void olve_gatherer_element_class_init(TGathererElementClass* klass)
{
    G_OBJECT_CLASS(klass)->finalize = &Finalize;
    GstElementClass* element = GST_ELEMENT_CLASS(klass);
    element->change_state = &ChangeState;
    gst_element_class_add_static_pad_template(element, &SinkTemplate);
    gst_element_class_add_static_pad_template(element, &SrcTemplate);
    gst_element_class_set_static_metadata(element, "Olve audio gatherer", "Filter/Audio",
                                          "Joins small audio buffers into larger pieces", "Olve Player");
}

void olve_gatherer_element_init(TGathererElement* self)
{
    self->State = new TGathererState;
    self->SinkPad = gst_pad_new_from_static_template(&SinkTemplate, "sink");
    gst_pad_set_chain_function(self->SinkPad, &Chain);
    gst_pad_set_event_function(self->SinkPad, &SinkEvent);
    gst_pad_set_query_function(self->SinkPad, &SinkQuery);
    GST_PAD_SET_PROXY_CAPS(self->SinkPad);
    GST_PAD_SET_PROXY_ALLOCATION(self->SinkPad);
    gst_element_add_pad(GST_ELEMENT(self), self->SinkPad);
    self->SrcPad = gst_pad_new_from_static_template(&SrcTemplate, "src");
    GST_PAD_SET_PROXY_CAPS(self->SrcPad);
    gst_element_add_pad(GST_ELEMENT(self), self->SrcPad);
}

}  // namespace

GstElement* MakeAudioGatherer()
{
    return static_cast<GstElement*>(g_object_new(olve_gatherer_element_get_type(), nullptr));
}

}  // namespace olve
