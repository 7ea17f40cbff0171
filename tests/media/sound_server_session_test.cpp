#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "media/media_player.h"
#include "support/sound_server.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

constexpr int Rate = TSoundServer::Rate;
constexpr int ClickSpacing = Rate / 10;
constexpr int ClickAmplitude = 20000;
constexpr double OneMs = Rate / 1000.0;

// A click every 100 ms over a quiet hum: every sample is sound, so a stretch of the recording
// is exactly what was played, and the clicks tell which part of the source it was.
std::vector<std::int16_t> Signal(int seconds)
{
    std::vector<std::int16_t> samples(std::size_t(seconds) * Rate);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(std::lround(1500 * std::sin(2 * M_PI * 110.0 * double(i) / Rate)));
    for (std::size_t at = ClickSpacing; at + 1 < samples.size(); at += ClickSpacing)
        samples[at] = std::int16_t(samples[at] + ClickAmplitude);
    return samples;
}

bool WriteWav(const std::string& path, const std::vector<std::int16_t>& samples)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file.putChar(char(v >> (8 * i)));
    };
    const auto dataBytes = std::uint32_t(samples.size() * sizeof(std::int16_t));
    file.write("RIFF");
    put(36 + dataBytes, 4);
    file.write("WAVEfmt ");
    put(16, 4);
    put(1, 2);
    put(1, 2);
    put(Rate, 4);
    put(Rate * 2, 4);
    put(2, 2);
    put(16, 2);
    file.write("data");
    put(dataBytes, 4);
    file.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
    return file.error() == QFileDevice::NoError;
}

// Index of the first sample at least half a click high.
std::size_t FirstClick(const std::vector<std::int16_t>& x)
{
    for (std::size_t i = 0; i < x.size(); ++i)
        if (x[i] >= ClickAmplitude / 2)
            return i;
    return x.size();
}

struct TSegment {
    int From;
    int To;
    // Where the first click lies from the start, in samples.
    double FirstClickAt() const { return (((From + 99) / 100) * 100 - From) * OneMs; }
    double Samples() const { return (To - From) * OneMs; }
};

// Plays the segments one after another on one open player, as the practice loop does, while
// the server's output is recorded; returns the stretches of sound heard.
std::vector<std::vector<std::int16_t>> PlaySession(TSoundServer& server, const std::string& file,
                                                   const std::vector<TSegment>& segments, double speed = 1.0)
{
    EXPECT_TRUE(server.StartRecording());
    TOlveMediaPlayer player;
    player.FileName = QString::fromStdString(file);
    player.AudioSink = "pulsesink";
    player.Open();
    player.SetSpeed(speed);
    int completed = 0;
    player.OnNotify = [&] { completed += player.NotifyValue() == nvSuccessful; };
    for (std::size_t i = 0; i < segments.size(); ++i) {
        player.SetStartPos(segments[i].From);
        player.SetEndPos(segments[i].To);
        player.Play();
        // The bound only tells a segment that never ends from one that a busy machine ends
        // late: what was heard is checked from the recording, not from the time it took.
        EXPECT_TRUE(WaitUntil([&] { return completed == int(i) + 1; },
                              int((segments[i].To - segments[i].From) / speed) + 15000))
            << "segment " << i + 1 << " never completed";
        if (completed != int(i) + 1)
            break;
        WaitUntil([] { return false; }, 120);
    }
    player.Close();
    WaitUntil([] { return false; }, 300);
    return SoundStretches(server.StopRecording(), std::size_t(5 * OneMs));
}

// A sound server of the test's own, its null sink recorded on request.
class SoundServerSession : public testing::Test {
protected:
    TTempFolder folder;
    TSoundServer server{folder.Path().string()};

    void SetUp() override
    {
        if (const std::string missing = TSoundServer::Missing(); !missing.empty())
            GTEST_SKIP() << missing;
        const std::string why = server.Start();
        ASSERT_TRUE(why.empty()) << why;
    }
};

}  // namespace

// The practice loop plays card after card on one open player into the desktop's sound server.
// There every segment after the first lost its first milliseconds (the word's onset), and some
// sessions stopped completing at all; fake sinks showed none of it.
TEST_F(SoundServerSession, EverySegmentIsHeardWholeAndCompletes)
{
    const std::string wav = folder / "signal.wav";
    ASSERT_TRUE(WriteWav(wav, Signal(14)));

    // Starting 8-16 ms before a click, so that a lost start loses the click too.
    std::vector<TSegment> segments;
    for (int i = 0; i < 14; ++i) {
        const int click = 500 + i * 900;
        segments.push_back({click - 8 - (i % 3) * 4, click + 300 + (i % 4) * 50});
    }

    const auto stretches = PlaySession(server, wav, segments);

    ASSERT_EQ(stretches.size(), segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE("segment " + std::to_string(i + 1));
        EXPECT_NEAR(double(FirstClick(stretches[i])), segments[i].FirstClickAt(), OneMs)
            << "samples lost at the start (or extra ones before it)";
        EXPECT_NEAR(double(stretches[i].size()), segments[i].Samples(), OneMs);
    }
}

// A film's sound (AAC beside a picture) slowed down: the first play goes to an idle sink, whose
// stream starts behind the clock that tells the segment's end; pausing at once cut its last
// 15-30 ms.
TEST_F(SoundServerSession, AFilmsSegmentsAreHeardToTheirLastSampleAtAnotherSpeed)
{
    const std::string wav = folder / "signal.wav";
    const std::string film = folder / "film.mp4";
    ASSERT_TRUE(WriteWav(wav, Signal(6)));
    ASSERT_EQ(std::system(("ffmpeg -nostdin -loglevel error -f lavfi -i testsrc=size=160x120:rate=10:duration=6 -i '" +
                           wav + "' -c:v libx264 -c:a aac -shortest '" + film + "'")
                              .c_str()),
              0);
    const std::vector<TSegment> segments{{488, 988}, {1688, 2038}, {3092, 3500}, {4496, 4996}};
    const auto stretches = PlaySession(server, film, segments, 0.7);

    ASSERT_EQ(stretches.size(), segments.size());
    for (std::size_t i = 0; i < segments.size(); ++i) {
        SCOPED_TRACE("segment " + std::to_string(i + 1));
        EXPECT_NEAR(double(stretches[i].size()), std::floor(segments[i].Samples() / 0.7), OneMs);
    }
}
