#include "title/card_seek.h"

#include <algorithm>
#include <vector>

namespace olve {

namespace {

// The card's start and its words' starts, in order and without repeats.
std::vector<std::int64_t> StopsOf(const TCardTimeline& timeline, int card)
{
    std::vector<std::int64_t> stops = {timeline.StartOf(card)};
    for (const TWordSpan& word : timeline.Words(card))
        if (timeline.StartOf(card) + word.At > stops.back())
            stops.push_back(timeline.StartOf(card) + word.At);
    return stops;
}

std::int64_t StepByWords(const TCardTimeline& timeline, int card, std::int64_t position, int direction)
{
    const std::vector<std::int64_t> stops = StopsOf(timeline, card);
    // The stop the position has reached; -1 before the card.
    const int reached = static_cast<int>(std::upper_bound(stops.begin(), stops.end(), position) - stops.begin()) - 1;
    if (direction > 0) {
        if (reached + 1 < static_cast<int>(stops.size()))
            return stops[static_cast<std::size_t>(reached + 1)];
        return card + 1 < timeline.Count() ? timeline.StartOf(card + 1) : position;
    }
    if (reached >= 1)
        return stops[static_cast<std::size_t>(reached - 1)];
    return card > 0 ? timeline.StartOf(card - 1) : stops.front();
}

}  // namespace

TSeekTarget SeekTarget(const TCardTimeline& timeline, std::int64_t position)
{
    if (timeline.Count() == 0)
        return {-1, position};
    // No play end is passed: every card keeps its own start.
    const int holding = timeline.CardAt(position, -1);
    if (holding >= 0)
        return {holding, position};
    for (int i = 0; i < timeline.Count(); ++i)
        if (position < timeline.StartOf(i))
            return {i, position};
    return {timeline.Count() - 1, position};
}

std::int64_t PositionAtX(int x, int width, std::int64_t length)
{
    if (width <= 0 || length <= 0)
        return 0;
    return std::int64_t(std::clamp(x, 0, width)) * length / width;
}

std::int64_t StepTarget(const TCardTimeline& timeline, std::int64_t position, int direction, std::int64_t length)
{
    const int card = SeekTarget(timeline, position).Card;
    if (card >= 0 && !timeline.Words(card).empty())
        return StepByWords(timeline, card, position, direction);
    return std::clamp<std::int64_t>(position + (direction > 0 ? SeekStepMs : -SeekStepMs), 0, std::max<std::int64_t>(length, 0));
}

}  // namespace olve
