#include <gtest/gtest.h>

#include <fstream>

#include "lesson/recording_opening.h"
#include "media/media_player.h"
#include "support/temp_folder.h"
#include "support/test_media.h"

using namespace olve;

TEST(RecordingOpening, SaysWhichFileDidNotOpenAndWhyAndOpensOneThatPlays)
{
    TTempFolder folder;
    TOlveMediaPlayer player;
    player.AudioSink = "fakesink sync=true";

    const std::string missing = folder / "gone.mp3";
    std::optional<TFailure> failure = OpenRecording(player, missing);
    ASSERT_TRUE(failure);
    EXPECT_EQ(player.DeviceID(), 0);
    const std::string text = BilingualText(*failure);
    EXPECT_EQ(text.rfind("ファイルが開けません\r\n\r\nfile can not open\r\n\r\n" + missing, 0), 0u) << text;
    EXPECT_EQ(text.find("マイクロソフト"), std::string::npos) << "the hint is for Windows Media files alone";

    const std::string damaged = folder / "talk.WMV";
    std::ofstream(damaged) << "not a recording";
    failure = OpenRecording(player, damaged);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->Subject.rfind(damaged, 0), std::string::npos);
    const std::string hint = "\r\n\r\nマイクロソフトのメディアプレーヤー最新版をインストールすると解決する場合があります\r\n\r\n";
    EXPECT_EQ(failure->Subject.substr(failure->Subject.size() - hint.size()), hint);

    ASSERT_TRUE(MakeWav(folder / "tone.wav", 1));
    EXPECT_FALSE(OpenRecording(player, folder / "tone.wav"));
    EXPECT_NE(player.DeviceID(), 0);
    player.Close();
}
