#include <gtest/gtest.h>

#include "picture/picture_geometry.h"

using namespace olve;

TEST(PictureGeometry, PicturesAreScaledToFitAndCentred)
{
    EXPECT_EQ(FitRect(200, 100, 400, 400), (TRect{0, 100, 400, 300}));
    EXPECT_EQ(FitRect(200, 100, 100, 400), (TRect{0, 175, 100, 225}));
    EXPECT_EQ(FitRect(100, 300, 400, 400), (TRect{133, 0, 266, 400}));
}

TEST(PictureGeometry, APictureWithThePanesProportionsFillsIt)
{
    EXPECT_EQ(FitRect(3, 7, 300, 700), (TRect{0, 0, 300, 700}));
    EXPECT_EQ(FitRect(3000, 2000, 51, 34), (TRect{0, 0, 51, 34}));
    EXPECT_EQ(FitRect(7, 3, 700, 300), (TRect{0, 0, 700, 300}));
}

TEST(PictureGeometry, EmptySizesGiveAnEmptyRectangle)
{
    EXPECT_EQ(FitRect(0, 100, 400, 400), TRect{});
    EXPECT_EQ(FitRect(200, 100, 0, 400), TRect{});
    EXPECT_EQ(FitRect(200, 100, 400, 0), TRect{});
}

TEST(PictureGeometry, PointsMapBetweenPictureAndDisplay)
{
    const TRect source{0, 0, 200, 100};
    const TRect dest{0, 100, 400, 300};
    EXPECT_EQ(PictureToDisplay({50, 25}, source, dest), (TPoint{100, 150}));
    EXPECT_EQ(DisplayToPicture({100, 150}, source, dest), (TPoint{50, 25}));
    EXPECT_EQ(DisplayToPicture({101, 151}, source, dest), (TPoint{51, 26}));  // rounded
    // Both axes use the horizontal factor.
    const TRect tall{0, 0, 100, 400};
    EXPECT_EQ(PictureToDisplay({10, 10}, source, tall), (TPoint{5, 5}));
}

TEST(PictureGeometry, ASourceOfZeroWidthLeavesPointsAsTheyAre)
{
    EXPECT_EQ(PictureToDisplay({7, 9}, TRect{}, TRect{0, 0, 10, 10}), (TPoint{7, 9}));
    EXPECT_EQ(DisplayToPicture({7, 9}, TRect{}, TRect{0, 0, 10, 10}), (TPoint{7, 9}));
    EXPECT_EQ(DisplayToPicture({7, 9}, TRect{0, 0, 10, 10}, TRect{}), (TPoint{7, 9}));
}
