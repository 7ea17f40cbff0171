#include "media/embedded_subtitle_tracks.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <gst/app/gstappsink.h>
#include <gst/gst.h>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "files/failure.h"

#include "media/subtitle_track_caps.h"

namespace olve {

namespace {

// A file that stops answering (a stalled pipe or network share) must not hold the caller
// for ever.
constexpr std::chrono::seconds ReadingTimeout(300);
// How soon a request to stop is seen.
constexpr std::chrono::milliseconds CancelPoll(50);

struct TTrackSink {
    // parsebin's pad for the track; its sticky tag events name the track.
    GstPad* Pad = nullptr;
    TSubtitleTrackCaps Caps;
    // Filled on the track's streaming thread.
    std::mutex Mutex;
    TEmbeddedSubtitleTrack Track;

    ~TTrackSink() { gst_object_unref(Pad); }
};

std::int64_t StreamMs(const GstSegment* segment, GstClockTime time)
{
    const guint64 stream = gst_segment_to_stream_time(segment, GST_FORMAT_TIME, time);
    return GST_CLOCK_TIME_IS_VALID(stream) ? static_cast<std::int64_t>(stream / GST_MSECOND) : 0;
}

std::string BufferText(GstBuffer* buffer)
{
    GstMapInfo map;
    if (!gst_buffer_map(buffer, &map, GST_MAP_READ))
        return {};
    std::string text(reinterpret_cast<const char*>(map.data), map.size);
    gst_buffer_unmap(buffer, &map);
    return text;
}

// A sample's cue; false when it holds no time or no text (an empty packet that closes a gap,
// an SSA drawing).
bool SampleCue(GstSample* sample, TSubtitlePacketFormat packet, TSubtitleCue& cue)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    if (!buffer || !GST_BUFFER_PTS_IS_VALID(buffer))
        return false;
    TCueText text = SubtitlePacketText(BufferText(buffer), packet);
    if (text.Text.empty())
        return false;
    const GstSegment* segment = gst_sample_get_segment(sample);
    cue.StartMs = StreamMs(segment, GST_BUFFER_PTS(buffer));
    if (GST_BUFFER_DURATION_IS_VALID(buffer))
        cue.EndMs = StreamMs(segment, GST_BUFFER_PTS(buffer) + GST_BUFFER_DURATION(buffer));
    cue.Text = std::move(text.Text);
    cue.Parts = std::move(text.Stamps);
    return true;
}

void TakeTags(GstPad* pad, TEmbeddedSubtitleTrack& track)
{
    GstEvent* event = nullptr;
    for (guint i = 0; (event = gst_pad_get_sticky_event(pad, GST_EVENT_TAG, i)) != nullptr; ++i) {
        GstTagList* tags = nullptr;
        gst_event_parse_tag(event, &tags);
        gchar* value = nullptr;
        if (track.Language.empty() && gst_tag_list_get_string(tags, GST_TAG_LANGUAGE_CODE, &value))
            track.Language = value;
        g_clear_pointer(&value, g_free);
        if (track.Title.empty() && gst_tag_list_get_string(tags, GST_TAG_TITLE, &value))
            track.Title = value;
        g_clear_pointer(&value, g_free);
        gst_event_unref(event);
    }
}

std::string CancelledText(const std::string& mediaPath)
{
    return BilingualText({TFailureKind::Cancelled, "埋め込み字幕の読み込みを取り消しました",
                          "reading the subtitles in the recording was cancelled", mediaPath});
}

std::string FailureText(const std::string& mediaPath, const std::string& reason)
{
    return BilingualText({TFailureKind::Failed, "埋め込み字幕の読み込みに失敗しました",
                          "failed in reading the subtitles in the recording: " + reason, mediaPath});
}

std::string ErrorText(GstMessage* message)
{
    GError* error = nullptr;
    gchar* debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    std::string text = error && error->message ? error->message : "unknown error";
    g_clear_error(&error);
    g_free(debug);
    return text;
}

// filesrc ! parsebin, each text subtitle pad into an appsink and every other pad into a
// fakesink, none of them keeping time. It runs on a thread of its own: opening a pipe without
// a writer, or a read that never returns, holds that thread and GStreamer's, never the caller.
class TTrackReading {
public:
    explicit TTrackReading(const std::string& mediaPath) : FPipeline(gst_pipeline_new(nullptr))
    {
        GstElement* source = gst_element_factory_make("filesrc", nullptr);
        GstElement* parser = gst_element_factory_make("parsebin", nullptr);
        if (!source || !parser) {
            FFailure = "GStreamer's filesrc or parsebin is missing";
            for (GstElement* element : {source, parser})
                if (element)
                    gst_object_unref(gst_object_ref_sink(element));
            return;
        }
        g_object_set(source, "location", mediaPath.c_str(), nullptr);
        gst_bin_add_many(GST_BIN(FPipeline), source, parser, nullptr);
        gst_element_link(source, parser);
        // Subtitle streams are taken as they are stored: a parser would turn SSA into Pango
        // markup and hide the format.
        g_signal_connect(parser, "autoplug-continue", G_CALLBACK(&TTrackReading::AutoplugContinue), nullptr);
        g_signal_connect(parser, "pad-added", G_CALLBACK(&TTrackReading::PadAdded), this);
    }

    ~TTrackReading()
    {
        Stop();
        gst_object_unref(FPipeline);
    }

    // Waits for GStreamer's threads to return from their reads.
    void Stop() { gst_element_set_state(FPipeline, GST_STATE_NULL); }

    TTrackReading(const TTrackReading&) = delete;
    TTrackReading& operator=(const TTrackReading&) = delete;

    // Empty when the file was read to its end.
    std::string Run()
    {
        if (!FFailure.empty())
            return FFailure;
        if (gst_element_set_state(FPipeline, GST_STATE_PLAYING) == GST_STATE_CHANGE_FAILURE && !HasError())
            return "the file cannot be opened";
        GstBus* bus = gst_element_get_bus(FPipeline);
        // An application message is the caller's word that it no longer waits.
        GstMessage* message = gst_bus_timed_pop_filtered(
            bus, GST_CLOCK_TIME_NONE, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR | GST_MESSAGE_APPLICATION));
        gst_object_unref(bus);
        std::string failure = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR         ? ErrorText(message)
                              : GST_MESSAGE_TYPE(message) == GST_MESSAGE_APPLICATION ? "abandoned"
                                                                                     : std::string();
        if (message)
            gst_message_unref(message);
        std::lock_guard lock(FMutex);
        return !FFailure.empty() ? FFailure : failure;
    }

    // Makes Run return; for the caller that stops waiting.
    void Abandon()
    {
        GstBus* bus = gst_element_get_bus(FPipeline);
        gst_bus_post(bus, gst_message_new_application(nullptr, gst_structure_new_empty("abandon")));
        gst_object_unref(bus);
    }

    std::vector<TEmbeddedSubtitleTrack> Tracks()
    {
        std::lock_guard lock(FMutex);
        std::vector<TEmbeddedSubtitleTrack> tracks;
        for (auto& sink : FSinks) {
            std::lock_guard trackLock(sink->Mutex);
            TakeTags(sink->Pad, sink->Track);
            std::stable_sort(sink->Track.Cues.begin(), sink->Track.Cues.end(),
                             [](const TSubtitleCue& a, const TSubtitleCue& b) { return a.StartMs < b.StartMs; });
            for (std::size_t i = 0; i < sink->Track.Cues.size(); ++i)
                sink->Track.Cues[i].Number = static_cast<int>(i + 1);
            tracks.push_back(std::move(sink->Track));
        }
        return tracks;
    }

private:
    bool HasError()
    {
        GstBus* bus = gst_element_get_bus(FPipeline);
        const bool has = gst_bus_have_pending(bus);
        gst_object_unref(bus);
        return has;
    }

    static gboolean AutoplugContinue(GstElement*, GstPad*, GstCaps* caps, gpointer)
    {
        TSubtitleTrackCaps track;
        return !SubtitleTrackCapsOf(caps, track);
    }

    static void PadAdded(GstElement*, GstPad* pad, gpointer self)
    {
        static_cast<TTrackReading*>(self)->Expose(pad);
    }

    void Expose(GstPad* pad)
    {
        GstCaps* caps = gst_pad_get_current_caps(pad);
        TSubtitleTrackCaps trackCaps;
        const bool subtitle = SubtitleTrackCapsOf(caps, trackCaps);
        if (caps)
            gst_caps_unref(caps);
        GstElement* sink = gst_element_factory_make(subtitle && trackCaps.IsText ? "appsink" : "fakesink", nullptr);
        // One demuxer thread feeds every sink: a sink that waited to preroll would wait for a
        // sparse subtitle stream that the same thread has yet to reach.
        g_object_set(sink, "sync", FALSE, "async", FALSE, nullptr);
        if (subtitle)
            AddTrack(pad, trackCaps, sink);
        gst_bin_add(GST_BIN(FPipeline), sink);
        gst_element_sync_state_with_parent(sink);
        GstPad* sinkPad = gst_element_get_static_pad(sink, "sink");
        const GstPadLinkReturn linked = gst_pad_link(pad, sinkPad);
        gst_object_unref(sinkPad);
        if (GST_PAD_LINK_FAILED(linked)) {
            std::lock_guard lock(FMutex);
            FFailure = "a stream of the file cannot be taken";
        }
    }

    void AddTrack(GstPad* pad, const TSubtitleTrackCaps& caps, GstElement* sink)
    {
        std::lock_guard lock(FMutex);
        auto track = std::make_unique<TTrackSink>();
        track->Pad = GST_PAD(gst_object_ref(pad));
        track->Caps = caps;
        track->Track.Index = static_cast<int>(FSinks.size());
        track->Track.Format = caps.Format;
        track->Track.IsText = caps.IsText;
        if (caps.IsText) {
            GstAppSinkCallbacks callbacks{};
            callbacks.new_sample = &TTrackReading::TakeSample;
            gst_app_sink_set_callbacks(GST_APP_SINK(sink), &callbacks, track.get(), nullptr);
        }
        FSinks.push_back(std::move(track));
    }

    static GstFlowReturn TakeSample(GstAppSink* appSink, gpointer data)
    {
        auto* sink = static_cast<TTrackSink*>(data);
        GstSample* sample = gst_app_sink_pull_sample(appSink);
        if (!sample)
            return GST_FLOW_EOS;
        TSubtitleCue cue;
        if (SampleCue(sample, sink->Caps.Packet, cue)) {
            std::lock_guard lock(sink->Mutex);
            sink->Track.Cues.push_back(std::move(cue));
        }
        gst_sample_unref(sample);
        return GST_FLOW_OK;
    }

    GstElement* FPipeline;
    std::mutex FMutex;
    std::vector<std::unique_ptr<TTrackSink>> FSinks;
    std::string FFailure;
};

}  // namespace

bool ReadEmbeddedSubtitleTracks(const std::string& mediaPath, std::vector<TEmbeddedSubtitleTrack>& tracks,
                                std::string& error, const std::atomic<bool>* cancelled)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    struct TOutcome {
        std::mutex Mutex;
        std::condition_variable Ended;
        std::optional<std::string> Failure;
        std::vector<TEmbeddedSubtitleTrack> Tracks;
    };
    auto outcome = std::make_shared<TOutcome>();
    auto reading = std::make_shared<TTrackReading>(mediaPath);
    // The thread owns the reading to its end: when the caller stops waiting, it still stops
    // the pipeline once GStreamer's reads have returned, and the caller never waits for that.
    std::thread([reading, outcome] {
        std::string failure = reading->Run();
        std::vector<TEmbeddedSubtitleTrack> tracks;
        if (failure.empty())
            tracks = reading->Tracks();
        {
            std::lock_guard lock(outcome->Mutex);
            outcome->Failure = std::move(failure);
            outcome->Tracks = std::move(tracks);
            outcome->Ended.notify_all();
        }
        reading->Stop();
    }).detach();

    const auto deadline = std::chrono::steady_clock::now() + ReadingTimeout;
    std::unique_lock lock(outcome->Mutex);
    while (!outcome->Failure && !(cancelled && *cancelled) && std::chrono::steady_clock::now() < deadline)
        outcome->Ended.wait_for(lock, CancelPoll);
    if (!outcome->Failure) {
        reading->Abandon();
        error = cancelled && *cancelled ? CancelledText(mediaPath) : FailureText(mediaPath, "reading did not end in time");
        return false;
    }
    if (!outcome->Failure->empty()) {
        error = FailureText(mediaPath, *outcome->Failure);
        return false;
    }
    tracks = std::move(outcome->Tracks);
    return true;
}

}  // namespace olve
