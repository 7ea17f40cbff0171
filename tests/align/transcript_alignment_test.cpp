#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <random>
#include <fstream>

#include "align/pcm_recording.h"
#include "align/recording_file.h"
#include "align/transcript_alignment.h"
#include "spoken_reading.h"
#include "support/temp_folder.h"

using namespace olve;

namespace {

const std::vector<std::string> Spoken = {
    "The quick brown fox jumps over the lazy dog.",
    "My friend Zorvak lives at 42 Baker Street.",
    "Reading aloud every day makes learning easier.",
    "She opened the window and looked at the garden.",
};

class TranscriptAlignment : public testing::Test {
protected:
    TTempFolder Dir;
    TPcmRecording Recording;
    std::vector<TSpokenSentence> Truth;

    void SetUp() override
    {
        ASSERT_TRUE(MakeSpokenReading(Spoken, 800, Dir / "reading.wav", Truth));
        std::string error;
        ASSERT_TRUE(DecodePcmRecording(Dir / "reading.wav", Recording, error)) << error;
    }

    void ExpectNearTruth(const TSubtitleCue& cue, const TSpokenSentence& truth)
    {
        EXPECT_NEAR(cue.StartMs, truth.StartMs, 150) << cue.Text;
        EXPECT_NEAR(cue.EndMs, truth.EndMs, 150) << cue.Text;
        ASSERT_FALSE(cue.Parts.empty());
        EXPECT_EQ(cue.Parts.front().Offset, 0u);
        EXPECT_EQ(cue.Parts.front().StartMs, cue.StartMs);
        for (std::size_t k = 1; k < cue.Parts.size(); ++k) {
            EXPECT_GT(cue.Parts[k].Offset, cue.Parts[k - 1].Offset) << cue.Text;
            EXPECT_GT(cue.Parts[k].StartMs, cue.Parts[k - 1].StartMs) << cue.Text;
            EXPECT_LT(cue.Parts[k].StartMs, cue.EndMs) << cue.Text;
        }
    }
};

}  // namespace

// Names and numbers the dictionary lacks are read too, and every pause starts a new stretch.
TEST_F(TranscriptAlignment, TimesEverySentenceAndWordOfGeneratedSpeech)
{
    TTranscriptAlignment alignment;
    std::string error;
    ASSERT_TRUE(AlignTranscript(Recording, Spoken, alignment, error)) << error;
    EXPECT_TRUE(alignment.Notes.empty());
    ASSERT_EQ(alignment.Cues.size(), Spoken.size());
    for (std::size_t k = 0; k < Spoken.size(); ++k) {
        EXPECT_EQ(alignment.Cues[k].Number, int(k + 1));
        EXPECT_EQ(alignment.Cues[k].Text, Spoken[k]);
        ExpectNearTruth(alignment.Cues[k], Truth[k]);
    }
    EXPECT_EQ(alignment.Cues[1].Parts.size(), 8u);
}

// A sentence the reader left out is neither dropped nor allowed to take the next one's time.
TEST_F(TranscriptAlignment, ASentenceNotReadIsTimedBetweenItsNeighboursWithANote)
{
    std::vector<std::string> transcript = Spoken;
    transcript.insert(transcript.begin() + 2, "Nobody in this recording ever says these particular words.");
    TTranscriptAlignment alignment;
    std::string error;
    ASSERT_TRUE(AlignTranscript(Recording, transcript, alignment, error)) << error;
    ASSERT_EQ(alignment.Cues.size(), transcript.size());
    ASSERT_EQ(alignment.Notes.size(), 1u);
    EXPECT_NE(alignment.Notes[0].find("sentence 3 (\"Nobody in this recording"), std::string::npos) << alignment.Notes[0];
    EXPECT_GE(alignment.Cues[2].StartMs, alignment.Cues[1].EndMs);
    EXPECT_LE(alignment.Cues[2].EndMs, alignment.Cues[3].StartMs);
    ExpectNearTruth(alignment.Cues[1], Truth[1]);
    ExpectNearTruth(alignment.Cues[3], Truth[2]);
    ExpectNearTruth(alignment.Cues[4], Truth[3]);
}

// A long passage of the transcript that nobody reads (a preface, notes) reaches further than
// a stretch's words: the sentences read after it are found all the same.
TEST_F(TranscriptAlignment, SentencesReadAfterALongUnreadPassageAreFound)
{
    const char* const places[] = {"harbour", "market", "library", "station", "garden", "museum", "bridge", "castle"};
    const char* const people[] = {"farmers", "sailors", "teachers", "painters", "doctors"};
    std::vector<std::string> transcript(Spoken.begin(), Spoken.begin() + 2);
    for (std::size_t k = 0; k < 40; ++k)
        transcript.push_back(std::string("In those years the ") + people[k % 5] + " of the old " + places[k % 8] +
                             " wrote letters about the weather and the price of bread.");
    transcript.insert(transcript.end(), Spoken.begin() + 2, Spoken.end());
    TTranscriptAlignment aligned;
    std::string error;
    ASSERT_TRUE(AlignTranscript(Recording, transcript, aligned, error)) << error;
    ASSERT_EQ(aligned.Cues.size(), transcript.size());
    ASSERT_EQ(aligned.Unplaced.size(), 40u);
    EXPECT_EQ(aligned.Unplaced.front(), 2u);
    EXPECT_EQ(aligned.Unplaced.back(), 41u);
    for (std::size_t k : {0, 1})
        ExpectNearTruth(aligned.Cues[k], Truth[k]);
    for (std::size_t k : {2, 3})
        ExpectNearTruth(aligned.Cues[40 + k], Truth[k]);
}

// White noise 10 dB under the speech: the words are still the transcript's, not other speech.
TEST_F(TranscriptAlignment, SpeechUnderLoudNoiseIsStillHeard)
{
    double power = 0;
    for (const std::int16_t sample : Recording.Samples)
        power += double(sample) * sample;
    const double noise = std::sqrt(power / double(Recording.Samples.size()) / 10);
    std::mt19937 random(7);
    std::normal_distribution<double> hiss(0, noise);
    TPcmRecording noisy = Recording;
    for (std::int16_t& sample : noisy.Samples)
        sample = std::int16_t(std::clamp(sample + hiss(random), -32768.0, 32767.0));
    TTranscriptAlignment alignment;
    std::string error;
    ASSERT_TRUE(AlignTranscript(noisy, Spoken, alignment, error)) << error;
    EXPECT_TRUE(alignment.Unplaced.empty());
    ASSERT_EQ(alignment.Cues.size(), Spoken.size());
    for (std::size_t k = 0; k < Spoken.size(); ++k)
        EXPECT_NEAR(alignment.Cues[k].StartMs, Truth[k].StartMs, 150) << Spoken[k];
}

TEST_F(TranscriptAlignment, FailsWithAReasonWhenNothingIsDecodedOrHeard)
{
    std::ofstream(Dir / "notes.mp3") << "not a recording\n";
    TPcmRecording broken;
    std::string decodeError;
    EXPECT_FALSE(DecodePcmRecording(Dir / "notes.mp3", broken, decodeError));
    EXPECT_EQ(decodeError.rfind("cannot decode " + Dir / "notes.mp3" + ": ", 0), 0u) << decodeError;
    TTranscriptAlignment fromFile;
    std::string fileError;
    EXPECT_FALSE(AlignTranscript(TRecordingFile(Dir / "notes.mp3"), Spoken, fromFile, fileError));
    EXPECT_EQ(fileError, decodeError);

    TPcmRecording quiet;
    quiet.Samples.assign(TPcmRecording::SampleRate * 3, 0);
    TTranscriptAlignment alignment;
    std::string error;
    EXPECT_FALSE(AlignTranscript(quiet, Spoken, alignment, error));
    EXPECT_EQ(error, "no sentence of the transcript was heard in the recording");
}

// Speech the transcript lacks (an intro, an aside) and a sentence it has but nobody reads each
// stay where they are: every other sentence keeps the times it has without them.
TEST_F(TranscriptAlignment, SpeechOutsideTheTranscriptMovesNoOtherSentence)
{
    TTranscriptAlignment plain;
    std::string error;
    ASSERT_TRUE(AlignTranscript(Recording, Spoken, plain, error)) << error;

    const std::vector<std::string> withAsides = {
        "Welcome to this recording, made for listeners everywhere in the world.", Spoken[0], Spoken[1],
        "By the way, remember to take a short break now and then.", Spoken[2], Spoken[3]};
    std::vector<TSpokenSentence> truth;
    ASSERT_TRUE(MakeSpokenReading(withAsides, 800, Dir / "asides.wav", truth));
    TPcmRecording asides;
    ASSERT_TRUE(DecodePcmRecording(Dir / "asides.wav", asides, error)) << error;
    std::vector<std::string> unread = Spoken;
    unread.insert(unread.begin() + 3, "Nobody in this recording ever says these particular words.");
    TTranscriptAlignment aligned;
    ASSERT_TRUE(AlignTranscript(asides, unread, aligned, error)) << error;
    ASSERT_EQ(aligned.Cues.size(), unread.size());
    EXPECT_EQ(aligned.Unplaced, std::vector<std::size_t>{3});

    const std::size_t spokenAt[] = {1, 2, 4, 5};
    const std::size_t cueAt[] = {0, 1, 2, 4};
    for (std::size_t k = 0; k < Spoken.size(); ++k) {
        SCOPED_TRACE(Spoken[k]);
        const TSpokenSentence& there = truth[spokenAt[k]];
        const TSubtitleCue& cue = aligned.Cues[cueAt[k]];
        EXPECT_NEAR(cue.StartMs - there.StartMs, plain.Cues[k].StartMs - Truth[k].StartMs, 50);
        EXPECT_NEAR(cue.EndMs - there.EndMs, plain.Cues[k].EndMs - Truth[k].EndMs, 50);
    }
}

// Real read speech with no pause at all between sentences, for minutes: the recognizer must
// keep the transcript's words in its search to the end of each long stretch.
TEST_F(TranscriptAlignment, ReadSpeechRunningOnWithoutPausesIsPlacedToTheEnd)
{
    const std::string clips = "/usr/share/pocketsphinx/test/data/librivox/sense_and_sensibility_01_austen_64kb-0";
    const std::vector<std::pair<std::string, std::string>> read = {
        {"870", "And mister john dashwood had then leisure to consider how much there might be prudently in his "
                "power to do for them."},
        {"880", "He was not an ill disposed young man."},
        {"890", "Unless to be rather cold hearted and rather selfish is to be ill disposed."},
        {"920", "Had he married a more a amiable woman he might have been made still more respectable than he was."},
        {"930", "He might even have been made amiable himself."}};
    std::vector<TPcmRecording> trimmed(read.size());
    std::string error;
    for (std::size_t k = 0; k < read.size(); ++k) {
        const std::string wav = Dir / (read[k].first + ".wav");
        const std::string trim = "sox -D -V1 " + clips + read[k].first + ".wav " + wav +
                                 " silence 1 0.03 -40d reverse silence 1 0.03 -40d reverse";
        ASSERT_EQ(std::system(trim.c_str()), 0) << trim;
        ASSERT_TRUE(DecodePcmRecording(wav, trimmed[k], error)) << error;
    }
    TPcmRecording runOn;
    std::vector<std::string> transcript;
    std::vector<std::int64_t> startMs;
    for (std::size_t round = 0; round < 8; ++round)
        for (std::size_t k = 0; k < read.size(); ++k) {
            const std::size_t clip = (k * (round % 4 + 1) + round) % read.size();
            startMs.push_back(runOn.LengthMs());
            runOn.Samples.insert(runOn.Samples.end(), trimmed[clip].Samples.begin(), trimmed[clip].Samples.end());
            transcript.push_back(read[clip].second);
        }
    TTranscriptAlignment aligned;
    ASSERT_TRUE(AlignTranscript(runOn, transcript, aligned, error)) << error;
    EXPECT_TRUE(aligned.Unplaced.empty());
    ASSERT_EQ(aligned.Cues.size(), transcript.size());
    for (std::size_t k = 0; k < transcript.size(); ++k)
        EXPECT_NEAR(aligned.Cues[k].StartMs, startMs[k], 150) << "sentence " << k + 1 << ": " << transcript[k];
}

// A recording read from its file as it is aligned is timed exactly as the same sound held in
// memory, and how far it got is told from the start of the reading to its end.
TEST_F(TranscriptAlignment, ARecordingReadFromItsFileIsTimedAsOneHeldInMemory)
{
    TTranscriptAlignment held;
    std::string error;
    ASSERT_TRUE(AlignTranscript(Recording, Spoken, held, error)) << error;
    std::vector<std::pair<std::size_t, std::size_t>> told;
    const TAlignProgress progress = [&told](std::size_t done, std::size_t total) { told.emplace_back(done, total); };
    TTranscriptAlignment streamed;
    ASSERT_TRUE(AlignTranscript(TRecordingFile(Dir / "reading.wav", Recording.LengthMs()), Spoken, streamed, error,
                                progress))
        << error;
    ASSERT_EQ(streamed.Cues.size(), held.Cues.size());
    for (std::size_t k = 0; k < held.Cues.size(); ++k) {
        EXPECT_EQ(streamed.Cues[k].StartMs, held.Cues[k].StartMs) << k;
        EXPECT_EQ(streamed.Cues[k].EndMs, held.Cues[k].EndMs) << k;
        ASSERT_EQ(streamed.Cues[k].Parts.size(), held.Cues[k].Parts.size()) << k;
        for (std::size_t w = 0; w < held.Cues[k].Parts.size(); ++w)
            EXPECT_EQ(streamed.Cues[k].Parts[w].StartMs, held.Cues[k].Parts[w].StartMs) << k << " " << w;
    }
    ASSERT_GT(told.size(), 10u);
    EXPECT_LT(told.front().first * 10, told.front().second);
    for (std::size_t k = 1; k < told.size(); ++k)
        EXPECT_GT(told[k].first, told[k - 1].first);
    EXPECT_EQ(told.back().first, told.back().second);
}

// A learner who cancels, or a program told to end, is not kept waiting for the rest of the
// recording: both passes stop at once and say why.
TEST_F(TranscriptAlignment, CancellingStopsEitherPassWithItsReason)
{
    for (const std::size_t stopAt : {1u, 400u}) {
        SCOPED_TRACE(stopAt);
        std::atomic<bool> cancel = false;
        std::size_t toldAfter = 0;
        const TAlignProgress progress = [&](std::size_t done, std::size_t) {
            toldAfter += cancel ? 1 : 0;
            cancel = cancel || done >= stopAt;
        };
        TTranscriptAlignment aligned;
        std::string error;
        EXPECT_FALSE(AlignTranscript(TRecordingFile(Dir / "reading.wav", Recording.LengthMs()), Spoken, aligned,
                                     error, progress, &cancel));
        EXPECT_EQ(error, AlignmentCancelled);
        EXPECT_LE(toldAfter, 1u);
        EXPECT_TRUE(aligned.Cues.empty());
    }
}
