#pragma once

namespace olve {

// A rectangle in screen pixels.
struct TBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    bool operator==(const TBox&) const = default;
};

// A window's inner bounds moved, and shrunk only where it is larger, so that the window with
// its title bar (`titleBar` pixels above the bounds) lies wholly inside the screen's area.
TBox FitOnScreen(const TBox& window, const TBox& area, int titleBar);

// A window of the given size in the middle of the area, no larger than the area.
TBox CentredOnScreen(int width, int height, const TBox& area);

}  // namespace olve
