#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "support/stalled_fifo.h"
#include "support/temp_folder.h"
#include "support/test_media.h"
#include "tool_run.h"

// A recording on a share that stopped answering after its first bytes: the probe ends on
// its own after the player's ten-second open time-out, with the reason and a failure status.
TEST(MediaCommand, ProbeOfARecordingThatStopsAnsweringEndsWithTheReason)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeWav(dir / "tone.wav", 1));
    std::string head(30, '\0');
    std::ifstream(dir / "tone.wav", std::ios::binary).read(head.data(), 30);
    TStalledFifo stalled(dir / "stalled.wav", head);
    ASSERT_TRUE(stalled.Ready());

    const auto start = std::chrono::steady_clock::now();
    const TToolRun run =
        RunCommand("timeout -s KILL 60 " + Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") + " media probe " + Quoted(dir / "stalled.wav"));
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(run.Status, 1) << run.Err;
    EXPECT_NE(run.Err.find("the file did not answer within 10 s"), std::string::npos) << run.Err;
    EXPECT_EQ(run.Out, "");
    EXPECT_LT(seconds, 15);
}

// A segment played from the command line needs neither pictures nor windows: Qt's widget and
// picture libraries (and with them a good part of the tool's memory) are never loaded.
TEST(MediaCommand, PlaysASegmentWithoutLoadingTheWidgetPictureOrSpeechLibraries)
{
    TTempFolder dir;
    ASSERT_TRUE(MakeWav(dir / "tone.wav", 2));
    const TToolRun run = RunCommand("LD_DEBUG=files " + Quoted(std::string(OLVE_BIN_DIR) + "/olvetool") +
                                    " media play " + Quoted(dir / "tone.wav") + " 200 700 --null");
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "notify=successful\nposition=700\n");
    EXPECT_NE(run.Err.find("libQt6Core"), std::string::npos);
    EXPECT_EQ(run.Err.find("libQt6Widgets"), std::string::npos);
    EXPECT_EQ(run.Err.find("libQt6Gui"), std::string::npos);
    EXPECT_EQ(run.Err.find("libpocketsphinx"), std::string::npos) << "the recognizer is for transcripts";

    const TToolRun outside = Tool("media play " + Quoted(dir / "tone.wav") + " 3000 4000 --null");
    EXPECT_EQ(outside.Status, 1);
    EXPECT_NE(outside.Err.find("out of range"), std::string::npos) << outside.Err;
}
