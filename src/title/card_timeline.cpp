#include "title/card_timeline.h"

#include <algorithm>

#include "storage/card_text.h"

namespace olve {

namespace {

// Without a range tag the whole text is spoken.
std::pair<std::int64_t, std::int64_t> SpokenBytes(const TPlayCardItem& card)
{
    std::int32_t start = 0;
    std::int32_t length = 0;
    const std::int64_t size = static_cast<std::int64_t>(card.MainText.size());
    if (!TextRangeOf(card.DataText, start, length))
        return {0, size};
    const std::int64_t from = std::clamp<std::int64_t>(start, 0, size);
    return {from, std::clamp<std::int64_t>(length, 0, size - from)};
}

}  // namespace

void TCardTimeline::Assign(const TPlayCardList& mainCards, const TPlayCardList& vcdCards)
{
    FCards.resize(static_cast<std::size_t>(mainCards.Count()));
    for (int i = 0; i < mainCards.Count(); ++i) {
        const auto [spokenStart, spokenLength] = SpokenBytes(mainCards.Card(i));
        FCards[static_cast<std::size_t>(i)] = {mainCards.StartUnits(i), mainCards.EndUnits(i), spokenStart, spokenLength};
    }
    FVcd.reset();
    if (vcdCards.Count() > 0)
        FVcd = TSegment{vcdCards.StartUnits(0), vcdCards.EndUnits(0)};
}

std::optional<TSegment> TCardTimeline::Segment(int n, bool autoPause, std::int64_t length) const
{
    const int count = Count();
    if (count == 0 || n >= count)
        return std::nullopt;
    const int c = std::max(n, 0);
    TSegment segment;
    if (autoPause)
        segment = Span(c, c);
    else if (!FVcd)
        segment = Span(c, count - 1);
    else if (n < 0)
        segment = *FVcd;
    else
        segment = {StartOf(c), FVcd->To};
    return TSegment{std::max<std::int64_t>(0, segment.From), std::min(length, segment.To)};
}

std::int64_t TCardTimeline::AutoPauseEnd(int current, bool autoPause, std::int64_t length) const
{
    const std::int64_t end = autoPause ? EndOf(std::clamp(current, 0, Count() - 1))
                             : FVcd    ? FVcd->To
                                       : EndOf(Count() - 1);
    return std::min(end, length);
}

int TCardTimeline::CardAt(std::int64_t position, std::int64_t playEnd, int from) const
{
    if (position == playEnd)
        return -1;
    for (int i = std::max(from, 0); i < Count(); ++i) {
        const TCardSpan& card = FCards[static_cast<std::size_t>(i)];
        if (card.Start <= position && position < card.End)
            return i;
    }
    return -1;
}

TSpokenRange TCardTimeline::Spoken(int i, std::int64_t position) const
{
    const TCardSpan& card = FCards[static_cast<std::size_t>(i)];
    const std::int64_t reached = card.End > card.Start
                                     ? (position - card.Start) * card.SpokenLength / (card.End - card.Start) + card.SpokenStart
                                     : card.SpokenStart;
    return {card.SpokenStart, card.SpokenLength, reached};
}

}  // namespace olve
