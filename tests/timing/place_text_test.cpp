#include <gtest/gtest.h>

#include "timing/place_text.h"

using namespace olve;

TEST(PlaceText, TheCounterAndTheTimeReadAsALearnerExpects)
{
    EXPECT_EQ(CardCounterText(2, 10), "3 / 10");
    EXPECT_EQ(CardCounterText(-1, 10), "- / 10") << "before the first card";
    EXPECT_EQ(CardCounterText(0, 0), "");
    EXPECT_EQ(PlaceTimeText(12345, 165000), "0:12 / 2:45");
    EXPECT_EQ(PlaceTimeText(-5, 600000), "0:00 / 10:00");
    EXPECT_EQ(PlaceTimeText(700000, 600000), "10:00 / 10:00") << "never past the end";
    EXPECT_EQ(PlaceTimeText(61000, 3725000), "0:01:01 / 1:02:05") << "hours for a long recording";
}
