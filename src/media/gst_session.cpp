#include "media/gst_session.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <utility>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "media/aac_priming.h"
#include "media/audio_gatherer.h"
#include "media/audio_output.h"
#include "media/gst_pipeline_keeper.h"
#include "media/ogg_header_pages.h"
#include "media/tempo_filter.h"

namespace olve {

namespace {

// playbin's flags: video, audio and software volume; no subtitles drawn into the picture.
constexpr unsigned PlayFlagVideo = 1 << 0;
constexpr unsigned PlayFlagAudio = 1 << 1;
constexpr unsigned PlayFlagSoftVolume = 1 << 4;

// How long destroying a session waits for its pipeline to stop; a read that hangs during
// playback keeps it from stopping at all.
constexpr int StopTimeoutMs = 3000;

// How far ahead of the clock a play's first sample is due. A sound server plays from the moment
// the pipeline starts; samples that reach it later than they are due are dropped, so without
// this lead every segment after the first lost its first 5-25 ms (and a fresh stream needs more).
constexpr GstClockTime StartDelay = 100 * GST_MSECOND;

// Frames are kept no larger than this until the display tells its size: a frame of a huge
// video at its own size takes hundreds of megabytes.
const QSize FirstFrameBound(1920, 1080);

// Scaled down to fit the bound with the picture's shape kept, never scaled up.
GstCaps* FrameCaps(QSize bound)
{
    return gst_caps_new_simple("video/x-raw", "format", G_TYPE_STRING, "BGRx", "width", GST_TYPE_INT_RANGE, 1,
                               std::max(bound.width(), 1), "height", GST_TYPE_INT_RANGE, 1,
                               std::max(bound.height(), 1), "pixel-aspect-ratio", GST_TYPE_FRACTION, 1, 1, nullptr);
}

// Scaled while still in the decoder's format, so that no frame is ever converted at full size.
GstElement* MakeFrameSink(GstElement* filter, GstElement* sink)
{
    GstElement* scale = gst_element_factory_make("videoscale", nullptr);
    GstElement* convert = gst_element_factory_make("videoconvert", nullptr);
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), scale, convert, filter, sink, nullptr);
    gst_element_link_many(scale, convert, filter, sink, nullptr);
    GstPad* pad = gst_element_get_static_pad(scale, "sink");
    gst_element_add_pad(bin, gst_ghost_pad_new("sink", pad));
    gst_object_unref(pad);
    return bin;
}

void EnsureGstreamer()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

// A message dropped here is the handler's to free: each holds its source, and one left holds
// the whole pipeline, its bus's descriptors and its memory for ever.
GstBusSyncReply BusSync(GstBus*, GstMessage* message, gpointer keeper)
{
    static_cast<TGstPipelineKeeper*>(keeper)->Deliver(message);
    gst_message_unref(message);
    return GST_BUS_DROP;
}

// The tempo filter keeps the pitch at a rate other than 1; the gatherer spares the sink most
// of its wake-ups.
GstElement* MakeAudioFilter()
{
    GstElement* tempo = MakeTempoFilter();
    if (!tempo)
        return nullptr;
    GstElement* gatherer = MakeAudioGatherer();
    GstElement* bin = gst_bin_new(nullptr);
    gst_bin_add_many(GST_BIN(bin), tempo, gatherer, nullptr);
    gst_element_link(tempo, gatherer);
    for (auto [element, name] : {std::pair{tempo, "sink"}, std::pair{gatherer, "src"}}) {
        GstPad* pad = gst_element_get_static_pad(element, name);
        gst_element_add_pad(bin, gst_ghost_pad_new(name, pad));
        gst_object_unref(pad);
    }
    return bin;
}

bool WatchPad(const std::shared_ptr<TSegmentReach>& reach, GstElement* element, const char* name)
{
    GstPad* pad = gst_element_get_static_pad(element, name);
    if (!pad)
        return false;
    TSegmentReach::Watch(reach, pad);
    gst_object_unref(pad);
    return true;
}

void CutSegments(const std::shared_ptr<TSegmentCut>& cut, GstElement* element)
{
    GstPad* pad = gst_element_get_static_pad(element, "sink");
    TSegmentCut::Watch(cut, pad);
    gst_object_unref(pad);
}

// What reaches the sinks of a sink bin; false when it has none.
bool WatchSinks(const std::shared_ptr<TSegmentReach>& reach, GstElement* bin)
{
    bool watched = false;
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(bin));
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        if (GST_OBJECT_FLAG_IS_SET(element, GST_ELEMENT_FLAG_SINK))
            watched = WatchPad(reach, element, "sink") || watched;
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(elements);
    return watched;
}

// Demuxers that would end segments early read the file with the patches that keep them going.
void MendDemuxers(GstElement* pipeline, const std::string& path)
{
    MendOggDemuxers(pipeline, path);
    PatchPulledBytes(pipeline, "qtdemux", [path] { return AacEditEndPatches(path); });
}

GstFlowReturn NewPreroll(GstAppSink* sink, gpointer keeper)
{
    static_cast<TGstPipelineKeeper*>(keeper)->Deliver(gst_app_sink_pull_preroll(sink));
    return GST_FLOW_OK;
}

GstFlowReturn NewSample(GstAppSink* sink, gpointer keeper)
{
    static_cast<TGstPipelineKeeper*>(keeper)->Deliver(gst_app_sink_pull_sample(sink));
    return GST_FLOW_OK;
}

}  // namespace

TGstSession::TGstSession(const QString& fileName, const QString& audioSink, bool pictures)
    : FFileName(fileName), FPictures(pictures)
{
    EnsureGstreamer();
    FPipeline = gst_element_factory_make("playbin", nullptr);
    if (!FPipeline)
        return;
    g_object_set(FPipeline, "flags", (pictures ? PlayFlagVideo : 0) | PlayFlagAudio | PlayFlagSoftVolume, nullptr);

    const QString chosenSink = audioSink.isEmpty() ? QString::fromStdString(ChooseAudioSink(SoundPlacesOfThisProcess())) : audioSink;
    bool soundWatched = false;
    if (!chosenSink.isEmpty()) {
        GError* error = nullptr;
        GstElement* sink = gst_parse_bin_from_description(chosenSink.toUtf8().constData(), TRUE, &error);
        g_clear_error(&error);
        if (sink) {
            soundWatched = WatchSinks(FReach, sink);
            g_object_set(FPipeline, "audio-sink", sink, nullptr);
        }
    }

    if (GstElement* filter = MakeAudioFilter()) {
        // The desktop's own output is made by playbin; what leaves the filter goes to it.
        if (!soundWatched)
            WatchPad(FReach, filter, "src");
        CutSegments(FCut, filter);
        g_object_set(FPipeline, "audio-filter", filter, nullptr);
    }
    MendDemuxers(FPipeline, QFile::encodeName(QFileInfo(fileName).absoluteFilePath()).toStdString());

    FKeeper = std::make_shared<TGstPipelineKeeper>(FPipeline, this);
    if (pictures)
        AddFrameSink();
    else
        // Without a sink of its own playbin would look for the desktop's, and probing some of
        // them (a frame-buffer library) crashes where there is no such device.
        g_object_set(FPipeline, "video-sink", gst_element_factory_make("fakesink", nullptr), nullptr);

    GstBus* bus = gst_element_get_bus(FPipeline);
    gst_bus_set_sync_handler(bus, &BusSync, FKeeper.get(), nullptr);
    gst_object_unref(bus);
}

void TGstSession::AddFrameSink()
{
    GstElement* videoSink = gst_element_factory_make("appsink", nullptr);
    g_object_set(videoSink, "sync", TRUE, "max-buffers", 1, "drop", TRUE, nullptr);
    FFrameFilter = gst_element_factory_make("capsfilter", nullptr);
    SetFrameBound(FirstFrameBound);
    // The keeper outlives the pipeline, and with it these callbacks.
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &NewPreroll;
    callbacks.new_sample = &NewSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(videoSink), &callbacks, FKeeper.get(), nullptr);
    GstElement* frameSink = MakeFrameSink(FFrameFilter, videoSink);
    WatchPad(FReach, frameSink, "sink");
    CutSegments(FCut, frameSink);
    g_object_set(FPipeline, "video-sink", frameSink, nullptr);
}

TGstSession::~TGstSession()
{
    // No callback reaches this session after Release.
    if (FKeeper)
        FKeeper->Release(StopTimeoutMs);
    if (FLatestSample)
        gst_sample_unref(FLatestSample);
}

std::string TGstSession::Open(int timeoutMs)
{
    if (!FKeeper)
        return "GStreamer's playbin is not installed";
    return FKeeper->Open(FFileName, timeoutMs, FInfo);
}

void TGstSession::PostError(const std::string& text)
{
    QMetaObject::invokeMethod(this, [this, text] {
        if (OnError)
            OnError(text);
    }, Qt::QueuedConnection);
}

void TGstSession::PostEndOfStream(unsigned seqnum)
{
    QMetaObject::invokeMethod(this, [this, seqnum] {
        // An end posted before the latest seek belongs to a segment no longer playing.
        if (seqnum != FSeekSeqnum)
            return;
        const std::string unplayed = UnplayedReason();
        if (!unplayed.empty()) {
            // The pipeline would tell the stop as its position: it was never got to.
            FUnplayedAt = std::max(ReachedMs().value_or(FSegmentFromMs), FSegmentFromMs);
            if (OnError)
                OnError(unplayed);
        } else if (OnEndOfSegment) {
            OnEndOfSegment();
        }
    }, Qt::QueuedConnection);
}

// What is played is watched on its way out: sound always, pictures when they are shown.
std::string TGstSession::UnplayedReason() const
{
    if (!FInfo.HasAudio && !(FPictures && FInfo.HasVideo))
        return {};
    const bool toEnd = FSegmentToMs < 0 || FSegmentToMs >= FInfo.DurationMs;
    return UnplayedSegmentReason(FSegmentFromMs, toEnd ? FInfo.DurationMs : FSegmentToMs, toEnd, ReachedMs());
}

std::optional<qint64> TGstSession::ReachedMs() const
{
    const std::optional<std::int64_t> reached = FReach->ReachedNs();
    if (!reached)
        return std::nullopt;
    return std::max<std::int64_t>(*reached - FInfo.StartPaddingNs, 0) / GST_MSECOND;
}

bool TGstSession::Seek(qint64 fromMs, qint64 toMs, double rate)
{
    FSegmentFromMs = fromMs;
    FSegmentToMs = toMs;
    FUnplayedAt.reset();
    FReach->Reset();
    const qint64 start = fromMs * GST_MSECOND + FInfo.StartPaddingNs;
    std::optional<qint64> stop;
    if (toMs >= 0)
        stop = toMs * GST_MSECOND + FInfo.StartPaddingNs;
    else if (FInfo.StopPaddingNs > 0)
        stop = FInfo.DurationMs * GST_MSECOND + FInfo.StartPaddingNs;
    // A decoder that needs what came before is started earlier, and a demuxer that ends
    // segments early is told a later stop; the sound is cut at the real edges.
    const qint64 decodeFrom = std::max<qint64>(start - FInfo.StartRollNs, 0);
    FCut->Set(decodeFrom < start ? std::optional(start) : std::nullopt, FInfo.StopPaddingNs > 0 ? stop : std::nullopt);
    GstEvent* seek = gst_event_new_seek(rate, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                        GST_SEEK_TYPE_SET, decodeFrom, GST_SEEK_TYPE_SET,
                                        stop ? GstClockTime(*stop + FInfo.StopPaddingNs) : GST_CLOCK_TIME_NONE);
    FSeekSeqnum = gst_event_get_seqnum(seek);
    return gst_element_send_event(FPipeline, seek);
}

bool TGstSession::SetPlaying(bool playing)
{
    if (!playing)
        return gst_element_set_state(FPipeline, GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
    // Only a start gets the lead: a flushing seek while playing (a new speed) restarts at once.
    gst_pipeline_set_delay(GST_PIPELINE(FPipeline), StartDelay);
    const bool started = gst_element_set_state(FPipeline, GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
    gst_pipeline_set_delay(GST_PIPELINE(FPipeline), 0);
    return started;
}

void TGstSession::WaitUntilSettled(int timeoutMs)
{
    gst_element_get_state(FPipeline, nullptr, nullptr, GstClockTime(timeoutMs) * GST_MSECOND);
}

std::optional<qint64> TGstSession::PositionMs() const
{
    if (FUnplayedAt)
        return FUnplayedAt;
    gint64 position = -1;
    if (!gst_element_query_position(FPipeline, GST_FORMAT_TIME, &position) || position < 0)
        return std::nullopt;
    return std::max<qint64>(position - FInfo.StartPaddingNs, 0) / GST_MSECOND;
}

void TGstSession::SetVolume(double volume)
{
    if (FPipeline)
        g_object_set(FPipeline, "volume", volume, nullptr);
}

void TGstSession::SetFrameBound(QSize bound)
{
    if (!FFrameFilter)
        return;
    GstCaps* caps = FrameCaps(bound);
    g_object_set(FFrameFilter, "caps", caps, nullptr);
    gst_caps_unref(caps);
}

void TGstSession::SetWantFrames(bool want)
{
    FWantFrames = want;
}

void TGstSession::TakeSample(GstSample* sample)
{
    if (!sample)
        return;
    std::lock_guard lock(FFrameMutex);
    if (FLatestSample)
        gst_sample_unref(FLatestSample);
    FLatestSample = sample;
    if (!FWantFrames || FFramePosted)
        return;
    FFramePosted = true;
    QMetaObject::invokeMethod(this, [this] { DeliverFrame(); }, Qt::QueuedConnection);
}

TVideoFrame TGstSession::LatestFrame() const
{
    GstSample* sample = nullptr;
    {
        std::lock_guard lock(FFrameMutex);
        if (FLatestSample)
            sample = gst_sample_ref(FLatestSample);
    }
    if (!sample)
        return {};
    TVideoFrame frame;
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) && buffer &&
        gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
        if (map.size >= gsize(stride) * info.height)
            frame = {info.width, info.height, stride,
                     QByteArray(reinterpret_cast<const char*>(map.data), qsizetype(stride) * info.height)};
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return frame;
}

void TGstSession::DeliverFrame()
{
    {
        std::lock_guard lock(FFrameMutex);
        FFramePosted = false;
    }
    if (OnFrame)
        OnFrame(LatestFrame());
}

}  // namespace olve
