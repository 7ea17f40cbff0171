#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "media/ogg_clip.h"
#include "support/temp_folder.h"
#include "support/test_media.h"

using namespace olve;

namespace {

// Noise, whose every stretch matches the recording at one place only.
std::string Noise(int rate, double seconds)
{
    return "audiotestsrc wave=white-noise volume=0.5 samplesperbuffer=" + std::to_string(rate / 10) +
           " num-buffers=" + std::to_string(std::lround(seconds * 10)) + " ! audio/x-raw,rate=" + std::to_string(rate) +
           ",channels=1 ! audioconvert ! ";
}

// The 16-bit samples of a file wavenc wrote.
std::vector<std::int16_t> WavSamples(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t data = bytes.find("data");
    if (data == std::string::npos)
        return {};
    std::vector<std::int16_t> samples((bytes.size() - data - 8) / 2);
    std::memcpy(samples.data(), bytes.data() + data + 8, samples.size() * 2);
    return samples;
}

// How many samples after first in the recording the clip's start matches best, within reach.
long Misplacement(const std::vector<std::int16_t>& clip, const std::vector<std::int16_t>& whole, long first, long reach)
{
    const long n = std::min<long>(static_cast<long>(clip.size()), 4096);
    long best = 0;
    double bestScore = -1;
    for (long d = -reach; d <= reach; ++d) {
        double score = 0;
        for (long i = 0; i < n; ++i)
            score += double(clip[static_cast<std::size_t>(i)]) * whole[static_cast<std::size_t>(first + d + i)];
        if (score > bestScore) {
            bestScore = score;
            best = d;
        }
    }
    return best;
}

// The clip as it decodes: 16-bit mono samples.
std::vector<std::int16_t> Decoded(const TTempFolder& dir, const std::string& clip)
{
    const std::string raw = dir / "decoded.raw";
    std::remove(raw.c_str());
    if (!MakeMedia("filesrc location=\"" + clip + "\" ! decodebin ! audioconvert ! audio/x-raw,format=S16LE,channels=1 "
                   "! filesink location={out}",
                   raw))
        return {};
    std::ifstream file(raw, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

bool HasFfmpeg()
{
    return std::system("ffmpeg -version >/dev/null 2>&1") == 0;
}

struct TRecording {
    std::string Name;
    int Rate;
    std::string Original;
};

}  // namespace

// Matroska stamps its frames to the millisecond, and MP4 made as users have them starts its
// sound in a later segment (an edit list): neither may move or lose a sample of the clip.
TEST(OggClip, CutsMatroskaAndMp4SoundExactlyWhereItLies)
{
    TTempFolder dir;
    std::vector<TRecording> recordings;
    for (const int rate : {16000, 44100, 48000}) {
        const std::string wav = dir / ("noise" + std::to_string(rate) + ".wav");
        ASSERT_TRUE(MakeMedia(Noise(rate, 4) + "wavenc ! filesink location={out}", wav));
        const std::string mka = dir / ("vorbis" + std::to_string(rate) + ".mka");
        ASSERT_TRUE(MakeMedia("filesrc location=\"" + wav + "\" ! wavparse ! audioconvert ! vorbisenc ! matroskamux ! "
                              "filesink location={out}",
                              mka));
        recordings.push_back({mka, rate, wav});
        if (!HasFfmpeg())
            continue;
        const std::string mp4 = dir / ("aac" + std::to_string(rate) + ".mp4");
        ASSERT_EQ(std::system(("ffmpeg -loglevel error -y -i \"" + wav + "\" -c:a aac \"" + mp4 + "\"").c_str()), 0);
        recordings.push_back({mp4, rate, wav});
    }
    for (const auto& [recording, rate, original] : recordings) {
        SCOPED_TRACE(recording);
        const std::string clip = dir / "clip.ogg";
        std::string error;
        std::int64_t writtenToMs = 0;
        ASSERT_TRUE(WriteOggClip(recording, 1050, 2550, clip, writtenToMs, error)) << error;
        EXPECT_EQ(writtenToMs, 2550);
        const std::vector<std::int16_t> samples = Decoded(dir, clip);
        const long first = std::lround(1050.0 * rate / 1000);
        // Decoding the clip again may give one sample more: the last granule is rounded to
        // nanoseconds and back.
        EXPECT_NEAR(static_cast<double>(samples.size()), static_cast<double>(std::lround(2550.0 * rate / 1000) - first), 1.0);
        EXPECT_LE(std::abs(Misplacement(samples, WavSamples(original), first, rate / 20)), rate / 1000);
    }
    if (!HasFfmpeg())
        GTEST_SKIP() << "ffmpeg is missing: only Matroska was tried";
}

// A film whose sound stops a little before its picture: the last card ends with the sound.
TEST(OggClip, ASoundShorterThanThePictureEndsTheClipWithTheSound)
{
    TTempFolder dir;
    const std::string film = dir / "film.mkv";
    ASSERT_TRUE(MakeMedia("matroskamux name=mux ! filesink location={out} "
                          "videotestsrc num-buffers=100 ! video/x-raw,width=160,height=120,framerate=25/1 ! jpegenc ! mux. " +
                              Noise(48000, 3.5) + "vorbisenc ! mux.",
                          film));
    std::string error;
    std::int64_t writtenToMs = 0;
    ASSERT_TRUE(WriteOggClip(film, 3000, 3900, dir / "last.ogg", writtenToMs, error)) << error;
    EXPECT_NEAR(static_cast<double>(writtenToMs), 3500.0, 25.0);
    EXPECT_NEAR(static_cast<double>(Decoded(dir, dir / "last.ogg").size()), (writtenToMs - 3000) * 48.0, 48.0);

    EXPECT_FALSE(WriteOggClip(film, 3700, 4000, dir / "none.ogg", writtenToMs, error));
    EXPECT_NE(error.find("ends before 3700 ms"), std::string::npos) << error;
    EXPECT_FALSE(std::ifstream(dir / "none.ogg").good());

    // A hostile title's card of hours is not gathered in memory.
    EXPECT_FALSE(WriteOggClip(film, 0, 30 * 60 * 1000, dir / "long.ogg", writtenToMs, error));
    EXPECT_NE(error.find("the card is too long for a clip: 1800 s"), std::string::npos) << error;
}
