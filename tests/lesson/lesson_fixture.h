#pragma once
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

#include "lesson/lesson_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "support/wait_until.h"
#include "timing/positions.h"

namespace olve {

// A lesson on a real player with fake sinks: decoding and timing are real, no sound card.
class LessonPlayer : public testing::Test {
protected:
    TTempFolder Folder;
    TPlayPackage Package;
    TLessonPlayer Lesson;

    void SetUp() override
    {
        ASSERT_TRUE(MakeWav(Folder / "tone.wav", 6));
        Lesson.Player().AudioSink = "fakesink sync=true";
        Lesson.Player().FileName = QString::fromStdString(Folder / "tone.wav");
        Lesson.Player().Open();
        ASSERT_NE(Lesson.Player().DeviceID(), 0);
    }
    void TearDown() override { Lesson.Player().Close(); }
    static TPlayCardItem MakeCard(int start, int end, const std::string& main = "card", const std::string& data = "")
    {
        TPlayCardItem card;
        card.MainText = main;
        card.DataText = data;
        card.StartPos = MakePackedPosition(1, 0, 0, start);
        card.EndPos = MakePackedPosition(1, 0, 0, end);
        card.TimeFormat = otfTrackMilliseconds;
        return card;
    }
    void AddCard(int start, int end, const std::string& main = "card", const std::string& data = "")
    {
        Package.MainCards.AddRec(MakeCard(start, end, main, data));
    }
    void OpenFourCards()
    {
        for (const auto& [start, end] : {std::pair{100, 1000}, {1000, 2000}, {2000, 3000}, {3000, 4000}})
            AddCard(start, end);
        Lesson.Open(Package);
    }
    // Lets the play run (the lesson ticks by itself) until done holds.
    static bool PlayUntil(const std::function<bool()>& done, int ms = 4000) { return WaitUntil(done, ms); }
    bool Stopped() { return Lesson.Player().Mode() == mpStopped; }
    bool Playing() { return Lesson.Player().Mode() == mpPlaying; }
    // The play has come to rest at position.
    bool RestsAt(int position) { return Stopped() && Lesson.Player().Position() == position; }
};

}  // namespace olve
