#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>

#include "align/pcm_recording.h"
#include "align/recording_file.h"
#include "align/subtitle_sync.h"
#include "spoken_reading.h"
#include "support/temp_folder.h"
#include "tool_run.h"

using namespace olve;

namespace {

const std::vector<std::string> Spoken = {
    "The quick brown fox jumps over the lazy dog.",
    "My friend lives at the end of Baker Street.",
    "Reading aloud every day makes learning easier.",
    "She opened the window.",
    "The train was late again this morning, so we walked.",
    "Good.",
    "Nobody knew where the old map had gone.",
    "Please pass me the salt and the pepper.",
    "It rained all afternoon and into the night.",
    "We will meet again next week at the library.",
    "Thank you very much for coming today.",
    "The children laughed at the little dog in the park.",
};

// One reading for every test: espeak-ng is slow to start.
class SubtitleSync : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Dir = new TTempFolder;
        Wav = *Dir / "reading.wav";
        ASSERT_TRUE(MakeSpokenReading(Spoken, 900, Wav, Truth));
    }
    static void TearDownTestSuite() { delete Dir; }

    // The cues of a file made for speech that lies at written * rate + offset: cues that would
    // be written before 0 are cut, as a release cut differently would have them.
    static std::vector<TSubtitleCue> Written(double offsetMs, double rate)
    {
        std::vector<TSubtitleCue> cues;
        for (std::size_t k = 0; k < Truth.size(); ++k) {
            const auto start = std::llround((double(Truth[k].StartMs) - offsetMs) / rate);
            const auto end = std::llround((double(Truth[k].EndMs) - offsetMs) / rate);
            if (start >= 0)
                cues.push_back({int(k + 1), start, end, Spoken[k], {{start, 0}}, ""});
        }
        return cues;
    }

    // Cue start errors after the sync, against where each cue's sentence is spoken.
    static std::vector<double> StartErrors(const std::vector<TSubtitleCue>& cues)
    {
        std::vector<double> errors;
        for (const TSubtitleCue& cue : cues)
            errors.push_back(std::abs(double(cue.StartMs - Truth[std::size_t(cue.Number - 1)].StartMs)));
        std::sort(errors.begin(), errors.end());
        return errors;
    }

    static inline TTempFolder* Dir = nullptr;
    static inline std::string Wav;
    static inline std::vector<TSpokenSentence> Truth;
};

}  // namespace

// Offsets either way, and the drift of a film's frame rate either way, with both together.
TEST_F(SubtitleSync, FindsOffsetAndRateWithinTheGoal)
{
    const TRecordingFile recording(Wav);
    const struct {
        double OffsetMs, Rate;
    } cases[] = {{-2500, 1}, {800, 1}, {-45000, 1}, {0, 25 / 23.976}, {-1200, 23.976 / 25}, {1500, 24 / 25.0}};
    for (const auto& c : cases) {
        std::vector<TSubtitleCue> cues = Written(c.OffsetMs, c.Rate);
        TSubtitleSync sync;
        std::string error;
        ASSERT_TRUE(FindSubtitleSync(recording, cues, sync, error)) << error;
        ASSERT_TRUE(sync.Corrected) << c.OffsetMs << " " << c.Rate << ": " << SyncSummary(sync);
        EXPECT_NEAR(sync.Rate, c.Rate, 0.002) << c.OffsetMs;
        EXPECT_NEAR(sync.OffsetMs, c.OffsetMs, 150) << c.Rate;
        ApplySubtitleSync(sync, cues);
        const std::vector<double> errors = StartErrors(cues);
        EXPECT_LE(errors[errors.size() / 2], 60) << c.OffsetMs << " " << c.Rate;
        EXPECT_LE(errors.back(), 200) << c.OffsetMs << " " << c.Rate;
    }
}

// Speech under struck chords 12 dB and hiss 20 dB below it, after a few seconds of the
// chords alone, louder: the chords' own onsets must not be taken for speech.
TEST_F(SubtitleSync, FindsTheSpeechUnderMusicAndNoise)
{
    const std::string chords = *Dir / "chords.wav", mix = *Dir / "film.wav";
    const std::string sox = "sox -D -R -V1 ";
    ASSERT_EQ(RunCommand(sox + "-n -r 16000 -c 1 -b 16 " + Quoted(chords) +
                         " synth 1 sine 261.63 sine 329.63 triangle 65.41 fade q 0.02 1 0.6 repeat 59 gain -32")
                  .Status,
              0);
    ASSERT_EQ(RunCommand(sox + "-n -r 16000 -c 1 -b 16 " + Quoted(*Dir / "intro.wav") +
                         " synth 1 sine 220 sine 329.63 triangle 55 fade q 0.02 1 0.6 repeat 4 gain -20 pad 0 55")
                  .Status,
              0);
    ASSERT_EQ(RunCommand(sox + "-n -r 16000 -c 1 -b 16 " + Quoted(*Dir / "hiss.wav") + " synth 60 pinknoise gain -40")
                  .Status,
              0);
    ASSERT_EQ(RunCommand(sox + "-m " + Quoted(Wav) + " " + Quoted(chords) + " " + Quoted(*Dir / "intro.wav") + " " +
                         Quoted(*Dir / "hiss.wav") + " " + Quoted(mix) + " trim 0 " +
                         std::to_string(double(Truth.back().EndMs) / 1000 + 1))
                  .Status,
              0);
    std::vector<TSubtitleCue> cues = Written(-2500, 25 / 23.976);
    TSubtitleSync sync;
    std::string error;
    ASSERT_TRUE(FindSubtitleSync(TRecordingFile(mix), cues, sync, error)) << error;
    ASSERT_TRUE(sync.Corrected) << SyncSummary(sync);
    ApplySubtitleSync(sync, cues);
    const std::vector<double> errors = StartErrors(cues);
    EXPECT_LE(errors[errors.size() / 2], 60);
    EXPECT_LE(errors.back(), 200);
}

TEST_F(SubtitleSync, LeavesSubtitlesThatAlreadyMatchAsWritten)
{
    std::vector<TSubtitleCue> cues = Written(0, 1);
    const std::vector<TSubtitleCue> before = cues;
    TSubtitleSync sync;
    std::string error;
    ASSERT_TRUE(FindSubtitleSync(TRecordingFile(Wav), cues, sync, error)) << error;
    EXPECT_FALSE(sync.Corrected);
    EXPECT_TRUE(sync.Kept.empty()) << sync.Kept;
    EXPECT_EQ(SyncSummary(sync), "subtitles already match the speech");
    ApplySubtitleSync(sync, cues);
    for (std::size_t k = 0; k < cues.size(); ++k) {
        EXPECT_EQ(cues[k].StartMs, before[k].StartMs);
        EXPECT_EQ(cues[k].EndMs, before[k].EndMs);
    }
}

// Silence, hiss alone, or too few cues: nothing to go by, so nothing moves, and the user hears why.
TEST_F(SubtitleSync, KeepsTheCuesAndSaysWhyWhenTheSpeechDoesNotTell)
{
    TPcmRecording silence;
    silence.Samples.assign(30 * 16000, 0);
    TPcmRecording hiss;
    for (std::size_t k = 0; k < 30 * 16000; ++k)
        hiss.Samples.push_back(std::int16_t((k * 7919 % 2001) - 1000));
    const std::vector<TSubtitleCue> cues = Written(-2500, 1);
    for (const TPcmRecording* recording : {&silence, &hiss}) {
        TSubtitleSync sync;
        std::string error;
        ASSERT_TRUE(FindSubtitleSync(*recording, cues, sync, error)) << error;
        EXPECT_FALSE(sync.Corrected);
        EXPECT_FALSE(sync.Kept.empty());
        EXPECT_EQ(SyncSummary(sync).rfind("subtitles kept as written: ", 0), 0u) << SyncSummary(sync);
        EXPECT_NE(SyncSummaryJapanese(sync).find("字幕は書かれたままです"), std::string::npos);
    }
    TSubtitleSync sync;
    std::string error;
    ASSERT_TRUE(FindSubtitleSync(TRecordingFile(Wav), {cues[0], cues[1]}, sync, error)) << error;
    EXPECT_FALSE(sync.Corrected);
    EXPECT_EQ(sync.Kept, "too few subtitles to place by the speech");
}

// Subtitles of some other recording: the speech agrees with no one placement of them, though
// now and then one placement fits a few cues by chance.
TEST_F(SubtitleSync, KeepsSubtitlesOfAnotherRecording)
{
    TPcmRecording recording;
    std::string error;
    ASSERT_TRUE(DecodePcmRecording(Wav, recording, error)) << error;
    for (unsigned seed = 0; seed < 20; ++seed) {
        std::mt19937 random(seed);
        std::vector<TSubtitleCue> cues;
        std::int64_t at = 500;
        for (int k = 1; k <= 8 + int(seed % 10); ++k) {
            const std::int64_t length = 700 + random() % 2300;
            cues.push_back({k, at, at + length, "x", {}, ""});
            at += length + 300 + random() % 1700;
        }
        TSubtitleSync sync;
        ASSERT_TRUE(FindSubtitleSync(recording, cues, sync, error)) << error;
        EXPECT_FALSE(sync.Corrected) << seed << ": " << SyncSummary(sync);
        EXPECT_EQ(sync.Kept, "the speech does not tell where the subtitles belong");
    }
}

TEST_F(SubtitleSync, StopsSoonAfterCancelAndTellsProgressInThousandths)
{
    std::atomic<bool> cancel = false;
    std::vector<std::size_t> told;
    const auto progress = [&](std::size_t done, std::size_t whole) {
        EXPECT_EQ(whole, 1000u);
        told.push_back(done);
        if (done >= 300)
            cancel = true;
    };
    TSubtitleSync sync;
    std::string error;
    TPcmRecording recording;
    ASSERT_TRUE(DecodePcmRecording(Wav, recording, error)) << error;
    EXPECT_FALSE(FindSubtitleSync(recording, Written(-2500, 1), sync, error, progress, &cancel));
    EXPECT_EQ(error, TRecordingSource::StoppedReading);
    EXPECT_FALSE(sync.Corrected);
    ASSERT_FALSE(told.empty());
    EXPECT_LT(told.back(), 500u);

    told.clear();
    cancel = false;
    ASSERT_TRUE(FindSubtitleSync(recording, Written(-2500, 1), sync, error, [&](std::size_t d, std::size_t) {
        told.push_back(d);
    })) << error;
    EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
    EXPECT_EQ(told.back(), 1000u);
}

// Hostile times in a file: never negative, never overflowing, and no search over them.
TEST_F(SubtitleSync, MovesStartsEndsAndWordsButNeverBeforeZero)
{
    TSubtitleSync sync{-2350, 1, true, "", ""};
    std::vector<TSubtitleCue> cues = {{1, 1000, 3000, "a b", {{1000, 0}, {2600, 2}}, ""},
                                      {2, 5000, TSubtitleCue::OpenEnd, "c", {}, ""},
                                      {3, INT64_MAX / 2, INT64_MAX, "d", {}, ""}};
    ApplySubtitleSync(sync, cues);
    EXPECT_EQ(cues[0].StartMs, 0);
    EXPECT_EQ(cues[0].EndMs, 650);
    EXPECT_EQ(cues[0].Parts[1].StartMs, 250);
    EXPECT_EQ(cues[1].StartMs, 2650);
    EXPECT_EQ(cues[1].EndMs, TSubtitleCue::OpenEnd);
    EXPECT_GT(cues[2].StartMs, 0);
    EXPECT_GE(cues[2].EndMs, cues[2].StartMs);

    std::vector<TSubtitleCue> wild = Written(-2500, 1);
    wild.push_back({99, INT64_MAX / 4, INT64_MAX / 2, "x", {}, ""});
    wild.push_back({100, -5000, 100000000, "y", {}, ""});
    std::string error;
    ASSERT_TRUE(FindSubtitleSync(TRecordingFile(Wav), wild, sync, error)) << error;
    EXPECT_NEAR(sync.OffsetMs, -2500, 150);

    // A file of a hundred thousand cues over the reading is swept over a sample of them: laying
    // them all at every offset would take minutes.
    std::vector<TSubtitleCue> crowd;
    for (int k = 0; k < 100000; ++k)
        crowd.push_back({k + 1, k * 17 % 40000, k * 17 % 40000 + 900, "z", {}, ""});
    const auto began = std::chrono::steady_clock::now();
    ASSERT_TRUE(FindSubtitleSync(TRecordingFile(Wav), crowd, sync, error)) << error;
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(30));
}

TEST(SubtitleSyncSummary, SaysTheOffsetAndTheRateInBothLanguages)
{
    EXPECT_EQ(SyncSummary({-2350, 1, true, "", ""}), "subtitles were 2.35 s late; corrected");
    EXPECT_EQ(SyncSummaryJapanese({-2350, 1, true, "", ""}), "字幕は2.35秒遅れていました。補正しました");
    EXPECT_EQ(SyncSummary({1200, 25 / 23.976, true, "", ""}), "subtitles were 1.20 s early and ran 4.3% fast; corrected");
    EXPECT_EQ(SyncSummaryJapanese({1200, 25 / 23.976, true, "", ""}),
              "字幕は1.20秒早く出て、4.3%速く進んでいました。補正しました");
    EXPECT_EQ(SyncSummary({2, 23.976 / 25, true, "", ""}), "subtitles ran 4.1% slow; corrected");
    EXPECT_EQ(SyncSummary({-2, 1.0002, true, "", ""}), "subtitles ran 0.02% fast; corrected");
    EXPECT_EQ(SyncSummary({0, 1, false, "no speech was found in the recording", "録音に音声が見つかりません"}),
              "subtitles kept as written: no speech was found in the recording");
    EXPECT_EQ(SyncSummaryJapanese({0, 1, false, "", ""}), "字幕はすでに音声に合っています");
}
