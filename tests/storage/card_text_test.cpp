#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "codec/card_text.h"
#include "codec/rounding.h"

using namespace olve;

namespace {
constexpr std::int32_t Largest = std::numeric_limits<std::int32_t>::max();
}

TEST(ExpandLineBreaks, TwoBarsBecomeALineBreak)
{
    EXPECT_EQ(ExpandLineBreaks("a||b"), "a\r\nb");
    EXPECT_EQ(ExpandLineBreaks("a|b"), "a|b");
    EXPECT_EQ(ExpandLineBreaks("a|||b"), "a\r\n|b");
    EXPECT_EQ(ExpandLineBreaks("||||"), "\r\n\r\n");
    EXPECT_EQ(ExpandLineBreaks("|"), "|");
    // "−" (0x81 0x7C) ends in the byte of a bar: it does not pair with the bar after it.
    EXPECT_EQ(ExpandLineBreaks("\x81\x7C|x"), "\x81\x7C|x");
    EXPECT_EQ(ExpandLineBreaks("\x81\x7C||x"), "\x81\x7C\r\nx");
}

TEST(TextRangeOf, ReadsTheSpokenRangeFromTheTags)
{
    std::int32_t start = -1, length = -1;
    EXPECT_FALSE(TextRangeOf("TAG=x,SLG=4", start, length));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(length, Largest);

    EXPECT_TRUE(TextRangeOf("SST=5", start, length));
    EXPECT_EQ(start, 5);
    EXPECT_EQ(length, Largest);

    EXPECT_TRUE(TextRangeOf("TAG=a,sst=3,Slg=7", start, length));
    EXPECT_EQ(start, 3);
    EXPECT_EQ(length, 7);

    EXPECT_TRUE(TextRangeOf("SST=abc,SLG=x", start, length));
    EXPECT_EQ(start, 0);
    EXPECT_EQ(length, Largest);

    // Quoted items and the first of two equal names.
    EXPECT_TRUE(TextRangeOf("\"TAG=a b\",SST=2,SST=9,\"SLG=4\"", start, length));
    EXPECT_EQ(start, 2);
    EXPECT_EQ(length, 4);
    EXPECT_TRUE(TextRangeOf("SST=99999999999", start, length));
    EXPECT_EQ(start, 0);
}

TEST(CardTextPart, ShowsTheRangeBehindThreeBlanks)
{
    EXPECT_EQ(CardTextPart("Hello world", "TAG=x"), "Hello world");
    EXPECT_EQ(CardTextPart("Hello world", "SST=5"), "    world");
    EXPECT_EQ(CardTextPart("Hello world", "SST=0,SLG=5"), "Hello");
    EXPECT_EQ(CardTextPart("Hello world", "SST=6,SLG=3"), "   wor");
    // Bytes count: "日本" takes four.
    EXPECT_EQ(CardTextPart("\x93\xfa\x96\x7b" "ab", "SST=4"), "   ab");
    EXPECT_EQ(CardTextPart("Hello", "SST=50"), "   ");
    EXPECT_EQ(CardTextPart("Hello", "SST=-3,SLG=2"), "He");
    EXPECT_EQ(CardTextPart("Hello", "SST=1,SLG=-2"), "   ");
}

TEST(Rounding, HalvesGoUpOrAwayFromZero)
{
    EXPECT_EQ(RoundHalfUp(2.5), 3);
    EXPECT_EQ(RoundHalfUp(2.49), 2);
    EXPECT_EQ(RoundHalfUp(-2.5), -2);
    EXPECT_EQ(RoundHalfUp(-2.51), -3);
    EXPECT_EQ(RoundHalfAway(2.5), 3);
    EXPECT_EQ(RoundHalfAway(-2.5), -3);
    EXPECT_EQ(RoundHalfAway(-2.49), -2);
    EXPECT_EQ(RoundHalfAway(0.0), 0);
    EXPECT_EQ(RoundHalfAway(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(RoundHalfUp(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(RoundHalfUp(std::nan("")), 0);
}
