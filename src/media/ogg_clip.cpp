#include "media/ogg_clip.h"

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "media/ogg_header_pages.h"

namespace olve {

namespace {

constexpr GstClockTime WaitNs = 30 * GST_SECOND;
// The samples a clip may hold in memory: ten minutes of 48 kHz stereo. A card's bounds and
// a recording's channels come from the title, and no sentence is that long.
constexpr std::int64_t MaxClipSamples = 10LL * 60 * 48000 * 2;

struct TUnref {
    void operator()(GstElement* e) const
    {
        gst_element_set_state(e, GST_STATE_NULL);
        gst_object_unref(e);
    }
};
using TPipeline = std::unique_ptr<GstElement, TUnref>;

TPipeline Launch(const std::string& description, std::string& error)
{
    GError* failure = nullptr;
    GstElement* pipeline = gst_parse_launch(description.c_str(), &failure);
    if (failure) {
        error = failure->message;
        g_error_free(failure);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    return TPipeline(pipeline);
}

GstElement* Named(GstElement* pipeline, const char* name)
{
    GstElement* element = gst_bin_get_by_name(GST_BIN(pipeline), name);
    gst_object_unref(element);  // the pipeline keeps it
    return element;
}

// The first error the pipeline posted, if any.
bool PipelineFailed(GstElement* pipeline, std::string& error)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    gst_object_unref(bus);
    if (!message)
        return false;
    GError* failure = nullptr;
    gst_message_parse_error(message, &failure, nullptr);
    error = failure ? failure->message : "the pipeline failed";
    if (failure)
        g_error_free(failure);
    gst_message_unref(message);
    return true;
}

std::string Quoted(const std::string& path)
{
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

// The samples of [first, last) of the recording, as 32-bit float frames of its rate.
class TDecodedPart {
public:
    bool Read(const std::string& mediaPath, std::int64_t fromMs, std::int64_t toMs, std::string& error)
    {
        FPipeline = Launch("filesrc location=" + Quoted(mediaPath) +
                               " ! decodebin ! audioconvert ! audio/x-raw,format=F32LE,layout=interleaved "
                               "! appsink name=out sync=false",
                           error);
        if (!FPipeline)
            return false;
        MendOggDemuxers(FPipeline.get(), mediaPath);
        GstElement* sink = Named(FPipeline.get(), "out");
        gst_element_set_state(FPipeline.get(), GST_STATE_PAUSED);
        if (gst_element_get_state(FPipeline.get(), nullptr, nullptr, WaitNs) == GST_STATE_CHANGE_FAILURE ||
            PipelineFailed(FPipeline.get(), error)) {
            if (error.empty())
                error = "the recording cannot be decoded";
            return false;
        }
        if (!Caps(sink, error))
            return false;
        FFirst = std::llround(static_cast<double>(fromMs) * FRate / 1000.0);
        FLast = std::llround(static_cast<double>(toMs) * FRate / 1000.0);
        if ((FLast - FFirst) * FChannels > MaxClipSamples) {
            error = "the card is too long for a clip: " + std::to_string((toMs - fromMs) / 1000) + " s";
            return false;
        }
        FNext = FFirst;
        // The stop lies a little after the clip: decoders drop a partial last frame and
        // place frames by container stamps that may be rounded; the clip is cut here.
        gst_element_seek(FPipeline.get(), 1.0, GST_FORMAT_TIME,
                         static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), GST_SEEK_TYPE_SET,
                         gst_util_uint64_scale(FFirst, GST_SECOND, FRate), GST_SEEK_TYPE_SET,
                         gst_util_uint64_scale(FLast + FRate / 10, GST_SECOND, FRate));
        gst_element_set_state(FPipeline.get(), GST_STATE_PLAYING);
        return Pull(sink, error) && !PipelineFailed(FPipeline.get(), error);
    }

    int Rate() const { return FRate; }
    int Channels() const { return FChannels; }
    const std::vector<float>& Samples() const { return FSamples; }
    std::int64_t Frames() const { return static_cast<std::int64_t>(FSamples.size()) / std::max(FChannels, 1); }
    std::int64_t Wanted() const { return FLast - FFirst; }
    // Where the part ends: before FLast when the recording's sound ends first.
    std::int64_t EndMs() const { return (FFirst + Frames()) * 1000 / FRate; }

private:
    bool Caps(GstElement* sink, std::string& error)
    {
        GstPad* pad = gst_element_get_static_pad(sink, "sink");
        GstCaps* caps = gst_pad_get_current_caps(pad);
        gst_object_unref(pad);
        if (!caps) {
            error = "the recording has no sound";
            return false;
        }
        const GstStructure* s = gst_caps_get_structure(caps, 0);
        gst_structure_get_int(s, "rate", &FRate);
        gst_structure_get_int(s, "channels", &FChannels);
        gst_caps_unref(caps);
        if (FRate <= 0 || FChannels <= 0) {
            error = "the recording's sound has no rate";
            return false;
        }
        return true;
    }

    bool Pull(GstElement* sink, std::string& error)
    {
        while (FNext < FLast) {
            GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), WaitNs);
            if (!sample)
                break;
            Take(sample);
            gst_sample_unref(sample);
        }
        if (FNext < FLast && !gst_app_sink_is_eos(GST_APP_SINK(sink))) {
            error = "the recording could not be read in time";
            return false;
        }
        return true;
    }

    // The frame of the recording where the buffer starts, from its stamp in stream time:
    // containers with an edit list (MP4) stamp buffers in a segment that starts later.
    std::int64_t StreamFrame(GstSample* sample, GstBuffer* buffer) const
    {
        const GstSegment* segment = gst_sample_get_segment(sample);
        if (!segment || !GST_BUFFER_PTS_IS_VALID(buffer))
            return FNext;
        const guint64 time = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, GST_BUFFER_PTS(buffer));
        if (time == GST_CLOCK_TIME_NONE)
            return FNext;
        return static_cast<std::int64_t>(gst_util_uint64_scale_round(time, FRate, GST_SECOND));
    }

    // Decoded sound runs on without gaps; its stamps may not (Matroska rounds them to the
    // millisecond). So the first buffer is placed by its stamp and the rest follow on,
    // unless a stamp says the sound really jumps.
    void Take(GstSample* sample)
    {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
            return;
        const auto* data = reinterpret_cast<const float*>(map.data);
        const std::int64_t frames = static_cast<std::int64_t>(map.size / sizeof(float)) / FChannels;
        std::int64_t at = StreamFrame(sample, buffer);
        if (FPlaced && std::llabs(at - FNext) <= FRate / 200)
            at = FNext;
        FPlaced = true;
        if (at > FNext) {
            const std::int64_t silence = std::min(at, FLast) - FNext;
            FSamples.insert(FSamples.end(), static_cast<std::size_t>(silence * FChannels), 0.0f);
            FNext += silence;
        }
        for (std::int64_t f = FNext - at; f < frames && FNext < FLast; ++f, ++FNext)
            FSamples.insert(FSamples.end(), data + f * FChannels, data + (f + 1) * FChannels);
        gst_buffer_unmap(buffer, &map);
    }

    TPipeline FPipeline;
    int FRate = 0;
    int FChannels = 0;
    std::int64_t FFirst = 0;
    std::int64_t FLast = 0;
    // The frame of the recording that the next sample kept is.
    std::int64_t FNext = 0;
    bool FPlaced = false;
    std::vector<float> FSamples;
};

bool Encode(const TDecodedPart& part, const std::string& clipPath, std::string& error)
{
    TPipeline pipeline = Launch("appsrc name=in format=time ! audioconvert ! vorbisenc quality=0.5 ! oggmux ! filesink "
                                "location=" + Quoted(clipPath),
                                error);
    if (!pipeline)
        return false;
    GstElement* source = Named(pipeline.get(), "in");
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "F32LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, part.Rate(), "channels", G_TYPE_INT,
                                        part.Channels(), nullptr);
    gst_app_src_set_caps(GST_APP_SRC(source), caps);
    gst_caps_unref(caps);
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    const std::size_t bytes = part.Samples().size() * sizeof(float);
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, bytes, nullptr);
    gst_buffer_fill(buffer, 0, part.Samples().data(), bytes);
    GST_BUFFER_PTS(buffer) = 0;
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale(part.Frames(), GST_SECOND, part.Rate());
    gst_app_src_push_buffer(GST_APP_SRC(source), buffer);
    gst_app_src_end_of_stream(GST_APP_SRC(source));
    GstBus* bus = gst_element_get_bus(pipeline.get());
    GstMessage* message = gst_bus_timed_pop_filtered(bus, WaitNs, static_cast<GstMessageType>(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    gst_object_unref(bus);
    const bool ended = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message && !ended) {
        GError* failure = nullptr;
        gst_message_parse_error(message, &failure, nullptr);
        error = failure ? failure->message : "encoding failed";
        if (failure)
            g_error_free(failure);
    } else if (!message) {
        error = "encoding did not finish";
    }
    if (message)
        gst_message_unref(message);
    return ended;
}

}  // namespace

bool WriteOggClip(const std::string& mediaPath, std::int64_t fromMs, std::int64_t toMs, const std::string& clipPath,
                  std::int64_t& writtenToMs, std::string& error)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    TDecodedPart part;
    if (!part.Read(mediaPath, fromMs, toMs, error))
        return false;
    if (part.Frames() == 0 && part.Wanted() > 0) {
        error = "the recording's sound ends before " + std::to_string(fromMs) + " ms";
        return false;
    }
    writtenToMs = part.Frames() < part.Wanted() ? part.EndMs() : toMs;
    if (Encode(part, clipPath, error))
        return true;
    std::remove(clipPath.c_str());
    return false;
}

}  // namespace olve
