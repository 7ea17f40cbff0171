#include "media/gst_stream_info.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <optional>
#include <gst/gst.h>
#include <gst/video/video.h>

#include "media/aac_priming.h"
#include "media/mp3_delay.h"

namespace olve {

namespace {

// Some files (MP3 without a header that gives the length) tell their duration only once
// they have been read through; their parser reads them fast without decoding.
qint64 ScanDurationMs(const QByteArray& path)
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
    g_object_set(source, "location", path.constData(), nullptr);
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

// The decoded picture's size: the sink sees it already scaled to the display.
QSize NaturalSizeOf(GstElement* pipeline)
{
    QSize size;
    GstPad* pad = nullptr;
    g_signal_emit_by_name(pipeline, "get-video-pad", 0, &pad);
    GstCaps* caps = pad ? gst_pad_get_current_caps(pad) : nullptr;
    GstVideoInfo info;
    if (caps && gst_video_info_from_caps(&info, caps)) {
        const int width = info.par_d > 0 ? static_cast<int>(gint64(info.width) * info.par_n / info.par_d) : info.width;
        size = QSize(width, info.height);
    }
    if (caps)
        gst_caps_unref(caps);
    if (pad)
        gst_object_unref(pad);
    return size;
}

qint64 PaddingNs(int samples, int sampleRate)
{
    if (samples <= 0 || sampleRate <= 0)
        return 0;
    return gst_util_uint64_scale_int(GST_SECOND, samples, sampleRate);
}

// Decoding from a few frames before a segment gives its first frame the one it overlaps,
// and the decoder whatever else it carries over (SBR), at the cost of a few frames' work.
constexpr int AacRollSamples = 4 * 1024;

// The sample rate of the AAC that an audio decoder of the pipeline takes, whatever holds it
// (MP4, Matroska, ADTS); none when no decoder takes AAC.
std::optional<int> DecodedAacRate(GstElement* pipeline)
{
    std::optional<int> rate;
    GstIterator* elements = gst_bin_iterate_recurse(GST_BIN(pipeline));
    GValue item = G_VALUE_INIT;
    while (!rate && gst_iterator_next(elements, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        GstElementFactory* factory = gst_element_get_factory(element);
        GstPad* pad = factory && gst_element_factory_list_is_type(factory, GST_ELEMENT_FACTORY_TYPE_DECODER |
                                                                             GST_ELEMENT_FACTORY_TYPE_MEDIA_AUDIO)
                          ? gst_element_get_static_pad(element, "sink")
                          : nullptr;
        GstCaps* caps = pad ? gst_pad_get_current_caps(pad) : nullptr;
        const GstStructure* format = caps && !gst_caps_is_empty(caps) ? gst_caps_get_structure(caps, 0) : nullptr;
        int version = 0;
        if (format && gst_structure_has_name(format, "audio/mpeg") &&
            gst_structure_get_int(format, "mpegversion", &version) && version == 4) {
            int sampleRate = 0;
            rate = gst_structure_get_int(format, "rate", &sampleRate) && sampleRate > 0 ? sampleRate : 48000;
        }
        if (caps)
            gst_caps_unref(caps);
        if (pad)
            gst_object_unref(pad);
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(elements);
    return rate;
}

// Returns the sound's length when the file itself tells it better than the pipeline can.
std::optional<qint64> ReadPadding(const std::string& path, TGstStreamInfo& info)
{
    const TMp3Delay mp3 = UncompensatedMp3Delay(path);
    info.StartPaddingNs = PaddingNs(mp3.Samples, mp3.SampleRate);
    if (info.StartPaddingNs > 0)
        return std::nullopt;
    const TAacPriming aac = UncompensatedAacPriming(path);
    info.StartPaddingNs = PaddingNs(aac.Samples, aac.SampleRate);
    info.StopPaddingNs = PaddingNs(aac.EditedSamples, aac.SampleRate);
    // The edit is read longer than it is (AacEditEndPatches), and so would be the length.
    if (aac.EditedLengthMs >= 0)
        return aac.EditedLengthMs;
    return std::nullopt;
}

}  // namespace

TGstStreamInfo ReadStreamInfo(GstElement* pipeline, const QString& fileName)
{
    TGstStreamInfo info;
    const QFileInfo file(fileName);
    const QByteArray path = QFile::encodeName(file.absoluteFilePath());
    // A second reader of a pipe would take the player's data from it.
    const bool rereadable = file.isFile();
    std::optional<qint64> toldLength;
    if (rereadable)
        toldLength = ReadPadding(path.toStdString(), info);
    gint64 duration = -1;
    if (gst_element_query_duration(pipeline, GST_FORMAT_TIME, &duration) && duration >= 0)
        info.DurationMs = std::max<qint64>(duration - info.StartPaddingNs, 0) / GST_MSECOND;
    else if (rereadable)
        info.DurationMs = std::max<qint64>(ScanDurationMs(path) - info.StartPaddingNs / GST_MSECOND, 0);
    if (toldLength)
        info.DurationMs = *toldLength;
    if (const std::optional<int> aacRate = DecodedAacRate(pipeline))
        info.StartRollNs = PaddingNs(AacRollSamples, *aacRate);

    gint audioStreams = 0;
    gint videoStreams = 0;
    g_object_get(pipeline, "n-audio", &audioStreams, "n-video", &videoStreams, nullptr);
    info.HasAudio = audioStreams > 0;
    info.HasVideo = videoStreams > 0;
    if (info.HasVideo)
        info.NaturalSize = NaturalSizeOf(pipeline);
    return info;
}

}  // namespace olve
