#include <gtest/gtest.h>

#include "timing/playback_speed.h"

using namespace olve;

TEST(PlaybackSpeed, StepsStayOnTenthsWithinTheRange)
{
    int tenths = NormalSpeedTenths;
    for (int i = 0; i < 7; ++i)
        tenths = StepSpeedTenths(tenths, -1);
    EXPECT_EQ(tenths, SlowestSpeedTenths);
    for (int i = 0; i < 5; ++i)
        tenths = StepSpeedTenths(tenths, 1);
    EXPECT_EQ(SpeedFactor(tenths), 1.0);
    EXPECT_EQ(StepSpeedTenths(14, 3), FastestSpeedTenths);
    EXPECT_EQ(StepSpeedTenths(40, -1), 14);
    EXPECT_EQ(CycleSpeedTenths(14), 15);
    EXPECT_EQ(CycleSpeedTenths(15), 5);
    EXPECT_EQ(SpeedFactor(0), 0.5);
}

TEST(PlaybackSpeed, TextShowsOneDecimal)
{
    EXPECT_EQ(SpeedText(5), "0.5\u00d7");
    EXPECT_EQ(SpeedText(10), "1.0\u00d7");
    EXPECT_EQ(SpeedText(13), "1.3\u00d7");
}
