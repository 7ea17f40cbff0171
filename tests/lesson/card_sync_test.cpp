#include <gtest/gtest.h>

#include <cstdlib>

#include "lesson/card_sync.h"
#include "lesson/lesson_player.h"
#include "spoken_reading.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"
#include "timing/positions.h"

using namespace olve;

namespace {

constexpr std::int64_t LateMs = 2500;

// Sentences spoken with pauses, and a title whose cards are each LateMs late.
class CardSync : public testing::Test {
protected:
    TTempFolder Folder;
    std::string Wav = Folder / "reading.wav";
    std::vector<TSpokenSentence> Spoken;
    TPlayPackage Package;
    TLessonPlayer Lesson;

    void SetUp() override
    {
        const std::vector<std::string> sentences = {
            "The weather was cold when we left the house.", "Nobody wanted to carry the heavy bags.",
            "We walked slowly to the station.",             "The train was late again this morning.",
            "My sister read a book about old ships.",       "At noon we finally reached the sea."};
        ASSERT_TRUE(MakeSpokenReading(sentences, 1400, Wav, Spoken));
        for (std::size_t k = 0; k < Spoken.size(); ++k) {
            TPlayCardItem card;
            card.MainText = sentences[k];
            card.StartPos = MakePackedPosition(1, 0, 0, static_cast<std::uint32_t>(Spoken[k].StartMs + LateMs));
            card.EndPos = MakePackedPosition(1, 0, 0, static_cast<std::uint32_t>(Spoken[k].EndMs + LateMs));
            card.TimeFormat = otfTrackMilliseconds;
            Package.MainCards.AddRec(card);
        }
        Lesson.Player().AudioSink = "fakesink sync=true";
        Lesson.Player().FileName = QString::fromStdString(Wav);
        Lesson.Player().Open();
        ASSERT_NE(Lesson.Player().DeviceID(), 0);
        Lesson.Open(Package);
    }
    void TearDown() override { Lesson.Player().Close(); }
};

}  // namespace

TEST_F(CardSync, TheSyncKeysSearchLaysTheCardsOverTheSpeechAsOneChangeToUndo)
{
    std::vector<std::string> said;
    QObject::connect(&Lesson, &TLessonPlayer::CardsSynced, [&](const QString& m) { said.push_back(m.toStdString()); });
    QObject::connect(&Lesson, &TLessonPlayer::CardSyncFailed, [](const TFailure& f) { ADD_FAILURE() << f.English << " " << f.Subject; });
    int ended = 0;
    QObject::connect(&Lesson.CardSync(), &TCardSync::WorkEnded, [&] { ++ended; });

    // A search for a title that another has replaced meanwhile moves nothing and says nothing.
    ASSERT_TRUE(Lesson.SyncCardsToSpeech());
    EXPECT_FALSE(Lesson.SyncCardsToSpeech()) << "one search at a time";
    Lesson.Open(Package);
    ASSERT_TRUE(WaitUntil([&] { return ended == 1; }, 60000));
    EXPECT_TRUE(said.empty());
    EXPECT_EQ(Lesson.Timeline().StartOf(0), Spoken[0].StartMs + LateMs);

    ASSERT_TRUE(Lesson.SyncCardsToSpeech());
    ASSERT_TRUE(WaitUntil([&] { return ended == 2; }, 60000));
    ASSERT_EQ(said.size(), 1u);
    RecordProperty("found", said[0]);
    EXPECT_NE(said[0].find("字幕の時刻: "), std::string::npos) << said[0];
    EXPECT_NE(said[0].find("\nSubtitle times: "), std::string::npos) << said[0];
    const TCardTiming synced = Lesson.SavedProgress().Timing;
    ASSERT_NE(synced, TCardTiming{}) << said[0];
    for (int k = 0; k < Lesson.Timeline().Count(); ++k)
        EXPECT_LE(std::abs(Lesson.Timeline().StartOf(k) - Spoken[static_cast<std::size_t>(k)].StartMs), 200)
            << "card " << k + 1 << ": " << said[0];

    ASSERT_TRUE(Lesson.UndoCardChange());
    EXPECT_EQ(Lesson.Timeline().StartOf(0), Spoken[0].StartMs + LateMs) << "one change over every card";
}

TEST_F(CardSync, ACancelledSearchEndsWithoutAResultAndAnUnreadableOneSaysWhy)
{
    TCardSync sync;
    int results = 0;
    int ended = 0;
    std::optional<TFailure> failure;
    QObject::connect(&sync, &TCardSync::Found, [&] { ++results; });
    QObject::connect(&sync, &TCardSync::Failed, [&](const TFailure& f) { failure = f; });
    QObject::connect(&sync, &TCardSync::WorkEnded, [&] { ++ended; });
    ASSERT_TRUE(sync.Start(Wav, 0, CardCues(Package.MainCards)));
    sync.Cancel();
    ASSERT_TRUE(WaitUntil([&] { return ended == 1; }, 30000));
    EXPECT_EQ(results, 0);
    EXPECT_FALSE(failure);

    ASSERT_TRUE(sync.Start(Folder / "no such recording.wav", 0, CardCues(Package.MainCards)));
    ASSERT_TRUE(WaitUntil([&] { return ended == 2; }, 30000));
    ASSERT_TRUE(failure);
    EXPECT_FALSE(failure->Japanese.empty());
    EXPECT_FALSE(failure->English.empty());
    EXPECT_FALSE(failure->Subject.empty()) << "the reason is carried up";
}
