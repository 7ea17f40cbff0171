#include "align/speech_edges.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "align/sound_levels.h"

namespace olve {

namespace {

constexpr std::int64_t HopMs = 5;
constexpr std::size_t HopSamples = TSoundLevels::HopSamples;
constexpr std::size_t WindowSamples = TSoundLevels::WindowSamples;
// Shorter than the pause between two sentences, longer than the closure of a stop inside a word.
constexpr std::int64_t PauseMs = 80;
// A quiet this long is a pause between sentences rather than a dip inside a word (a weak final
// consonant under noise); an edge at such a pause is taken before a nearer one at a dip.
constexpr std::int64_t SentencePauseMs = 200;
// Speech is what stands this far above the floor of quiet, and no further than this below the
// loud part of the speech: a breath or room tone stays under it.
constexpr double AboveFloorDb = 8;
constexpr double BelowLoudDb = 25;
// A quiet that the recognizer puts speech of the sentence beyond (more than this) is a pause
// inside it, not its edge.
constexpr std::int64_t InsideMs = 50;

float Percentile(std::vector<float> values, double share)
{
    const std::size_t at = std::min(values.size() - 1, std::size_t(share * double(values.size())));
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(at), values.end());
    return values[at];
}

}  // namespace

TSpeechEdges::TSpeechEdges(std::vector<float> windowLevels) : FLevels(std::move(windowLevels))
{
    if (!FLevels.empty())
        FThreshold = std::max(Percentile(FLevels, 0.1) + AboveFloorDb, Percentile(FLevels, 0.95) - BelowLoudDb);
}

// Every window from `from` up to `to` (hops) is under the speech level.
bool TSpeechEdges::Quiet(std::int64_t from, std::int64_t to) const
{
    if (from < 0 || to > std::int64_t(FLevels.size()))
        return false;
    for (std::int64_t k = from; k < to; ++k)
        if (FLevels[std::size_t(k)] > FThreshold)
            return false;
    return true;
}

// The first hop of the quiet that ends at hop k (k itself is loud).
std::int64_t TSpeechEdges::QuietFrom(std::int64_t k) const
{
    while (k > 0 && FLevels[std::size_t(k - 1)] <= FThreshold)
        --k;
    return k;
}

// The hop where sound rises again after the quiet that follows hop k (k itself is loud).
std::int64_t TSpeechEdges::QuietUntil(std::int64_t k) const
{
    ++k;
    while (k < std::int64_t(FLevels.size()) && FLevels[std::size_t(k)] <= FThreshold)
        ++k;
    return k;
}

// The edge nearest nearMs within [fromMs, toMs]: a loud window with a pause's quiet before it
// (an onset) or after it (an offset), whose quiet does not lie inside the sentence; one at a
// sentence's pause before any at a shorter quiet. A window's
// time is its middle: where the level it measures mostly lies.
std::optional<std::int64_t> TSpeechEdges::Nearest(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs,
                                                  bool onset) const
{
    const std::int64_t pause = PauseMs / HopMs;
    const std::int64_t half = std::int64_t(WindowSamples / HopSamples) / 2;
    std::optional<std::int64_t> best;
    bool bestAtPause = false;
    for (std::int64_t k = std::max<std::int64_t>(fromMs / HopMs - half, 0);
         k <= toMs / HopMs - half && k < std::int64_t(FLevels.size()); ++k) {
        if (FLevels[std::size_t(k)] <= FThreshold || !(onset ? Quiet(k - pause, k) : Quiet(k + 1, k + 1 + pause)))
            continue;
        const bool inside = onset ? QuietFrom(k) * HopMs > nearMs + InsideMs
                                  : (QuietUntil(k) + half) * HopMs < nearMs - InsideMs;
        if (inside)
            continue;
        const std::int64_t ms = (k + half) * HopMs;
        const std::int64_t quiet = onset ? k - QuietFrom(k) : QuietUntil(k) - k - 1;
        const bool atPause = quiet >= SentencePauseMs / HopMs;
        if (!best || (atPause && !bestAtPause) ||
            (atPause == bestAtPause && std::llabs(ms - nearMs) < std::llabs(*best - nearMs))) {
            best = ms;
            bestAtPause = atPause;
        }
    }
    return best;
}

std::optional<std::int64_t> TSpeechEdges::OnsetNear(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs) const
{
    return Nearest(nearMs, fromMs, toMs, true);
}

std::optional<std::int64_t> TSpeechEdges::OffsetNear(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs) const
{
    return Nearest(nearMs, fromMs, toMs, false);
}

}  // namespace olve
