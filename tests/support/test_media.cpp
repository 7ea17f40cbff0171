#include "support/test_media.h"

#include <gst/gst.h>

namespace {

std::string Tone(int seconds)
{
    return "audiotestsrc wave=sine freq=440 samplesperbuffer=4410 num-buffers=" + std::to_string(seconds * 10) +
           " ! audio/x-raw,rate=44100,channels=1";
}

}  // namespace

bool MakeMedia(const std::string& description, const std::string& out, const std::function<void(GstElement*)>& feed)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    std::string pipeline = description;
    pipeline.replace(pipeline.find("{out}"), 5, "\"" + out + "\"");
    GError* error = nullptr;
    GstElement* element = gst_parse_launch(pipeline.c_str(), &error);
    if (error) {
        g_clear_error(&error);
        if (element)
            gst_object_unref(element);
        return false;
    }
    gst_element_set_state(element, GST_STATE_PLAYING);
    if (feed)
        feed(element);
    GstBus* bus = gst_element_get_bus(element);
    GstMessage* message =
        gst_bus_timed_pop_filtered(bus, 60 * GST_SECOND, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
    const bool ok = message && GST_MESSAGE_TYPE(message) == GST_MESSAGE_EOS;
    if (message)
        gst_message_unref(message);
    gst_object_unref(bus);
    gst_element_set_state(element, GST_STATE_NULL);
    gst_object_unref(element);
    return ok;
}

bool MakeWav(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! wavenc ! filesink location={out}", out);
}

bool MakeOgg(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! audioconvert ! vorbisenc ! oggmux ! filesink location={out}", out);
}

bool MakeMp3(const std::string& out, int seconds)
{
    return MakeMedia(Tone(seconds) + " ! audioconvert ! lamemp3enc ! xingmux ! filesink location={out}", out);
}

bool MakeAvi(const std::string& out, int width, int height, int frames)
{
    return MakeMedia("videotestsrc num-buffers=" + std::to_string(frames) + " ! video/x-raw,width=" +
                         std::to_string(width) + ",height=" + std::to_string(height) +
                         ",framerate=25/1 ! jpegenc ! avimux ! filesink location={out}",
                     out);
}
