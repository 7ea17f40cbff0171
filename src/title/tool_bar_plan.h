#pragma once
#include <array>

#include "title/pane_fit.h"

namespace olve {

// The tool bar's controls that make way for a narrow window, in the order they go into the
// overflow menu: the least used first. The buttons that play, choose and stop cards never go.
enum class TToolControl { Help, Loop, Shadow, RevealJapanese, RevealEnglish, Repeat, Speed, Open, AutoPause, Pause, Volume };
inline constexpr int ToolControlCount = 11;

// Widths in pixels, each with the gap that follows it.
struct TToolBarWidths {
    // The margins and the controls that always show.
    int Fixed = 0;
    // Each control in the order of TToolControl; 0 for one the bar does not have.
    std::array<int, ToolControlCount> Controls{};
    // The button that opens the overflow menu.
    int Overflow = 0;
    // The card counter and the time; 0 while they show nothing.
    int Counter = 0;
    int Time = 0;
    // The progress bar never narrower than Min, given Easy before any control goes, and never
    // wider than Max.
    int MinProgress = 0;
    int EasyProgress = 0;
    int MaxProgress = 0;
};

struct TToolBarPlan {
    // The controls shown in the overflow menu instead of the bar.
    std::array<bool, ToolControlCount> Overflowed{};
    // The progress bar, the counter and the time between the controls left.
    TToolBarFit Middle;

    bool Overflows() const;
    bool InOverflow(TToolControl control) const { return Overflowed[static_cast<int>(control)]; }
};

// What shows in a tool bar `width` wide: every control while the progress bar keeps its easy
// width; then the controls go into the overflow menu one by one; once they all have gone, the
// progress bar shrinks and the time, then the counter, give way.
TToolBarPlan PlanToolBar(int width, const TToolBarWidths& widths);

// The narrowest tool bar that shows every control, the counter and the time, with the progress
// bar at its easy width.
int FullToolBarWidth(const TToolBarWidths& widths);

}  // namespace olve
