#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "media/media_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"

using namespace olve;

namespace {

constexpr int Rate = 44100;
// Long enough to hear where a play starts and ends, well inside the stretches played as recorded.
constexpr std::size_t Edge = 1000;

// Plays into a file as fast as it decodes; the file sink starts the file over at every flushing
// seek, so after a play it holds what that play rendered.
class PlayerSpeedOutput : public testing::Test {
protected:
    void Open(const std::string& media)
    {
        Player.AudioSink = QString::fromStdString(
            "audioconvert dithering=none ! audio/x-raw,format=S16LE,channels=1 ! filesink sync=false location=\"" +
            Output + "\"");
        Player.FileName = QString::fromStdString(media);
        Player.OnNotify = [this] { ++Notified; };
        Player.Open();
    }

    std::vector<std::int16_t> Play(int from, int to, double speed)
    {
        Player.SetSpeed(speed);
        const int notified = Notified;
        Player.SetStartPos(from);
        Player.SetEndPos(to);
        Player.Play();
        EXPECT_TRUE(WaitUntil([&] { return Notified > notified; }, 5000));
        EXPECT_EQ(Player.Position(), to);
        std::ifstream file(Output, std::ios::binary);
        std::vector<std::int16_t> samples(std::filesystem::file_size(Output) / sizeof(std::int16_t));
        file.read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * sizeof(std::int16_t)));
        return samples;
    }

    TTempFolder Folder;
    const std::string Output = Folder / "rendered.raw";
    TOlveMediaPlayer Player;
    int Notified = 0;
};

bool SameSound(const std::int16_t* a, const std::int16_t* b, std::size_t count)
{
    for (std::size_t i = 0; i < count; ++i)
        if (std::abs(a[i] - b[i]) > 2)
            return false;
    return true;
}

double Frequency(const std::vector<std::int16_t>& samples)
{
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        crossings += (samples[i - 1] < 0) != (samples[i] < 0);
    return crossings / 2.0 / (double(samples.size()) / Rate);
}

}  // namespace

// A slower or faster play starts with the sound at its start, not with what the play before it
// left unplayed, and lasts its length at that speed, ending with the sound at its end.
TEST_F(PlayerSpeedOutput, SegmentsStartAndEndOnTheirOwnSoundAtEverySpeed)
{
    // A rising ramp twice a second: every sample tells where in the half second it comes from.
    const std::string ramp = Folder / "ramp.wav";
    ASSERT_TRUE(MakeMedia("audiotestsrc wave=saw freq=2 samplesperbuffer=4410 num-buffers=50 ! "
                          "audio/x-raw,rate=44100,channels=1 ! wavenc ! filesink location={out}",
                          ramp));
    Open(ramp);
    const std::vector<std::int16_t> recorded = Play(1230, 1730, 1.0);
    ASSERT_EQ(recorded.size(), 22050u);
    for (const double speed : {0.7, 1.3}) {
        SCOPED_TRACE(speed);
        Play(3010, 3400, speed);
        const std::vector<std::int16_t> played = Play(1230, 1730, speed);
        ASSERT_GT(played.size(), Edge);
        EXPECT_NEAR(double(played.size()), recorded.size() / speed, Rate / 1000.0);
        EXPECT_TRUE(SameSound(played.data(), recorded.data(), Edge));
        EXPECT_TRUE(SameSound(played.data() + played.size() - Edge, recorded.data() + recorded.size() - Edge, Edge));
    }
}

TEST_F(PlayerSpeedOutput, TheVoiceKeepsItsPitchAtEverySpeed)
{
    const std::string tone = Folder / "tone.wav";
    ASSERT_TRUE(MakeWav(tone, 3));
    Open(tone);
    for (const double speed : {0.5, 0.7, 1.3, 1.5})
        EXPECT_NEAR(Frequency(Play(500, 2000, speed)), 440.0, 5.0) << speed;
}
