#include "title/practice_run.h"

#include <algorithm>
#include <utility>

namespace olve {

void TPracticeRun::Reset(int count)
{
    for (std::vector<bool>& heard : FHeard)
        heard.assign(static_cast<std::size_t>(std::max(count, 0)), false);
    FCard = -1;
    FHearings = 0;
    FLoopFirst = 0;
    FLoopLast = -1;
}

void TPracticeRun::Begin(int card)
{
    FCard = card;
    FHearings = 0;
    if (card < FLoopFirst || card > FLoopLast)
        SetLoopRange(card, card);
}

void TPracticeRun::SetLoopRange(int first, int last)
{
    const int top = static_cast<int>(FHeard[0].size()) - 1;
    FLoopFirst = std::clamp(std::min(first, last), 0, std::max(top, 0));
    FLoopLast = std::clamp(std::max(first, last), FLoopFirst, std::max(top, 0));
}

TNextPlay TPracticeRun::CardEnded(const TPracticeSettings& settings, const TCardTimeline& timeline, bool autoPause,
                                  double speed)
{
    const int card = FCard;
    if (card < 0 || card >= timeline.Count())
        return {};
    MarkHeard(card, settings);
    ++FHearings;
    const std::int64_t wait = ShadowWaitMs(timeline.EndOf(card) - timeline.StartOf(card), speed, settings.ShadowTenths);
    if (settings.Repeats == 0 || FHearings < settings.Repeats)
        return {false, card, wait};
    int next = card + 1;
    if (settings.Loop && card == FLoopLast)
        next = FLoopFirst;
    else if (autoPause && !settings.Loop)
        return {};
    if (next >= timeline.Count())
        return {};
    FCard = next;
    FHearings = 0;
    return {false, next, wait};
}

void TPracticeRun::MarkHeard(int card, const TPracticeSettings& settings)
{
    if (card < 0 || card >= static_cast<int>(FHeard[0].size()))
        return;
    for (const auto [language, reveal] : {std::pair{TTextLanguage::English, settings.English},
                                          std::pair{TTextLanguage::Japanese, settings.Japanese}})
        if (reveal == TReveal::AfterHearing)
            HeardOf(language)[static_cast<std::size_t>(card)] = true;
}

bool TPracticeRun::Heard(TTextLanguage language, int card) const
{
    const std::vector<bool>& heard = HeardOf(language);
    return card >= 0 && card < static_cast<int>(heard.size()) && heard[static_cast<std::size_t>(card)];
}

bool TPracticeRun::Shows(TReveal reveal, TTextLanguage language, int card) const
{
    return reveal == TReveal::Shown || (reveal == TReveal::AfterHearing && Heard(language, card));
}

}  // namespace olve
