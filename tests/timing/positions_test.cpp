#include <gtest/gtest.h>

#include "timing/media_type.h"
#include "timing/positions.h"

using namespace olve;

TEST(PackedPositions, CarryTheMediaNumberAndTheTime)
{
    const std::uint32_t p = MakePackedPosition(2, 1, 5, 250);
    EXPECT_EQ(p, 16704002u);
    EXPECT_EQ(PackedMedia(p), 2u);
    EXPECT_EQ(PackedMinutes(p), 1u);
    EXPECT_EQ(PackedSeconds(p), 5u);
    EXPECT_EQ(PackedMilliseconds(p), 250u);
    EXPECT_EQ(PackedToMilliseconds(p), 65250u);
    // Media and minutes are cut to a byte before they are packed.
    EXPECT_EQ(MakePackedPosition(258, 256 + 1, 5, 250), p);
    // The time part is a logical shift of the whole 32 bits.
    EXPECT_EQ(PackedTime(0xFFFFFF01u), 0xFFFFFFu);
}

TEST(TmsfPositions, CountFramesIgnoringTheTrack)
{
    const std::uint32_t t = MakeTmsf(3, 2, 10, 20);
    EXPECT_EQ(TmsfTrack(t), 3u);
    EXPECT_EQ(TmsfToFrames(t), 9770u);
    EXPECT_EQ(TmsfToFrames(MakeTmsf(99, 2, 10, 20)), 9770u);
}

TEST(PlayerUnits, FollowTheTimeFormat)
{
    const std::uint32_t p = MakePackedPosition(1, 0, 3, 500);
    EXPECT_EQ(ToPlayerUnits(p, otfTrackMilliseconds), 3500u);
    EXPECT_EQ(ToPlayerUnits(p, otfFrames), 3500u);
    EXPECT_EQ(ToPlayerUnits(p, otfTMSF), TmsfToFrames(p));
    EXPECT_EQ(ToPlayerUnits(p, otfNone), TmsfToFrames(p));

    EXPECT_EQ(ClassifyTimeFormat(TimeFormatFrames), otfFrames);
    EXPECT_EQ(ClassifyTimeFormat(TimeFormatTmsf), otfTMSF);
    EXPECT_EQ(ClassifyTimeFormat(TimeFormatMilliseconds), otfTrackMilliseconds);
    EXPECT_EQ(ClassifyTimeFormat(5), otfTrackMilliseconds);
    EXPECT_STREQ(OlveTimeFormatNames[otfTrackMilliseconds], "TrackMilliseconds");
    EXPECT_STREQ(MediaTypeNames[mtVirtualCD], "VirtualCD");
}
