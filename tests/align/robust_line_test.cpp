#include <gtest/gtest.h>

#include "align/robust_line.h"

using namespace olve;

// A third of the points wild (cues that found some other speech) must not pull the line.
TEST(RobustLine, FollowsTheAgreeingPointsAndLeavesWildOnesOut)
{
    std::vector<TLinePoint> points;
    for (int k = 0; k < 30; ++k) {
        const double x = 1000.0 * k;
        const double wild = k % 3 == 0 ? (k % 2 ? 90.0 : -70.0) : 0.0;
        points.push_back({x, 1.0427 * x - 250 + (k % 5 - 2) + wild});
    }
    const TLine line = FitRobustLine(points, {1.04, -240}, 6, 3000, 0.003);
    EXPECT_NEAR(line.Slope, 1.0427, 0.0002);
    EXPECT_NEAR(line.Intercept, -250, 3);
}

// Over a short span the slope is not to be told from noise: only the intercept moves; nor may
// the slope run off further than allowed.
TEST(RobustLine, KeepsTheStartingSlopeWhereThePointsCannotTellIt)
{
    const std::vector<TLinePoint> close = {{0, 10}, {500, 530}, {1000, 1000}, {1500, 1520}};
    const TLine shortSpan = FitRobustLine(close, {1, 0}, 6, 3000, 0.003);
    EXPECT_DOUBLE_EQ(shortSpan.Slope, 1);
    EXPECT_NEAR(shortSpan.Intercept, 15, 1);

    std::vector<TLinePoint> steep;
    for (int k = 0; k < 10; ++k)
        steep.push_back({1000.0 * k, 1.05 * 1000.0 * k});
    EXPECT_DOUBLE_EQ(FitRobustLine(steep, {1, 0}, 6, 3000, 0.003).Slope, 1.003);
}
