#include "title/pane_fit.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace olve {

namespace {

constexpr int MinSubHeight = 24;
constexpr int MinMainHeight = 48;
// The pane's shorter side, a height counting for its width at 3:2, from which each step starts.
constexpr int FontBands[] = {800, 1100, 1500, 2000};
constexpr int FontLadder[] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 24, 26, 28, 36};

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

int NextFontSize(int size, bool bigger)
{
    if (bigger) {
        for (int step : FontLadder)
            if (step >= size + 1)
                return step;
        return 0;
    }
    for (auto it = std::rbegin(FontLadder); it != std::rend(FontLadder); ++it)
        if (*it <= size - 1)
            return *it;
    return 0;
}

TBox VideoFitBox(int paneWidth, int paneHeight, int videoWidth, int videoHeight)
{
    // In 64 bits: a pane's side times a video's side passes the range of int on large screens.
    if (std::int64_t(paneWidth) * videoHeight < std::int64_t(paneHeight) * videoWidth) {
        const int height = static_cast<int>(std::int64_t(paneWidth) * videoHeight / videoWidth);
        return {0, (paneHeight - height) / 2, paneWidth, height};
    }
    const int width = static_cast<int>(std::int64_t(paneHeight) * videoWidth / videoHeight);
    return {(paneWidth - width) / 2, 0, width, paneHeight};
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
