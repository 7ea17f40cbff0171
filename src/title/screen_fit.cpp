#include "title/screen_fit.h"

#include <algorithm>

namespace olve {

TBox FitOnScreen(const TBox& window, const TBox& area, int titleBar)
{
    const int bar = std::clamp(titleBar, 0, std::max(area.Height, 0));
    const int width = std::clamp(window.Width, 0, std::max(area.Width, 0));
    const int height = std::clamp(window.Height, 0, std::max(area.Height - bar, 0));
    const int left = std::clamp(window.Left, area.Left, area.Left + area.Width - width);
    const int top = std::clamp(window.Top, area.Top + bar, area.Top + area.Height - height);
    return {left, top, width, height};
}

TBox CentredOnScreen(int width, int height, const TBox& area)
{
    const int w = std::min(width, area.Width);
    const int h = std::min(height, area.Height);
    return {area.Left + (area.Width - w) / 2, area.Top + (area.Height - h) / 2, w, h};
}

}  // namespace olve
