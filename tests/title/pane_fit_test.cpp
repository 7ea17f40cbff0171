#include <gtest/gtest.h>

#include <algorithm>

#include "title/pane_fit.h"
#include "title/screen_fit.h"
#include "title/tool_bar_plan.h"

using namespace olve;

TEST(PaneFit, TheJapanesePaneGrowsToItsTextUpToHalfThePane)
{
    EXPECT_EQ(SubViewHeight(64, 40, 400), 64) << "a short text keeps the chosen height";
    EXPECT_EQ(SubViewHeight(64, 120, 400), 120) << "two lines grow the pane";
    EXPECT_EQ(SubViewHeight(64, 500, 400), 200) << "no more than half the pane";
    EXPECT_EQ(SubViewHeight(300, 40, 400), 300) << "the divider may go beyond half";
    EXPECT_EQ(SubViewHeight(390, 40, 400), 352) << "the English text keeps some room";
    EXPECT_EQ(SubViewHeight(0, 0, 400), 24) << "the Japanese text too";
    EXPECT_EQ(SubViewHeight(64, 40, 30), 0) << "a pane too small for both";
}

TEST(PaneFit, TheEnglishTextGoesUpWithThePaneAndTheToolBarGivesWayInOrder)
{
    EXPECT_EQ(FontBandSteps(512, 480), 0);
    EXPECT_EQ(FontBandSteps(1280, 760), 2);
    EXPECT_EQ(FontBandSteps(1920, 1040), 3);
    EXPECT_EQ(FontBandSteps(3000, 400), 0) << "a wide but low pane";

    EXPECT_EQ(FitToolBar(300, 60, 90, 24, 140), (TToolBarFit{140, true, true}));
    EXPECT_EQ(FitToolBar(200, 60, 90, 24, 140), (TToolBarFit{50, true, true})) << "the bar shrinks first";
    EXPECT_EQ(FitToolBar(150, 60, 90, 24, 140), (TToolBarFit{90, true, false})) << "then the time goes";
    EXPECT_EQ(FitToolBar(70, 60, 90, 24, 140), (TToolBarFit{70, false, false})) << "then the counter";
    EXPECT_EQ(FitToolBar(-10, 60, 90, 24, 140), (TToolBarFit{24, false, false}));
}

TEST(ScreenFit, ARestoredWindowLiesWhollyOnTheScreenWithItsTitleBar)
{
    const TBox screen{0, 0, 1280, 800};
    EXPECT_EQ(FitOnScreen({100, 100, 800, 600}, screen, 30), (TBox{100, 100, 800, 600}));
    EXPECT_EQ(FitOnScreen({-500, 0, 800, 600}, screen, 30), (TBox{0, 30, 800, 600})) << "title bar reachable";
    EXPECT_EQ(FitOnScreen({3000, 2000, 800, 600}, screen, 30), (TBox{480, 200, 800, 600}));
    EXPECT_EQ(FitOnScreen({0, 0, 4000, 4000}, screen, 30), (TBox{0, 30, 1280, 770})) << "shrunk to the screen";
    EXPECT_EQ(FitOnScreen({1300, 10, 400, 300}, {1280, 0, 1024, 768}, 0), (TBox{1300, 10, 400, 300})) << "a second screen";
    EXPECT_EQ(CentredOnScreen(1024, 900, {0, 0, 800, 600}), (TBox{0, 0, 800, 600}));
    EXPECT_EQ(CentredOnScreen(512, 512, {0, 24, 1280, 776}), (TBox{384, 156, 512, 512}));
}

TEST(ToolBarPlan, ControlsGoIntoTheOverflowLeastUsedFirstBeforeTheCounterOrTheTimeGiveWay)
{
    const TToolBarWidths widths{204, {30, 24, 30, 24, 24, 28, 36, 30, 30, 30, 34}, 24, 50, 90, 24, 100, 140};
    auto moved = [&](int width) { return std::ranges::count(PlanToolBar(width, widths).Overflowed, true); };
    ASSERT_EQ(FullToolBarWidth(widths), 764);
    EXPECT_EQ(PlanToolBar(1280, widths).Middle, (TToolBarFit{140, true, true}));
    EXPECT_EQ(PlanToolBar(764, widths).Middle, (TToolBarFit{100, true, true})) << "the full width shows everything";
    EXPECT_EQ(moved(764), 0);
    const TToolBarPlan help = PlanToolBar(763, widths);
    EXPECT_EQ(moved(763), 1);
    EXPECT_TRUE(help.InOverflow(TToolControl::Help));
    EXPECT_EQ(help.Middle, (TToolBarFit{105, true, true})) << "the overflow button takes the place of help";
    EXPECT_EQ(moved(512), 10);
    EXPECT_FALSE(PlanToolBar(512, widths).InOverflow(TToolControl::Volume));
    EXPECT_EQ(PlanToolBar(512, widths).Middle, (TToolBarFit{110, true, true})) << "the counter and the time stay";
    EXPECT_EQ(moved(250), ToolControlCount);
    EXPECT_EQ(PlanToolBar(250, widths).Middle, (TToolBarFit{24, false, false}));

    TToolBarWidths without = widths;
    without.Controls[static_cast<int>(TToolControl::Help)] = 0;
    EXPECT_FALSE(PlanToolBar(250, without).InOverflow(TToolControl::Help)) << "a control the bar lacks";
}

TEST(PaneFit, FontKeysStepAlongTheLadderAndStopAtItsEnds)
{
    EXPECT_EQ(NextFontSize(14, true), 16);
    EXPECT_EQ(NextFontSize(14, false), 12);
    EXPECT_EQ(NextFontSize(13, true), 14) << "a size between steps goes to the next step";
    EXPECT_EQ(NextFontSize(13, false), 12);
    EXPECT_EQ(NextFontSize(36, true), 0) << "nothing above the top";
    EXPECT_EQ(NextFontSize(8, false), 0) << "nothing below the bottom";
    EXPECT_EQ(NextFontSize(3, true), 8);
    EXPECT_EQ(NextFontSize(72, false), 36);
}

TEST(PaneFit, AVideoFillsThePaneOneWayWithItsShapeKeptInTheMiddle)
{
    EXPECT_EQ(VideoFitBox(640, 480, 320, 240), (TBox{0, 0, 640, 480})) << "the same shape fills the pane";
    EXPECT_EQ(VideoFitBox(400, 600, 320, 240), (TBox{0, 150, 400, 300})) << "bands above and below";
    EXPECT_EQ(VideoFitBox(1000, 300, 320, 240), (TBox{300, 0, 400, 300})) << "bands left and right";
    EXPECT_EQ(VideoFitBox(101, 100, 2, 1), (TBox{0, 25, 101, 50}));
    // A pane and a video both tens of thousands of pixels wide: their products pass 2^31.
    EXPECT_EQ(VideoFitBox(60000, 30000, 60000, 60000), (TBox{15000, 0, 30000, 30000}));
    EXPECT_EQ(VideoFitBox(30000, 60000, 60000, 60000), (TBox{0, 15000, 30000, 30000}));
}
