#include "media/gst_session.h"

#include <QFileInfo>
#include <algorithm>
#include <QMetaObject>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <gst/pbutils/missing-plugins.h>
#include <gst/video/video.h>

#include "media/device_error.h"
#include "media/mp3_delay.h"

namespace olve {

namespace {

// playbin's flags: video, audio and software volume; no subtitles drawn into the picture.
constexpr unsigned PlayFlagVideo = 1 << 0;
constexpr unsigned PlayFlagAudio = 1 << 1;
constexpr unsigned PlayFlagSoftVolume = 1 << 4;

void EnsureGstreamer()
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
}

std::string ErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error && error->message ? error->message : UnknownErrorText;
    g_clear_error(&error);
    g_free(debug);
    return text;
}

}  // namespace

struct TGstCallbacks {
    static GstBusSyncReply BusSync(GstBus*, GstMessage* message, gpointer self)
    {
        static_cast<TGstSession*>(self)->HandleMessage(message);
        return GST_BUS_DROP;
    }
    static GstFlowReturn NewPreroll(GstAppSink* sink, gpointer self)
    {
        static_cast<TGstSession*>(self)->TakeSample(gst_app_sink_pull_preroll(sink));
        return GST_FLOW_OK;
    }
    static GstFlowReturn NewSample(GstAppSink* sink, gpointer self)
    {
        static_cast<TGstSession*>(self)->TakeSample(gst_app_sink_pull_sample(sink));
        return GST_FLOW_OK;
    }
};

TGstSession::TGstSession(const QString& fileName, const QString& audioSink) : FFileName(fileName)
{
    EnsureGstreamer();
    FPipeline = gst_element_factory_make("playbin", nullptr);
    if (!FPipeline)
        return;
    g_object_set(FPipeline, "flags", PlayFlagVideo | PlayFlagAudio | PlayFlagSoftVolume, nullptr);

    if (!audioSink.isEmpty()) {
        GError* error = nullptr;
        GstElement* sink = gst_parse_bin_from_description(audioSink.toUtf8().constData(), TRUE, &error);
        g_clear_error(&error);
        if (sink)
            g_object_set(FPipeline, "audio-sink", sink, nullptr);
    }

    FVideoSink = gst_element_factory_make("appsink", nullptr);
    GstCaps* caps = gst_caps_from_string("video/x-raw,format=BGRx");
    g_object_set(FVideoSink, "caps", caps, "sync", TRUE, "max-buffers", 1, "drop", TRUE, nullptr);
    gst_caps_unref(caps);
    GstAppSinkCallbacks callbacks{};
    callbacks.new_preroll = &TGstCallbacks::NewPreroll;
    callbacks.new_sample = &TGstCallbacks::NewSample;
    gst_app_sink_set_callbacks(GST_APP_SINK(FVideoSink), &callbacks, this, nullptr);
    g_object_set(FPipeline, "video-sink", FVideoSink, nullptr);

    GstBus* bus = gst_element_get_bus(FPipeline);
    gst_bus_set_sync_handler(bus, &TGstCallbacks::BusSync, this, nullptr);
    gst_object_unref(bus);
}

TGstSession::~TGstSession()
{
    if (FPipeline) {
        // Stopping joins GStreamer's threads: no callback runs after this.
        gst_element_set_state(FPipeline, GST_STATE_NULL);
        GstBus* bus = gst_element_get_bus(FPipeline);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(FPipeline);
    }
    if (FLatestSample)
        gst_sample_unref(FLatestSample);
}

std::string TGstSession::Open(int timeoutMs)
{
    if (!FPipeline)
        return "GStreamer's playbin is not installed";
    const QFileInfo file(FFileName);
    if (!file.isFile())
        return "Resource not found.";
    gchar* uri = gst_filename_to_uri(QFile::encodeName(file.absoluteFilePath()).constData(), nullptr);
    g_object_set(FPipeline, "uri", uri, nullptr);
    g_free(uri);

    {
        std::lock_guard lock(FOpenMutex);
        FOpenDone = false;
        FOpenError.clear();
    }
    if (gst_element_set_state(FPipeline, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE) {
        std::unique_lock lock(FOpenMutex);
        FOpenChanged.wait_for(lock, std::chrono::milliseconds(200), [&] { return FOpenDone; });
        return FOpenError.empty() ? UnknownErrorText : FOpenError;
    }
    std::unique_lock lock(FOpenMutex);
    if (!FOpenChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return FOpenDone; }))
        return "The media did not become ready in time.";
    if (!FOpenError.empty())
        return FOpenError;
    lock.unlock();
    ReadStreamInfo();
    return {};
}

void TGstSession::ReadStreamInfo()
{
    const TMp3Delay padding = UncompensatedMp3Delay(QFile::encodeName(QFileInfo(FFileName).absoluteFilePath()).toStdString());
    if (padding.Samples > 0 && padding.SampleRate > 0)
        FStartPaddingNs = gst_util_uint64_scale_int(GST_SECOND, padding.Samples, padding.SampleRate);
    gint64 duration = -1;
    if (gst_element_query_duration(FPipeline, GST_FORMAT_TIME, &duration) && duration >= 0)
        FDurationMs = std::max<qint64>(duration - FStartPaddingNs, 0) / GST_MSECOND;
    else
        FDurationMs = std::max<qint64>(ScanDurationMs() - FStartPaddingNs / GST_MSECOND, 0);

    gint videoStreams = 0;
    g_object_get(FPipeline, "n-video", &videoStreams, nullptr);
    FHasVideo = videoStreams > 0;
    if (!FHasVideo)
        return;
    GstPad* pad = gst_element_get_static_pad(FVideoSink, "sink");
    GstCaps* caps = pad ? gst_pad_get_current_caps(pad) : nullptr;
    GstVideoInfo info;
    if (caps && gst_video_info_from_caps(&info, caps)) {
        const int width = info.par_d > 0 ? static_cast<int>(gint64(info.width) * info.par_n / info.par_d) : info.width;
        FNaturalSize = QSize(width, info.height);
    }
    if (caps)
        gst_caps_unref(caps);
    if (pad)
        gst_object_unref(pad);
}

// Some files (MP3 without a header that gives the length) tell their duration only once
// they have been read through; their parser reads them fast without decoding.
qint64 TGstSession::ScanDurationMs() const
{
    GstElement* scan = gst_pipeline_new(nullptr);
    GstElement* source = gst_element_factory_make("filesrc", nullptr);
    GstElement* parser = gst_element_factory_make("parsebin", nullptr);
    GstElement* sink = gst_element_factory_make("fakesink", nullptr);
    if (!scan || !source || !parser || !sink) {
        for (GstElement* e : {scan, source, parser, sink})
            if (e)
                gst_object_unref(e);
        return 0;
    }
    g_object_set(source, "location", QFile::encodeName(QFileInfo(FFileName).absoluteFilePath()).constData(), nullptr);
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(scan), source, parser, sink, nullptr);
    gst_element_link(source, parser);
    g_signal_connect(parser, "pad-added", G_CALLBACK(+[](GstElement*, GstPad* pad, gpointer target) {
        GstPad* sinkPad = gst_element_get_static_pad(GST_ELEMENT(target), "sink");
        if (!gst_pad_is_linked(sinkPad))
            gst_pad_link(pad, sinkPad);
        gst_object_unref(sinkPad);
    }), sink);

    qint64 result = 0;
    gst_element_set_state(scan, GST_STATE_PLAYING);
    GstBus* bus = gst_element_get_bus(scan);
    GstMessage* message = gst_bus_timed_pop_filtered(bus, 10 * GST_SECOND,
                                                     GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gint64 position = -1;
    if (message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS &&
        gst_element_query_position(scan, GST_FORMAT_TIME, &position) && position > 0)
        result = position / GST_MSECOND;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(scan, GST_STATE_NULL);
    gst_object_unref(scan);
    return result;
}

void TGstSession::HandleMessage(GstMessage* message)
{
    const bool fromPipeline = GST_MESSAGE_SRC(message) == GST_OBJECT(FPipeline);
    switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_ASYNC_DONE:
        if (fromPipeline) {
            std::lock_guard lock(FOpenMutex);
            FOpenDone = true;
            FOpenChanged.notify_all();
        }
        break;
    case GST_MESSAGE_ELEMENT:
        if (gst_is_missing_plugin_message(message)) {
            gchar* description = gst_missing_plugin_message_get_description(message);
            std::lock_guard lock(FOpenMutex);
            if (!FOpenDone && FOpenError.empty()) {
                FOpenError = std::string("Your GStreamer installation is missing a plug-in: ") +
                             (description ? description : "unknown");
                FOpenDone = true;
                FOpenChanged.notify_all();
            }
            g_free(description);
        }
        break;
    case GST_MESSAGE_ERROR: {
        const std::string text = ErrorText(message);
        {
            std::lock_guard lock(FOpenMutex);
            if (!FOpenDone) {
                FOpenError = text;
                FOpenDone = true;
                FOpenChanged.notify_all();
                break;
            }
        }
        QMetaObject::invokeMethod(this, [this, text] {
            if (OnError)
                OnError(text);
        }, Qt::QueuedConnection);
        break;
    }
    case GST_MESSAGE_EOS: {
        const unsigned seqnum = gst_message_get_seqnum(message);
        QMetaObject::invokeMethod(this, [this, seqnum] {
            // An end posted before the latest seek belongs to a segment no longer playing.
            if (seqnum == FSeekSeqnum && OnEndOfSegment)
                OnEndOfSegment();
        }, Qt::QueuedConnection);
        break;
    }
    default:
        break;
    }
}

bool TGstSession::Seek(qint64 fromMs, qint64 toMs)
{
    GstEvent* seek = gst_event_new_seek(1.0, GST_FORMAT_TIME, GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                        GST_SEEK_TYPE_SET, fromMs * GST_MSECOND + FStartPaddingNs, GST_SEEK_TYPE_SET,
                                        toMs < 0 ? GST_CLOCK_TIME_NONE : GstClockTime(toMs * GST_MSECOND + FStartPaddingNs));
    FSeekSeqnum = gst_event_get_seqnum(seek);
    return gst_element_send_event(FPipeline, seek);
}

bool TGstSession::SetPlaying(bool playing)
{
    return gst_element_set_state(FPipeline, playing ? GST_STATE_PLAYING : GST_STATE_PAUSED) != GST_STATE_CHANGE_FAILURE;
}

void TGstSession::WaitUntilSettled(int timeoutMs)
{
    gst_element_get_state(FPipeline, nullptr, nullptr, GstClockTime(timeoutMs) * GST_MSECOND);
}

std::optional<qint64> TGstSession::PositionMs() const
{
    gint64 position = -1;
    if (!gst_element_query_position(FPipeline, GST_FORMAT_TIME, &position) || position < 0)
        return std::nullopt;
    return std::max<qint64>(position - FStartPaddingNs, 0) / GST_MSECOND;
}

void TGstSession::SetVolume(double volume)
{
    if (FPipeline)
        g_object_set(FPipeline, "volume", volume, nullptr);
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

QImage TGstSession::LatestFrame() const
{
    GstSample* sample = nullptr;
    {
        std::lock_guard lock(FFrameMutex);
        if (FLatestSample)
            sample = gst_sample_ref(FLatestSample);
    }
    if (!sample)
        return {};
    QImage image;
    GstVideoInfo info;
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (gst_video_info_from_caps(&info, gst_sample_get_caps(sample)) && buffer &&
        gst_buffer_map(buffer, &map, GST_MAP_READ)) {
        const int stride = GST_VIDEO_INFO_PLANE_STRIDE(&info, 0);
        if (map.size >= gsize(stride) * info.height)
            image = QImage(map.data, info.width, info.height, stride, QImage::Format_RGB32).copy();
        gst_buffer_unmap(buffer, &map);
    }
    gst_sample_unref(sample);
    return image;
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
