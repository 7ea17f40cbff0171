#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/aac_priming.h"
#include "media/media_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

constexpr int Rate = 44100;

// A click every 100 ms, each a single period of 2205 Hz (20 samples) from silence.
std::string Clicks(int seconds)
{
    return "audiotestsrc wave=ticks tick-interval=100000000 freq=2205 sine-periods-per-tick=1 samplesperbuffer=4410 "
           "num-buffers=" +
           std::to_string(seconds * 10) + " ! audio/x-raw,rate=44100,channels=1 ! audioconvert ! ";
}

// What a segment of the file sends to the sound output, sample for sample.
std::vector<std::int16_t> PlaySegment(const TTempFolder& dir, const std::string& file, int from, int to)
{
    const std::string out = dir / (file + ".raw");
    TOlveMediaPlayer player;
    player.AudioSink = QString::fromStdString("audioconvert ! audio/x-raw,format=S16LE,channels=1 ! filesink location=\"" +
                                              out + "\"");
    player.FileName = QString::fromStdString(dir / file);
    player.Open();
    bool ended = false;
    player.OnNotify = [&] { ended = true; };
    player.SetStartPos(from);
    player.SetEndPos(to);
    player.Play();
    EXPECT_TRUE(WaitUntil([&] { return ended; }, 5000));
    player.Close();
    return ReadRawSamples(out);
}

using Bytes = std::string;

Bytes Be32(std::uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

Bytes Box(const char* type, const Bytes& payload)
{
    return Be32(std::uint32_t(8 + payload.size())) + type + payload;
}

// The movie header of a sound track at 44.1 kHz, with an edit list of a second starting the
// media at mediaTime and an iTunSMPB tag when priming is not empty.
Bytes Movie(std::int32_t mediaTime, const std::string& priming)
{
    const Bytes zero4(4, '\0');
    const Bytes edits = Box("edts", Box("elst", zero4 + Be32(1) + Be32(44100) + Be32(std::uint32_t(mediaTime)) + Be32(0x10000)));
    const Bytes media = Box("mdia", Box("mdhd", zero4 + zero4 + zero4 + Be32(44100) + Be32(44100) + zero4) +
                                        Box("hdlr", zero4 + zero4 + "soun" + Bytes(13, '\0')) +
                                        Box("minf", Box("stbl", Box("stsd", zero4 + Be32(1) + Box("mp4a", Bytes(28, '\0'))))));
    const Bytes tag = priming.empty() ? Bytes()
                                      : Box("----", Box("mean", zero4 + "com.apple.iTunes") + Box("name", zero4 + "iTunSMPB") +
                                                        Box("data", Be32(1) + zero4 + " 00000000 " + priming + " 00000000"));
    return Box("ftyp", "M4A " + zero4) + Box("mdat", Bytes(64, '\0')) +
           Box("moov", Box("mvhd", zero4 + zero4 + zero4 + Be32(44100) + Be32(44100) + Bytes(80, '\0')) +
                           Box("trak", edits + media) + Box("udta", Box("meta", zero4 + Box("ilst", tag))));
}

std::string Write(const TTempFolder& dir, const std::string& name, const Bytes& bytes)
{
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return dir / name;
}

}  // namespace

TEST(AacPriming, OnlyPrimingThatNoEditSkipsIsReported)
{
    TTempFolder dir;
    const TAacPriming untold = UncompensatedAacPriming(Write(dir, "untold.m4a", Movie(0, "")));
    EXPECT_EQ(untold.Samples, 1024);
    EXPECT_EQ(untold.SampleRate, 44100);
    EXPECT_EQ(UncompensatedAacPriming(Write(dir, "tagged.m4a", Movie(0, "00000840"))).Samples, 0x840);
    const TAacPriming edited = UncompensatedAacPriming(Write(dir, "edited.m4a", Movie(2112, "00000840")));
    EXPECT_EQ(edited.Samples, 0);
    EXPECT_EQ(edited.EditedSamples, 2112);
    EXPECT_EQ(edited.EditedLengthMs, 1000);
    // The edit's length (44100 at a time scale of 44100) is read two frames and a tick longer.
    const std::vector<TBytePatch> longer = AacEditEndPatches(dir / "edited.m4a");
    ASSERT_EQ(longer.size(), 1u);
    EXPECT_EQ(longer[0].Bytes, Be32(44100 + 2048 + 1));
    EXPECT_TRUE(AacEditEndPatches(dir / "untold.m4a").empty());
    EXPECT_EQ(UncompensatedAacPriming(Write(dir, "long-skip.m4a", Movie(44101, ""))).EditedSamples, 0);
    EXPECT_EQ(UncompensatedAacPriming(Write(dir, "empty-edit.m4a", Movie(-1, ""))).Samples, 1024);
    EXPECT_EQ(UncompensatedAacPriming(Write(dir, "cut.m4a", Movie(0, "").substr(0, 60))).Samples, 0);
    EXPECT_TRUE(AacEditEndPatches(Write(dir, "cut-edit.m4a", Movie(2112, "").substr(0, 120))).empty());
    EXPECT_EQ(UncompensatedAacPriming(Write(dir, "riff.wav", "RIFF\0\0\0\0WAVE")).Samples, 0);
    EXPECT_EQ(UncompensatedAacPriming(dir / "missing.m4a").Samples, 0);
}

// Encoders put a frame or more of their own silence first; the player skips it, so a segment
// holds exactly the sound between its positions, as for WAV.
TEST(AacSegments, HoldExactlyTheSoundBetweenTheirPositions)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeMedia(Clicks(3) + "avenc_aac ! mp4mux ! filesink location={out}", dir / "clicks.m4a"));
    ASSERT_TRUE(MakeMedia(Clicks(3) + "wavenc ! filesink location={out}", dir / "clicks.wav"));
    for (const std::string file : {"clicks.wav", "clicks.m4a"}) {
        SCOPED_TRACE(file);
        const std::vector<std::int16_t> played = PlaySegment(dir, file, 1050, 1350);
        EXPECT_NEAR(played.size() * 1000.0 / Rate, 300, 1);
        const std::vector<double> clicks = ClickMs(played, Rate);
        ASSERT_EQ(clicks.size(), 3u);
        EXPECT_NEAR(clicks[0], 50, 1);
        EXPECT_NEAR(clicks[2], 250, 1);
    }
}

// An AAC frame's sound is half made by the frame before it: a segment starting inside a frame
// is heard from its first sample as the whole recording has it there, not faded in from silence,
// whatever holds the AAC.
TEST(AacSegments, StartWithTheSoundTheRecordingHasThere)
{
    TTempFolder dir;
    const std::string tone = "audiotestsrc wave=sine freq=330 volume=0.5 samplesperbuffer=4410 num-buffers=30 ! "
                             "audio/x-raw,rate=44100,channels=1 ! audioconvert ! avenc_aac ! ";
    ASSERT_TRUE(MakeMedia(tone + "mp4mux ! filesink location={out}", dir / "tone.m4a"));
    ASSERT_TRUE(MakeMedia(tone + "matroskamux ! filesink location={out}", dir / "tone.mkv"));
    for (const std::string file : {"tone.m4a", "tone.mkv"}) {
        const std::vector<std::int16_t> whole = PlaySegment(dir, file, 0, 2500);
        for (const int from : {1017, 1500, 2003}) {
            SCOPED_TRACE(file + " from " + std::to_string(from));
            const std::vector<std::int16_t> played = PlaySegment(dir, file, from, from + 200);
            const auto at = std::size_t(std::llround(from * Rate / 1000.0));
            ASSERT_GE(played.size(), 441u);
            ASSERT_GE(whole.size(), at + 44 + 441);
            // The best within a millisecond either way: the edge itself is held to that above, and
            // Matroska keeps times to the millisecond.
            double best = INFINITY;
            for (std::size_t start = at - 44; start <= at + 44; ++start) {
                double sum = 0;
                for (std::size_t i = 0; i < 441; ++i)
                    sum += std::pow(double(played[i]) - double(whole[start + i]), 2);
                best = std::min(best, std::sqrt(sum / 441));
            }
            EXPECT_LT(best, 4.0);
        }
    }
}
