#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <unistd.h>

#include "media/content_class.h"
#include "media/device_error.h"
#include "media/media_player.h"
#include "media/video_surface.h"
#include "media/wave_volume.h"
#include "support/stalled_fifo.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "support/test_media.h"

using namespace olve;

namespace {

void Spin(int ms)
{
    WaitUntil([] { return false; }, ms);
}

class MediaPlayer : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Folder = std::make_unique<TTempFolder>();
        ASSERT_TRUE(MakeWav(*Folder / "tone.wav", 20));
        ASSERT_TRUE(MakeOgg(*Folder / "tone.ogg", 4));
        ASSERT_TRUE(MakeMp3(*Folder / "tone.mp3", 4));
        ASSERT_TRUE(MakeAvi(*Folder / "clip.avi", 320, 240, 50));
    }
    static void TearDownTestSuite() { Folder.reset(); }

    void SetUp() override
    {
        Player.AudioSink = "fakesink sync=true";
        Player.OnNotify = [this] { Notified.push_back(Player.NotifyValue()); };
    }

    void Open(const std::string& name)
    {
        Player.FileName = QString::fromStdString(*Folder / name);
        Player.Open();
    }
    bool WaitForNotifications(std::size_t count, int ms = 5000)
    {
        return WaitUntil([&] { return Notified.size() >= count; }, ms);
    }

    static std::unique_ptr<TTempFolder> Folder;
    TOlveMediaPlayer Player;
    std::vector<TMPNotifyValues> Notified;
};

std::unique_ptr<TTempFolder> MediaPlayer::Folder;

std::string HeadOf(const std::string& path, std::size_t size)
{
    std::ifstream file(path, std::ios::binary);
    std::string head(size, '\0');
    file.read(head.data(), static_cast<std::streamsize>(size));
    head.resize(static_cast<std::size_t>(file.gcount()));
    return head;
}

void ExpectNoDevice(const std::function<void()>& command)
{
    try {
        command();
        ADD_FAILURE() << "no device error";
    } catch (const EMCIDeviceError& error) {
        EXPECT_STREQ(error.what(), NoDeviceText);
    }
}

std::size_t OpenDescriptors()
{
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"), {}));
}

long ResidentMegabytes()
{
    long pages = 0;
    long resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) / (1024 * 1024);
}

}  // namespace

TEST_F(MediaPlayer, CommandsOnAClosedPlayerRaiseTheDeviceErrorOrDoNothing)
{
    ExpectNoDevice([&] { Player.Play(); });
    ExpectNoDevice([&] { Player.Pause(); });
    ExpectNoDevice([&] { Player.Stop(); });
    ExpectNoDevice([&] { Player.Length(); });
    ExpectNoDevice([&] { Player.TimeFormat(); });
    ExpectNoDevice([&] { Player.Tracks(); });
    ExpectNoDevice([&] { Player.TrackLength(1); });
    ExpectNoDevice([&] { Player.SetPosition(0); });
    EXPECT_EQ(Player.Position(), 0);
    EXPECT_EQ(Player.Mode(), mpNotReady);
    EXPECT_EQ(Player.MTimeFormat(), otfTMSF);
    EXPECT_EQ(Player.MediaTimeFormat(-1), otfTrackMilliseconds);
    Player.Close();
    Player.Close();
    EXPECT_EQ(Player.DeviceID(), 0);
}

TEST_F(MediaPlayer, OpensAFileAndReportsItsLengthAndFormat)
{
    Open("tone.wav");
    EXPECT_NE(Player.DeviceID(), 0);
    EXPECT_NEAR(Player.Length(), 20000, 5);
    EXPECT_EQ(Player.Mode(), mpStopped);
    EXPECT_EQ(Player.Position(), 0);
    EXPECT_EQ(Player.TimeFormat(), 0);
    EXPECT_EQ(Player.MTimeFormat(), otfTrackMilliseconds);
    EXPECT_EQ(Player.Tracks(), 1);
    EXPECT_EQ(Player.TrackLength(1), Player.Length());
    EXPECT_FALSE(Player.HasVideo());
    Player.Close();
    EXPECT_EQ(Player.DeviceID(), 0);
    EXPECT_EQ(Player.Mode(), mpNotReady);
}

TEST_F(MediaPlayer, PlaysOneSegmentOnceThenContinuesToTheEnd)
{
    Open("tone.wav");
    Player.SetStartPos(1000);
    Player.SetEndPos(1500);
    QElapsedTimer timer;
    timer.start();
    Player.Play();
    EXPECT_EQ(Player.Mode(), mpPlaying);
    Spin(200);
    const int during = Player.Position();
    EXPECT_GT(during, 1100);
    EXPECT_LT(during, 1450);
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_NEAR(timer.elapsed(), 500, 150);
    EXPECT_EQ(Notified, std::vector<TMPNotifyValues>{nvSuccessful});
    EXPECT_EQ(Player.Position(), 1500);
    EXPECT_EQ(Player.Mode(), mpStopped);

    // No new positions: from where it stopped, on towards the end.
    Player.Play();
    Spin(300);
    EXPECT_GT(Player.Position(), 1600);
    EXPECT_EQ(Player.Mode(), mpPlaying);
    Player.Stop();
    ASSERT_TRUE(WaitForNotifications(2));
    EXPECT_EQ(Notified.back(), nvAborted);
    EXPECT_EQ(Player.Mode(), mpStopped);
}

TEST_F(MediaPlayer, PauseKeepsThePositionAndResumeFinishesTheSegment)
{
    Open("tone.wav");
    Player.SetStartPos(0);
    Player.SetEndPos(800);
    Player.Play();
    Spin(300);
    Player.SetNotify(false);
    Player.Pause();
    EXPECT_EQ(Player.Mode(), mpPaused);
    const int paused = Player.Position();
    Spin(300);
    EXPECT_NEAR(Player.Position(), paused, 5);
    EXPECT_TRUE(Notified.empty());

    Player.SetNotify(false);
    Player.Pause();
    EXPECT_EQ(Player.Mode(), mpPlaying);
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Notified, std::vector<TMPNotifyValues>{nvSuccessful});
    EXPECT_EQ(Player.Position(), 800);

    // Pausing when stopped does nothing.
    Player.Pause();
    EXPECT_EQ(Player.Mode(), mpStopped);
}

TEST_F(MediaPlayer, ANewPlaySupersedesTheRunningOne)
{
    Open("tone.wav");
    Player.SetStartPos(0);
    Player.SetEndPos(5000);
    Player.Play();
    Spin(200);
    Player.SetStartPos(3000);
    Player.SetEndPos(3300);
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(2));
    EXPECT_EQ(Notified, (std::vector<TMPNotifyValues>{nvSuperseded, nvSuccessful}));
    EXPECT_EQ(Player.Position(), 3300);
}

TEST_F(MediaPlayer, PlayAtTheEndRewindsToTheStart)
{
    Open("tone.wav");
    Player.SetStartPos(19700);
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Player.Position(), Player.Length());
    Player.Play();
    Spin(200);
    EXPECT_LT(Player.Position(), 1000);
    EXPECT_EQ(Player.Mode(), mpPlaying);
}

TEST_F(MediaPlayer, SeekingStopsAndMovesThePosition)
{
    Open("tone.wav");
    Player.SetPosition(7000);
    EXPECT_EQ(Player.Position(), 7000);
    EXPECT_EQ(Player.Mode(), mpStopped);
    Player.SetEndPos(7300);
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Player.Position(), 7300);
    Player.SetPosition(999999);
    EXPECT_NE(Player.Error(), 0);
    EXPECT_FALSE(Player.ErrorMessage().isEmpty());
}

TEST_F(MediaPlayer, PlaysOggAndMp3Segments)
{
    for (const char* name : {"tone.ogg", "tone.mp3"}) {
        Notified.clear();
        Open(name);
        EXPECT_NEAR(Player.Length(), 4000, 80) << name;
        Player.SetStartPos(1000);
        Player.SetEndPos(1400);
        Player.Play();
        ASSERT_TRUE(WaitForNotifications(1)) << name;
        EXPECT_EQ(Notified.front(), nvSuccessful) << name;
        EXPECT_EQ(Player.Position(), 1400) << name;
    }
}

TEST_F(MediaPlayer, BadFilesGiveADeviceErrorQuickly)
{
    TTempFolder dir;
    std::ofstream(dir / "empty.mp3");
    std::ofstream(dir / "text.mp3") << "This is not sound at all, only words.\n";
    {
        std::ifstream mp3(*Folder / "tone.mp3", std::ios::binary);
        std::string head(100, '\0');
        mp3.read(head.data(), 100);
        std::ofstream(dir / "cut.mp3", std::ios::binary) << head;
    }
    {
        // A video whose codec no decoder knows.
        std::ifstream avi(*Folder / "clip.avi", std::ios::binary);
        std::string data((std::istreambuf_iterator<char>(avi)), {});
        for (std::size_t at = data.find("MJPG"); at != std::string::npos; at = data.find("MJPG", at))
            data.replace(at, 4, "QQQQ");
        std::ofstream(dir / "unknown.avi", std::ios::binary) << data;
    }
    for (const char* name : {"missing.wav", "empty.mp3", "text.mp3", "cut.mp3", "unknown.avi"}) {
        Player.FileName = QString::fromStdString(dir / name);
        QElapsedTimer timer;
        timer.start();
        try {
            Player.Open();
            ADD_FAILURE() << name << " opened";
        } catch (const EMCIDeviceError& error) {
            EXPECT_GT(std::strlen(error.what()), 5u) << name;
        }
        EXPECT_LT(timer.elapsed(), 5000) << name;
        EXPECT_EQ(Player.DeviceID(), 0) << name;
    }
}

// A recording on a share that stopped answering: the open gives up with the reason, and
// neither that nor destroying a player whose recording stalled while playing waits for it.
TEST_F(MediaPlayer, ARecordingThatStopsAnsweringIsGivenUpInTime)
{
    TTempFolder dir;
    TStalledFifo unopened(dir / "unopened.wav", "");
    TStalledFifo header(dir / "header.wav", HeadOf(*Folder / "tone.wav", 30));
    TStalledFifo playing(dir / "playing.wav", HeadOf(*Folder / "tone.wav", 32768));
    ASSERT_TRUE(unopened.Ready() && header.Ready() && playing.Ready());
    const int usualTimeoutMs = Player.OpenTimeoutMs;
    Player.OpenTimeoutMs = 1500;
    for (const char* name : {"unopened.wav", "header.wav"}) {
        Player.FileName = QString::fromStdString(dir / name);
        QElapsedTimer timer;
        timer.start();
        try {
            Player.Open();
            ADD_FAILURE() << name << " opened";
        } catch (const EMCIDeviceError& error) {
            EXPECT_EQ(error.what(), NoAnswerText(1500)) << name;
        }
        EXPECT_LT(timer.elapsed(), 2500) << name;
        EXPECT_EQ(Player.DeviceID(), 0) << name;
    }

    // Loading the decoder the first time can take longer than the short time-out.
    Player.OpenTimeoutMs = usualTimeoutMs;
    Open("tone.ogg");
    Player.SetStartPos(1000);
    Player.SetEndPos(1400);
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Notified.front(), nvSuccessful);
    EXPECT_EQ(Player.Position(), 1400);

    auto stalling = std::make_unique<TOlveMediaPlayer>();
    stalling->AudioSink = "fakesink sync=true";
    stalling->FileName = QString::fromStdString(dir / "playing.wav");
    stalling->Open();
    stalling->Play();
    // The head holds less than half a second of sound.
    Spin(800);
    QElapsedTimer timer;
    timer.start();
    stalling.reset();
    EXPECT_LT(timer.elapsed(), 4500);
}

TEST_F(MediaPlayer, CommandsInAnyOrderAreHarmless)
{
    Open("tone.wav");
    Player.Stop();
    Player.Pause();
    Player.SetNotify(true);
    Player.Stop();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Notified, std::vector<TMPNotifyValues>{nvSuccessful});
    Player.Open();
    Player.Close();
    Player.Close();
    EXPECT_EQ(Player.Mode(), mpNotReady);
}

TEST_F(MediaPlayer, VideoFramesArriveInTheDisplayRectangle)
{
    QWidget panel;
    panel.resize(640, 480);
    Player.SetDisplay(&panel);
    Open("clip.avi");
    ASSERT_TRUE(Player.HasVideo());
    EXPECT_EQ(Player.NaturalSize(), QSize(320, 240));
    TVideoSurface* surface = Player.VideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->parentWidget(), &panel);
    EXPECT_FALSE(surface->Frame().isNull());
    EXPECT_EQ(surface->Frame().size(), QSize(320, 240));

    Player.SetDisplayRect(QRect(10, 20, 0, 0));
    EXPECT_EQ(Player.DisplayRect(), QRect(10, 20, 320, 240));
    Player.SetDisplayRect(QRect(0, 0, 640, 480));
    EXPECT_EQ(surface->geometry(), QRect(0, 0, 640, 480));

    Player.SetStartPos(0);
    Player.SetEndPos(1000);
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_EQ(Notified.front(), nvSuccessful);
}

// A picture far larger than the screen is decoded at its size but kept at the display's: at
// 8192 x 8192 every kept frame would take 256 MB.
TEST_F(MediaPlayer, HugeVideoFramesAreKeptAtTheDisplaySize)
{
    ASSERT_TRUE(MakeMedia("videotestsrc pattern=gradient num-buffers=3 ! video/x-raw,width=8192,height=8192,"
                          "framerate=25/1 ! jpegenc ! matroskamux ! filesink location={out}",
                          *Folder / "huge.mkv"));
    QWidget panel;
    panel.resize(640, 480);
    Player.SetDisplay(&panel);
    Open("huge.mkv");
    EXPECT_EQ(Player.NaturalSize(), QSize(8192, 8192));
    TVideoSurface* surface = Player.VideoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_LE(surface->Frame().width(), 1920);

    Player.SetDisplayRect(QRect(0, 0, 400, 300));
    Player.SetStartPos(0);
    Player.SetEndPos(Player.Length());
    Player.Play();
    ASSERT_TRUE(WaitForNotifications(1));
    EXPECT_TRUE(WaitUntil([&] { return surface->Frame().size() == QSize(300, 300); }, 3000))
        << surface->Frame().width() << " x " << surface->Frame().height();
}

TEST_F(MediaPlayer, TheVolumeReadsBackAsSetAndOutlivesReopening)
{
    SetWaveVolume(Player, 0);
    EXPECT_EQ(GetWaveVolume(Player), 0);
    Open("tone.wav");
    EXPECT_EQ(GetWaveVolume(Player), 0);
    SetWaveVolume(Player, 65535);
    EXPECT_EQ(GetWaveVolume(Player), 65535);
    SetWaveVolume(Player, 30000);
    Player.Close();
    Open("tone.ogg");
    EXPECT_EQ(GetWaveVolume(Player), 30000);
}

// Slower and faster plays take longer and shorter in wall time yet end exactly at their end.
TEST_F(MediaPlayer, SegmentsPlayAtTheSpeedSetAndEndAtTheirEnd)
{
    Open("tone.wav");
    const auto playedFor = [&](double speed) {
        Player.SetSpeed(speed);
        Notified.clear();
        Player.SetStartPos(2000);
        Player.SetEndPos(3000);
        QElapsedTimer timer;
        timer.start();
        Player.Play();
        EXPECT_TRUE(WaitForNotifications(1));
        EXPECT_EQ(Notified, std::vector<TMPNotifyValues>{nvSuccessful});
        EXPECT_EQ(Player.Position(), 3000);
        return timer.elapsed();
    };
    EXPECT_NEAR(playedFor(0.5), 2000, 250);
    EXPECT_NEAR(playedFor(1.5), 667, 200);

    Player.SetSpeed(0.1);
    EXPECT_EQ(Player.Speed(), 0.5);
    Player.SetSpeed(4);
    EXPECT_EQ(Player.Speed(), 1.5);
    Player.Close();
    Open("tone.ogg");
    EXPECT_EQ(Player.Speed(), 1.5);
}

// A change while playing goes on from where the play stands at the new speed, to the same end.
TEST_F(MediaPlayer, ASpeedChangeWhilePlayingKeepsTheSegmentsEnd)
{
    Open("tone.wav");
    Player.SetSpeed(1.0);
    Player.SetStartPos(1000);
    Player.SetEndPos(2000);
    QElapsedTimer timer;
    timer.start();
    Player.Play();
    Spin(400);
    const int before = Player.Position();
    Player.SetSpeed(0.5);
    EXPECT_NEAR(Player.Position(), before, 40);
    EXPECT_EQ(Player.Mode(), mpPlaying);
    ASSERT_TRUE(WaitForNotifications(1));
    // 400 ms at full speed, then the remaining 600 ms of media at half speed.
    EXPECT_NEAR(timer.elapsed(), 400 + 1200, 250);
    EXPECT_EQ(Notified, std::vector<TMPNotifyValues>{nvSuccessful});
    EXPECT_EQ(Player.Position(), 2000);
}

TEST(ContentClass, ComesFromTheMimeDatabase)
{
    EXPECT_EQ(ContentClassOfExtension(".mp4"), "video");
    EXPECT_EQ(ContentClassOfExtension(".WMV"), "video");
    EXPECT_EQ(ContentClassOfExtension(".mp3"), "audio");
    EXPECT_EQ(ContentClassOfExtension(".ts"), "video") << "a transport stream, not a translation file";
    EXPECT_EQ(ContentClassOfExtension(".jpg"), "image");
    EXPECT_EQ(ContentClassOfExtension(".nosuchextension"), "error");
    EXPECT_EQ(ContentClassOfExtension(""), "error");
    EXPECT_EQ(ContentClassOfFile("/titles/lesson 1/clip.avi"), "video");
    EXPECT_EQ(ContentClassOfFile("noextension"), "error");
}

// Every open kept two descriptors and half a megabyte: a thousand opens ran out of descriptors.
TEST_F(MediaPlayer, OpeningAndClosingAThousandTimesLeavesDescriptorsAndMemoryFlat)
{
    auto openAndClose = [&](int times) {
        for (int i = 0; i < times; ++i) {
            Open(i % 2 ? "tone.ogg" : "tone.wav");
            Player.Close();
        }
    };
    openAndClose(20);
    const std::size_t descriptors = OpenDescriptors();
    const long resident = ResidentMegabytes();
#ifdef __SANITIZE_ADDRESS__
    // The address sanitizer holds freed memory back on purpose and reports leaks itself; each
    // open costs it a third of a second.
    openAndClose(100);
    EXPECT_LE(OpenDescriptors(), descriptors + 2);
    (void)resident;
#else
    openAndClose(1000);
    EXPECT_LE(OpenDescriptors(), descriptors + 2);
    EXPECT_LT(ResidentMegabytes(), resident + 40);
#endif
}
