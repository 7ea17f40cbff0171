#pragma once
#include "title/screen_fit.h"

namespace olve {

// How the text pane and the tool bar share out their room. Sizes are in pixels.

// The Japanese pane's height in a text pane `pane` high: the height the learner chose with
// the divider (`wanted`), grown to what its text needs (`fit`) up to half the pane, and
// always leaving both views some room.
int SubViewHeight(int wanted, int fit, int pane);

// How many steps up the font ladder the English text goes in a text pane of this size, on
// top of the size the learner chose: a larger pane is read from further away.
int FontBandSteps(int width, int height);

// The next point size up (bigger) or down the ladder of sizes a text view offers; 0 past
// either end.
int NextFontSize(int size, bool bigger);

// Where a video of videoWidth by videoHeight shows in a pane of paneWidth by paneHeight:
// as large as fits with its shape kept, in the middle, the bands left over black.
TBox VideoFitBox(int paneWidth, int paneHeight, int videoWidth, int videoHeight);

// What the tool bar's middle shows in `room` pixels: the progress bar shrinks first, down to
// minProgress; then the time, then the card counter, gives way. The widths of the texts
// include their gaps.
struct TToolBarFit {
    int Progress = 0;
    bool Counter = false;
    bool Time = false;

    bool operator==(const TToolBarFit&) const = default;
};
TToolBarFit FitToolBar(int room, int counterWidth, int timeWidth, int minProgress, int maxProgress);

}  // namespace olve
