#include "media/embedded_subtitle_tracks.h"

#include <gtest/gtest.h>

#include <gst/app/gstappsrc.h>
#include <gst/gst.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "subtitles/cue_matchers.h"
#include "support/stalled_fifo.h"
#include "support/temp_folder.h"
#include "support/test_media.h"

using namespace olve;

namespace {

const char* const Video =
    "videotestsrc num-buffers=75 ! video/x-raw,width=64,height=48,framerate=25/1 ! x264enc ! m. ";

void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// A SubRip file pushed into the muxer m as a text track with the given tags.
std::string TextTrack(const std::string& srtPath, const std::string& tags)
{
    return "filesrc location=\"" + srtPath + "\" ! subparse ! taginject tags=\"" + tags + "\" ! m. ";
}

struct TTimedPacket {
    GstClockTime Start, Duration;
    std::string Data;
};

GstBuffer* BufferOf(const std::string& data)
{
    return gst_buffer_new_memdup(data.data(), data.size());
}

// A Matroska recording whose ASS track holds the given events; no parser in GStreamer makes
// them, so they are pushed in as stored.
bool MakeAssMatroska(const std::string& out, const std::vector<TTimedPacket>& events)
{
    auto feed = [&](GstElement* pipeline) {
        GstElement* source = gst_bin_get_by_name(GST_BIN(pipeline), "ass");
        GstBuffer* header = BufferOf("[Script Info]\nScriptType: v4.00+\n\n[Events]\nFormat: Layer, Start, End, "
                                     "Style, Name, MarginL, MarginR, MarginV, Effect, Text\n");
        GstCaps* caps = gst_caps_new_simple("application/x-ass", "codec_data", GST_TYPE_BUFFER, header, nullptr);
        g_object_set(source, "caps", caps, nullptr);
        gst_caps_unref(caps);
        gst_buffer_unref(header);
        for (const TTimedPacket& event : events) {
            GstBuffer* buffer = BufferOf(event.Data);
            GST_BUFFER_PTS(buffer) = event.Start;
            GST_BUFFER_DURATION(buffer) = event.Duration;
            gst_app_src_push_buffer(GST_APP_SRC(source), buffer);
        }
        gst_app_src_end_of_stream(GST_APP_SRC(source));
        gst_object_unref(source);
    };
    return MakeMedia("appsrc name=ass format=time ! m.subtitle_0 " + std::string(Video) +
                         "matroskamux name=m ! filesink location={out}",
                     out, feed);
}

std::vector<TEmbeddedSubtitleTrack> ReadTracks(const std::string& path)
{
    std::vector<TEmbeddedSubtitleTrack> tracks;
    std::string error;
    EXPECT_TRUE(ReadEmbeddedSubtitleTracks(path, tracks, error)) << error;
    return tracks;
}

}  // namespace

TEST(EmbeddedSubtitleTracks, ReadsEveryTextTrackOfMatroskaAndMp4WithItsTagsAndExactCues)
{
    TTempFolder folder;
    WriteFile(folder / "ja.srt", "1\n00:00:00,250 --> 00:00:01,125\n<i>こんにちは</i>\n二行目\n\n"
                                 "2\n00:00:01,500 --> 00:00:02,007\nまた & ね\n");
    WriteFile(folder / "en.srt", "1\n00:00:00,040 --> 00:00:00,960\nHello\n\n2\n00:00:02,000 --> 00:00:02,900\nBye\n");
    const std::vector<TCueSummary> ja{{250, 1125, "こんにちは\n二行目"}, {1500, 2007, "また & ね"}};
    const std::vector<TCueSummary> en{{40, 960, "Hello"}, {2000, 2900, "Bye"}};

    const std::string mkv = folder / "two.mkv";
    ASSERT_TRUE(MakeMedia(std::string("matroskamux name=m ! filesink location={out} ") + Video +
                              TextTrack(folder / "ja.srt", "language-code=ja,title=Japanese") +
                              TextTrack(folder / "en.srt", "language-code=en"),
                          mkv));
    const auto tracks = ReadTracks(mkv);
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0].Index, 0);
    EXPECT_EQ(tracks[0].Language, "ja");
    EXPECT_EQ(tracks[0].Title, "Japanese");
    EXPECT_EQ(tracks[0].Format, "UTF-8 text");
    EXPECT_TRUE(tracks[0].IsText);
    EXPECT_EQ(Summaries(tracks[0].Cues), ja);
    EXPECT_EQ(Numbers(tracks[0].Cues), (std::vector<int>{1, 2}));
    EXPECT_EQ(tracks[1].Index, 1);
    EXPECT_EQ(tracks[1].Language, "en");
    EXPECT_EQ(Summaries(tracks[1].Cues), en);

    // The same SubRip track as MP4 timed text.
    const std::string mp4 = folder / "one.mp4";
    ASSERT_TRUE(MakeMedia(std::string("mp4mux name=m ! filesink location={out} ") + Video +
                              TextTrack(folder / "en.srt", "language-code=en"),
                          mp4));
    const auto mp4Tracks = ReadTracks(mp4);
    ASSERT_EQ(mp4Tracks.size(), 1u);
    EXPECT_EQ(mp4Tracks[0].Language, "en");
    EXPECT_EQ(Summaries(mp4Tracks[0].Cues), en);
}

TEST(EmbeddedSubtitleTracks, AssTracksAreReadAsStoredWithoutTheirStyling)
{
    TTempFolder folder;
    const std::string mkv = folder / "ass.mkv";
    ASSERT_TRUE(MakeAssMatroska(mkv, {{120 * GST_MSECOND, 880 * GST_MSECOND, "0,0,Default,,0,0,0,,{\\i1}Hi{\\i0}\\Nthere"},
                                      {GST_SECOND, 1500 * GST_MSECOND, "1,0,Default,Bob,0,0,0,,Second, line"}}));
    const auto tracks = ReadTracks(mkv);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].Format, "ASS");
    EXPECT_EQ(Summaries(tracks[0].Cues), (std::vector<TCueSummary>{{120, 1000, "Hi\nthere"}, {1000, 2500, "Second, line"}}));
}

TEST(EmbeddedSubtitleTracks, PictureTracksAreListedWithoutCuesAndOtherRecordingsHaveNone)
{
    TTempFolder folder;
    const std::string mkv = folder / "dvd.mkv";
    ASSERT_TRUE(MakeMedia(std::string("matroskamux name=m ! filesink location={out} ") + Video +
                              "fakesrc format=time num-buffers=3 sizetype=fixed sizemax=16 filltype=zero ! "
                              "identity datarate=16 ! subpicture/x-dvd ! taginject tags=\"language-code=fr\" ! m. ",
                          mkv));
    const auto tracks = ReadTracks(mkv);
    ASSERT_EQ(tracks.size(), 1u);
    EXPECT_EQ(tracks[0].Format, "DVD subpictures");
    EXPECT_EQ(tracks[0].Language, "fr");
    EXPECT_FALSE(tracks[0].IsText);
    EXPECT_TRUE(tracks[0].Cues.empty());

    ASSERT_TRUE(MakeWav(folder / "tone.wav", 1));
    EXPECT_TRUE(ReadTracks(folder / "tone.wav").empty());
    ASSERT_TRUE(MakeAvi(folder / "video.avi", 64, 48, 10));
    EXPECT_TRUE(ReadTracks(folder / "video.avi").empty());
}

TEST(EmbeddedSubtitleTracks, FilesGStreamerCannotReadFailWithAReasonForTheUser)
{
    TTempFolder folder;
    WriteFile(folder / "notes.mkv", "not a recording at all\n");
    for (const std::string& path : {folder / "notes.mkv", folder / "missing.mkv"}) {
        std::vector<TEmbeddedSubtitleTrack> tracks;
        std::string error;
        EXPECT_FALSE(ReadEmbeddedSubtitleTracks(path, tracks, error)) << path;
        EXPECT_NE(error.find("に失敗しました\r\n\r\nfailed in reading the subtitles"), std::string::npos) << error;
        EXPECT_NE(error.find(path), std::string::npos) << error;
    }
}

// A pipe that gives a Matroska head and then nothing, and one that is never opened for writing:
// the reading stops when cancelled, whatever GStreamer's threads are waiting in.
TEST(EmbeddedSubtitleTracks, ACancelledReadingEndsAtOnceWhereverTheFileStalls)
{
    TTempFolder folder;
    const std::string mkv = folder / "ass.mkv";
    ASSERT_TRUE(MakeAssMatroska(mkv, {{120 * GST_MSECOND, 880 * GST_MSECOND, "0,0,Default,,0,0,0,,Hi"}}));
    std::ifstream in(mkv, std::ios::binary);
    std::string head(16 * 1024, '\0');
    head.resize(static_cast<std::size_t>(in.read(head.data(), std::streamsize(head.size())).gcount()));
    TStalledFifo stalledRead(folder / "read.mkv", head);
    TStalledFifo stalledOpen(folder / "open.mkv", "");
    ASSERT_TRUE(stalledRead.Ready() && stalledOpen.Ready());

    for (const std::string& path : {folder / "read.mkv", folder / "open.mkv"}) {
        std::atomic<bool> cancelled = false;
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            cancelled = true;
        });
        const auto start = std::chrono::steady_clock::now();
        std::vector<TEmbeddedSubtitleTrack> tracks;
        std::string error;
        EXPECT_FALSE(ReadEmbeddedSubtitleTracks(path, tracks, error, &cancelled)) << path;
        const auto took = std::chrono::steady_clock::now() - start;
        canceller.join();
        EXPECT_LT(took, std::chrono::seconds(1)) << path;
        EXPECT_NE(error.find("取り消しました\r\n\r\nreading the subtitles in the recording was cancelled"),
                  std::string::npos)
            << error;
    }
}
