#include <gtest/gtest.h>

#include <gst/app/gstappsink.h>
#include <gst/app/gstappsrc.h>
#include <gst/gst.h>
#include <vector>

#include "media/audio_gatherer.h"

using namespace olve;

namespace {

constexpr int Rate = 8000;
constexpr int Frames = 64;  // 8 ms
constexpr GstClockTime Piece = 100 * GST_MSECOND;

struct TPiece {
    GstClockTime Pts;
    GstClockTime Duration;
    std::vector<std::int16_t> Samples;
};

GstBuffer* Numbered(GstClockTime pts, std::int16_t& next)
{
    GstBuffer* buffer = gst_buffer_new_allocate(nullptr, Frames * sizeof(std::int16_t), nullptr);
    GstMapInfo map;
    gst_buffer_map(buffer, &map, GST_MAP_WRITE);
    for (int i = 0; i < Frames; ++i)
        reinterpret_cast<std::int16_t*>(map.data)[i] = next++;
    gst_buffer_unmap(buffer, &map);
    GST_BUFFER_PTS(buffer) = pts;
    GST_BUFFER_DURATION(buffer) = gst_util_uint64_scale_int(Frames, GST_SECOND, Rate);
    return buffer;
}

// Sends numbered samples in 8 ms buffers from each start given, `count` buffers a stretch,
// through the gatherer, and returns what comes out.
std::vector<TPiece> Gather(const std::vector<GstClockTime>& stretches, int count)
{
    if (!gst_is_initialized())
        gst_init(nullptr, nullptr);
    GstElement* pipeline = gst_pipeline_new(nullptr);
    GstElement* source = gst_element_factory_make("appsrc", nullptr);
    GstElement* sink = gst_element_factory_make("appsink", nullptr);
    GstElement* gatherer = MakeAudioGatherer();
    GstCaps* caps = gst_caps_new_simple("audio/x-raw", "format", G_TYPE_STRING, "S16LE", "layout", G_TYPE_STRING,
                                        "interleaved", "rate", G_TYPE_INT, Rate, "channels", G_TYPE_INT, 1, nullptr);
    g_object_set(source, "caps", caps, "format", GST_FORMAT_TIME, nullptr);
    gst_caps_unref(caps);
    g_object_set(sink, "sync", FALSE, nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, gatherer, sink, nullptr);
    gst_element_link_many(source, gatherer, sink, nullptr);
    gst_element_set_state(pipeline, GST_STATE_PLAYING);
    std::int16_t next = 0;
    for (const GstClockTime start : stretches)
        for (int i = 0; i < count; ++i)
            gst_app_src_push_buffer(GST_APP_SRC(source), Numbered(start + GstClockTime(i) * 8 * GST_MSECOND, next));
    gst_app_src_end_of_stream(GST_APP_SRC(source));
    std::vector<TPiece> pieces;
    while (GstSample* sample = gst_app_sink_try_pull_sample(GST_APP_SINK(sink), 5 * GST_SECOND)) {
        GstBuffer* buffer = gst_sample_get_buffer(sample);
        GstMapInfo map;
        gst_buffer_map(buffer, &map, GST_MAP_READ);
        const auto* samples = reinterpret_cast<const std::int16_t*>(map.data);
        pieces.push_back({GST_BUFFER_PTS(buffer), GST_BUFFER_DURATION(buffer),
                          std::vector<std::int16_t>(samples, samples + map.size / sizeof(std::int16_t))});
        gst_buffer_unmap(buffer, &map);
        gst_sample_unref(sample);
    }
    gst_element_set_state(pipeline, GST_STATE_NULL);
    gst_object_unref(pipeline);
    return pieces;
}

}  // namespace

// The sink gets the same sound at the same times in far fewer buffers, and no piece spans a
// break in the times or holds sound back at the end.
TEST(AudioGatherer, PiecesHoldTheSameSoundAndNeverSpanABreak)
{
    const GstClockTime second = 2 * GST_SECOND;
    const std::vector<TPiece> pieces = Gather({0, second}, 40);  // two stretches of 320 ms
    ASSERT_FALSE(pieces.empty());
    std::int16_t expected = 0;
    for (const TPiece& piece : pieces) {
        for (const std::int16_t sample : piece.Samples)
            ASSERT_EQ(sample, expected++) << "every sample once, in order";
        EXPECT_EQ(piece.Duration, gst_util_uint64_scale_int(piece.Samples.size(), GST_SECOND, Rate));
        EXPECT_TRUE(piece.Pts + piece.Duration <= 320 * GST_MSECOND || piece.Pts >= second) << "across the break";
    }
    EXPECT_EQ(expected, 80 * Frames);
    EXPECT_EQ(pieces.front().Pts, 0u);
    EXPECT_EQ(pieces.back().Pts + pieces.back().Duration, second + 320 * GST_MSECOND) << "the end is sent";
    for (std::size_t i = 1; i < pieces.size(); ++i)
        if (pieces[i].Pts != second)
            EXPECT_EQ(pieces[i].Pts, pieces[i - 1].Pts + pieces[i - 1].Duration) << "piece " << i;
    EXPECT_GE(pieces.front().Duration, Piece);
    EXPECT_LE(pieces.size(), 8u) << "a piece is about a tenth of a second, not one buffer";
}
