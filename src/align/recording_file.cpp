#include "align/recording_file.h"

#include <gst/app/gstappsink.h>
#include <gst/gst.h>

#include <memory>

namespace olve {

namespace {

struct TUnrefElement {
    void operator()(GstElement* element) const
    {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_object_unref(element);
    }
};
using TPipeline = std::unique_ptr<GstElement, TUnrefElement>;

// The sink holds a few buffers at most: the decoder waits for a slow reader (the recognizer)
// instead of piling the recording up in memory.
TPipeline MakePipeline(const std::string& path, std::string& error)
{
    GError* failure = nullptr;
    gchar* uri = gst_filename_to_uri(path.c_str(), &failure);
    if (!uri) {
        error = "cannot name " + path + " as a URI: " + (failure ? failure->message : "unknown");
        g_clear_error(&failure);
        return nullptr;
    }
    const std::string description = std::string("uridecodebin uri=\"") + uri +
                                    "\" ! audioconvert ! audioresample ! "
                                    "audio/x-raw,format=S16LE,channels=1,rate=16000,layout=interleaved ! "
                                    "appsink name=pcm sync=false max-buffers=16 drop=false";
    g_free(uri);
    GstElement* pipeline = gst_parse_launch(description.c_str(), &failure);
    if (!pipeline || failure) {
        error = std::string("cannot build the decoder: ") + (failure ? failure->message : "unknown");
        g_clear_error(&failure);
        if (pipeline)
            gst_object_unref(pipeline);
        return nullptr;
    }
    return TPipeline(pipeline);
}

// The first error the pipeline posted, once it stopped giving samples.
std::string PipelineError(GstElement* pipeline)
{
    GstBus* bus = gst_element_get_bus(pipeline);
    GstMessage* message = gst_bus_pop_filtered(bus, GST_MESSAGE_ERROR);
    std::string text;
    if (message) {
        GError* failure = nullptr;
        gst_message_parse_error(message, &failure, nullptr);
        text = failure ? failure->message : "unknown";
        g_clear_error(&failure);
        gst_message_unref(message);
    }
    gst_object_unref(bus);
    return text;
}

// Hands on the samples of one buffer and counts them; false when the block stops the reading.
bool HandOn(GstSample* sample, const TPcmBlock& block, std::size_t& read)
{
    GstBuffer* buffer = gst_sample_get_buffer(sample);
    GstMapInfo map;
    if (!buffer || !gst_buffer_map(buffer, &map, GST_MAP_READ))
        return true;
    const std::size_t count = map.size / sizeof(std::int16_t);
    const bool more = count == 0 || block(reinterpret_cast<const std::int16_t*>(map.data), count);
    gst_buffer_unmap(buffer, &map);
    read += count;
    return more;
}

}  // namespace

TRecordingFile::TRecordingFile(std::string path, std::int64_t lengthMs) : FPath(std::move(path)), FLengthMs(lengthMs)
{
}

std::size_t TRecordingFile::ExpectedSamples() const
{
    return FLengthMs > 0 ? static_cast<std::size_t>(FLengthMs) * SampleRate / 1000 : 0;
}

bool TRecordingFile::Read(const TPcmBlock& block, std::string& error) const
{
    gst_init(nullptr, nullptr);
    TPipeline pipeline = MakePipeline(FPath, error);
    if (!pipeline)
        return false;
    GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline.get()), "pcm");
    gst_element_set_state(pipeline.get(), GST_STATE_PLAYING);
    // A failing pipeline never reaches the end of the stream, so the bus is watched as well.
    std::string failure;
    std::size_t read = 0;
    bool stopped = false;
    while (failure.empty() && !stopped && !gst_app_sink_is_eos(GST_APP_SINK(sink))) {
        if (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 100 * GST_MSECOND)) {
            stopped = !HandOn(sample, block, read);
            gst_sample_unref(sample);
        } else {
            failure = PipelineError(pipeline.get());
        }
    }
    gst_object_unref(sink);
    if (stopped) {
        error = StoppedReading;
        return false;
    }
    if (!failure.empty()) {
        error = "cannot decode " + FPath + ": " + failure;
        return false;
    }
    if (read == 0) {
        error = FPath + " holds no sound";
        return false;
    }
    return true;
}

}  // namespace olve
