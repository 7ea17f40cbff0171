#include "title/card_timeline.h"

#include <algorithm>

#include "codec/card_text.h"
#include "title/word_times.h"

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

bool IsBlankByte(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The card's timed words inside its spoken range, each up to the next one (or the range's end)
// with the blanks before that left out. Player units are milliseconds.
std::vector<TWordSpan> WordSpans(const TPlayCardItem& card, std::int64_t spokenStart, std::int64_t spokenLength,
                                 std::int64_t lengthUnits)
{
    const std::string& text = card.MainText;
    const std::int64_t spokenEnd = spokenStart + spokenLength;
    std::vector<TWordSpan> words;
    for (const TWordTime& time : WordTimesOf(card.DataText, static_cast<std::int64_t>(text.size()), lengthUnits))
        if (time.Offset >= spokenStart && time.Offset < spokenEnd)
            words.push_back({{time.Offset, 0}, time.Ms});
    for (std::size_t k = 0; k < words.size(); ++k) {
        const std::int64_t start = words[k].Text.Start;
        std::int64_t end = k + 1 < words.size() ? words[k + 1].Text.Start : spokenEnd;
        while (end > start + 1 && IsBlankByte(text[static_cast<std::size_t>(end - 1)]))
            --end;
        words[k].Text.Length = end - start;
    }
    return words;
}

}  // namespace

void TCardTimeline::Assign(const TPlayCardList& mainCards, const TPlayCardList& vcdCards)
{
    FCards.resize(static_cast<std::size_t>(mainCards.Count()));
    for (int i = 0; i < mainCards.Count(); ++i) {
        const TPlayCardItem& card = mainCards.Card(i);
        const auto [spokenStart, spokenLength] = SpokenBytes(card);
        const std::int64_t start = mainCards.StartUnits(i);
        const std::int64_t end = mainCards.EndUnits(i);
        FCards[static_cast<std::size_t>(i)] = {start, end, spokenStart, spokenLength,
                                               WordSpans(card, spokenStart, spokenLength, end - start)};
    }
    FBoundaries.clear();
    for (const TCardSpan& card : FCards)
        FBoundaries.insert(FBoundaries.end(), {card.Start, card.End});
    std::sort(FBoundaries.begin(), FBoundaries.end());
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
    if (!card.Words.empty()) {
        const int word = WordAt(i, position);
        return {card.SpokenStart, card.SpokenLength, word < 0 ? card.SpokenStart : card.Words[static_cast<std::size_t>(word)].Text.Start};
    }
    const std::int64_t reached = card.End > card.Start
                                     ? (position - card.Start) * card.SpokenLength / (card.End - card.Start) + card.SpokenStart
                                     : card.SpokenStart;
    return {card.SpokenStart, card.SpokenLength, reached};
}

int TCardTimeline::WordAt(int i, std::int64_t position) const
{
    const std::vector<TWordSpan>& words = Words(i);
    const std::int64_t at = position - StartOf(i);
    const auto after = std::upper_bound(words.begin(), words.end(), at,
                                        [](std::int64_t value, const TWordSpan& word) { return value < word.At; });
    return static_cast<int>(after - words.begin()) - 1;
}

TTextPart TCardTimeline::Underline(int i, std::int64_t position) const
{
    const TCardSpan& card = FCards[static_cast<std::size_t>(i)];
    if (card.Words.empty())
        return {card.SpokenStart, card.SpokenLength};
    const int word = WordAt(i, position);
    return word < 0 ? TTextPart{card.Words.front().Text.Start, 0} : card.Words[static_cast<std::size_t>(word)].Text;
}

std::int64_t TCardTimeline::NextChange(std::int64_t position, int i) const
{
    const auto after = std::upper_bound(FBoundaries.begin(), FBoundaries.end(), position);
    std::int64_t next = after == FBoundaries.end() ? -1 : *after;
    if (i < 0 || i >= Count())
        return next;
    const TCardSpan& card = FCards[static_cast<std::size_t>(i)];
    if (const std::size_t word = static_cast<std::size_t>(WordAt(i, position) + 1); word < card.Words.size()) {
        const std::int64_t at = card.Start + card.Words[word].At;
        if (next < 0 || at < next)
            next = at;
    }
    return next;
}

std::int64_t TCardTimeline::NextReachedByte(int i, std::int64_t position) const
{
    const TCardSpan& card = FCards[static_cast<std::size_t>(i)];
    const std::int64_t span = card.End - card.Start;
    if (!card.Words.empty() || card.SpokenLength <= 0 || span <= 0 || position < card.Start)
        return -1;
    const std::int64_t reached = (position - card.Start) * card.SpokenLength / span;
    const std::int64_t next = card.Start + ((reached + 1) * span + card.SpokenLength - 1) / card.SpokenLength;
    return next < card.End ? next : -1;
}

std::int64_t TCardTimeline::StartOfWordAt(int i, std::int64_t offset) const
{
    const std::vector<TWordSpan>& words = Words(i);
    const auto after = std::upper_bound(words.begin(), words.end(), offset,
                                        [](std::int64_t value, const TWordSpan& word) { return value < word.Text.Start; });
    return after == words.begin() ? StartOf(i) : StartOf(i) + std::prev(after)->At;
}

}  // namespace olve
