#include <gtest/gtest.h>

#include "timing/place_text.h"
#include "timing/tick_wait.h"

using namespace olve;

TEST(TickWait, TheBarAndTheLabelChangeWhereTheirNextPixelAndSecondBegin)
{
    EXPECT_EQ(NextBarStep(0, 1000, 100), 10);
    EXPECT_EQ(NextBarStep(15, 1000, 100), 20);
    EXPECT_EQ(NextBarStep(10, 333, 140), 12) << "the first position drawn a pixel wider";
    EXPECT_EQ(NextBarStep(999, 1000, 100), 1000);
    EXPECT_EQ(NextBarStep(1000, 1000, 100), -1) << "a full bar grows no more";
    EXPECT_EQ(NextBarStep(5, 0, 100), -1);
    EXPECT_EQ(NextBarStep(5, 1000, 0), -1);
    EXPECT_EQ(NextWholeSecond(12345), 13000);
    EXPECT_EQ(NextWholeSecond(13000), 14000);
    EXPECT_NE(PlaceTimeText(NextWholeSecond(12345) - 1, 60000), PlaceTimeText(NextWholeSecond(12345), 60000));
}

TEST(TickWait, TheTimerSleepsUntilTheNearestChangeAtThePlaysSpeed)
{
    EXPECT_EQ(TickWaitMs(1000, {1100, 1050, -1}, 1.0), 51) << "the nearest, a millisecond late";
    EXPECT_EQ(TickWaitMs(1000, {1100}, 0.5), 201) << "slower speech takes longer to get there";
    EXPECT_EQ(TickWaitMs(1000, {1150}, 1.5), 101);
    EXPECT_EQ(TickWaitMs(1000, {900, 1000}, 1.0), LongestTickWaitMs) << "nothing ahead";
    EXPECT_EQ(TickWaitMs(1000, {90000}, 1.0), LongestTickWaitMs) << "never longer than the longest";
    EXPECT_EQ(TickWaitMs(1000, {1001}, 1.0), 2);
    EXPECT_EQ(TickWaitMs(1000, {1100}, 0.0), LongestTickWaitMs);
    EXPECT_EQ(PacedChange(1000, 1005, 1.0), 1030) << "a pixel 5 ms ahead waits for the first pace";
    EXPECT_EQ(PacedChange(1000, 1005, 0.5), 1015) << "30 ms of the clock at half speed";
    EXPECT_EQ(PacedChange(1000, 1200, 1.0), 1200);
    EXPECT_EQ(PacedChange(1000, -1, 1.0), -1);
}
