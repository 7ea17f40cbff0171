#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "media/media_player.h"
#include "media/ogg_clip.h"
#include "media/ogg_header_pages.h"
#include "media/segment_reach.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"

using namespace olve;

// Recordings as learners bring them: encoded by ffmpeg, in the shapes its users get.

namespace {

// A click every 100 ms, each a single period of 20 samples from silence.
bool MakeClicks(const std::string& wav, int rate, int channels, int seconds)
{
    return MakeMedia("audiotestsrc wave=ticks tick-interval=100000000 sine-periods-per-tick=1 freq=" +
                         std::to_string(rate / 20) + " samplesperbuffer=" + std::to_string(rate / 10) +
                         " num-buffers=" + std::to_string(seconds * 10) + " ! audio/x-raw,rate=" + std::to_string(rate) +
                         ",channels=" + std::to_string(channels) + " ! wavenc ! filesink location={out}",
                     wav);
}

struct TPlayed {
    TMPNotifyValues Value = nvAborted;
    int Position = -1;
    std::string Error;
    std::vector<std::int16_t> Samples;  // mono, at the recording's rate
};

TPlayed PlaySegment(const std::string& file, int from, int to)
{
    const std::string out = file + ".raw";
    TOlveMediaPlayer player;
    player.AudioSink = QString::fromStdString("audioconvert ! audio/x-raw,format=S16LE,channels=1 ! filesink location=\"" +
                                              out + "\"");
    player.FileName = QString::fromStdString(file);
    player.Open();
    bool ended = false;
    player.OnNotify = [&] { ended = true; };
    player.SetStartPos(from);
    player.SetEndPos(to);
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return ended; }, 8000));
    TPlayed played{player.NotifyValue(), player.Position(), player.ErrorMessage().toStdString(), ReadRawSamples(out)};
    player.Close();
    return played;
}

// The segment holds the recording's sound from its first sample to its last: the clicks in it
// stand where they stand in the recording, to the millisecond, and nothing more follows.
void ExpectExactSegment(const std::string& file, int rate, int from, int to)
{
    SCOPED_TRACE(file + " " + std::to_string(from) + "-" + std::to_string(to));
    const TPlayed played = PlaySegment(file, from, to);
    EXPECT_EQ(played.Value, nvSuccessful) << played.Error;
    EXPECT_EQ(played.Position, to);
    EXPECT_NEAR(played.Samples.size() * 1000.0 / rate, to - from, 1.0);
    const std::vector<double> clicks = ClickMs(played.Samples, rate);
    ASSERT_FALSE(clicks.empty());
    EXPECT_NEAR(clicks.front(), std::ceil(from / 100.0) * 100 - from, 1.0);
    EXPECT_NEAR(clicks.back(), std::ceil(to / 100.0) * 100 - 100 - from, 1.0);
    EXPECT_EQ(int(clicks.size()), int(std::ceil(to / 100.0) - std::ceil(from / 100.0)));
}

}  // namespace

// Remuxed with its first packet at 0 (no negative pre-roll), or starting later: the demuxer
// ended every segment near the start at once, and the play was reported as done.
TEST(MadeByFfmpeg, OggStartingAtZeroOrLaterPlaysEverySegmentExactly)
{
    struct TShape {
        int Rate;
        int Channels;
        const char* Options;
    };
    TTempFolder dir;
    const TShape shapes[] = {{22050, 1, "-c:a libvorbis -avoid_negative_ts make_zero"},
                             {44100, 2, "-c:a libvorbis -avoid_negative_ts make_zero"},
                             {44100, 2, "-c:a libvorbis -output_ts_offset 0.5"}};
    for (const TShape& shape : shapes) {
        const std::string wav = dir / ("clicks" + std::to_string(shape.Rate) + ".wav");
        const std::string ogg = dir / ("clicks" + std::to_string(&shape - shapes) + ".ogg");
        ASSERT_TRUE(MakeClicks(wav, shape.Rate, shape.Channels, 3));
        ASSERT_TRUE(Ffmpeg(wav, shape.Options, ogg));
        ExpectExactSegment(ogg, shape.Rate, 0, 1550);
        ExpectExactSegment(ogg, shape.Rate, 1230, 2050);
        ExpectExactSegment(ogg, shape.Rate, 2230, 3000);
    }
    // Opus that starts later has the same header pages.
    const std::string opus = dir / "late.opus";
    ASSERT_TRUE(Ffmpeg(dir / "clicks44100.wav", "-c:a libopus -output_ts_offset 0.5", opus));
    EXPECT_EQ(PlaySegment(opus, 0, 1500).Value, nvSuccessful);
}

// Only whole header pages of a regular Ogg file are patched; anything else is left alone,
// and a pipe is never read (it would take the player's data).
TEST(MadeByFfmpeg, OggHeaderPagesArePatchedOnlyWhenWhole)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeClicks(dir / "clicks.wav", 22050, 1, 1));
    ASSERT_TRUE(Ffmpeg(dir / "clicks.wav", "-c:a libvorbis -avoid_negative_ts make_zero", dir / "zero.ogg"));
    const std::vector<TBytePatch> patches = OggHeaderPagePatches(dir / "zero.ogg");
    ASSERT_EQ(patches.size(), 2u);
    EXPECT_EQ(patches[0].Offset, 6u);
    EXPECT_EQ(patches[0].Bytes.substr(0, 8), std::string(8, char(0xFF)));
    std::ifstream in(dir / "zero.ogg", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ofstream(dir / "cut.ogg", std::ios::binary) << bytes.substr(0, patches[1].Offset + 100);
    EXPECT_TRUE(OggHeaderPagePatches(dir / "cut.ogg").empty());
    EXPECT_TRUE(OggHeaderPagePatches(dir / "clicks.wav").empty());
    ASSERT_EQ(mkfifo((dir / "pipe.ogg").c_str(), 0600), 0);
    EXPECT_TRUE(OggHeaderPagePatches(dir / "pipe.ogg").empty());
}

TEST(MadeByFfmpeg, OggStartingAtZeroGivesWholeClips)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeClicks(dir / "clicks.wav", 44100, 1, 3));
    ASSERT_TRUE(Ffmpeg(dir / "clicks.wav", "-c:a libvorbis -avoid_negative_ts make_zero", dir / "zero.ogg"));
    std::string error;
    std::int64_t writtenToMs = 0;
    ASSERT_TRUE(WriteOggClip(dir / "zero.ogg", 230, 1050, dir / "clip.ogg", writtenToMs, error)) << error;
    EXPECT_EQ(writtenToMs, 1050);
    ASSERT_TRUE(Ffmpeg(dir / "clip.ogg", "-f s16le -ac 1", dir / "clip.raw"));
    const std::vector<double> clicks = ClickMs(ReadRawSamples(dir / "clip.raw"), 44100);
    ASSERT_EQ(clicks.size(), 8u);
    EXPECT_NEAR(clicks.front(), 70, 1.0);
}

// Whatever the cause, a play whose sound never reached the output is no play: the
// notification says so, with why, and the position is not the end it never got to. Here a
// damaged header page still makes the demuxer end at once.
TEST(UnplayedSegments, AreReportedAsFailuresWithTheirReason)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeOggWithDamagedHeader(dir / "damaged.ogg", 3));
    const TPlayed played = PlaySegment(dir / "damaged.ogg", 0, 2000);
    EXPECT_EQ(played.Value, nvFailure);
    EXPECT_NE(played.Error.find("not played"), std::string::npos) << played.Error;
    EXPECT_EQ(played.Position, 0);
}

// Short of the stop by more than a codec frame is not played through; a play to the end may
// stop short of a length that was only estimated; an empty segment has nothing to play.
TEST(UnplayedSegments, AreThoseShortOfTheirStop)
{
    EXPECT_FALSE(UnplayedSegmentReason(0, 3000, false, 2500).empty());
    EXPECT_TRUE(UnplayedSegmentReason(0, 3000, false, 2900).empty());
    EXPECT_TRUE(UnplayedSegmentReason(0, 3000, true, 2500).empty());
    EXPECT_FALSE(UnplayedSegmentReason(0, 3000, true, std::nullopt).empty());
    EXPECT_TRUE(UnplayedSegmentReason(1000, 1000, false, std::nullopt).empty());
}

// ffmpeg tells the encoder's priming and the real length in an edit list, not in a tag; every
// segment still starts and ends on its own sound, the last one at the recording's very end.
TEST(MadeByFfmpeg, AacInMp4AndM4aPlaysEverySegmentExactly)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeClicks(dir / "clicks.wav", 44100, 1, 3));
    for (const char* name : {"clicks.m4a", "clicks.mp4"}) {
        ASSERT_TRUE(Ffmpeg(dir / "clicks.wav", "-c:a aac", dir / name));
        ExpectExactSegment(dir / name, 44100, 0, 1550);
        ExpectExactSegment(dir / name, 44100, 1230, 2050);
        ExpectExactSegment(dir / name, 44100, 2230, 3000);
    }
}
