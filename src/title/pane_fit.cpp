#include "title/pane_fit.h"

#include <algorithm>
#include <iterator>

namespace olve {

namespace {

constexpr int MinSubHeight = 24;
constexpr int MinMainHeight = 48;
// The pane's shorter side, a height counting for its width at 3:2, from which each step starts.
constexpr int FontBands[] = {800, 1100, 1500, 2000};

}  // namespace

int SubViewHeight(int wanted, int fit, int pane)
{
    const int upper = std::max(pane - MinMainHeight, 0);
    const int lower = std::min(MinSubHeight, upper);
    return std::clamp(std::max(wanted, std::min(fit, pane / 2)), lower, upper);
}

int FontBandSteps(int width, int height)
{
    const int side = std::min(width, height * 3 / 2);
    return static_cast<int>(std::count_if(std::begin(FontBands), std::end(FontBands), [side](int band) { return side >= band; }));
}

TToolBarFit FitToolBar(int room, int counterWidth, int timeWidth, int minProgress, int maxProgress)
{
    auto progress = [&](int left) { return std::clamp(left, minProgress, maxProgress); };
    if (room - counterWidth - timeWidth >= minProgress)
        return {progress(room - counterWidth - timeWidth), true, true};
    if (room - counterWidth >= minProgress)
        return {progress(room - counterWidth), true, false};
    return {progress(room), false, false};
}

}  // namespace olve
