#include "align/placement_sweep.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "align/presence_sums.h"

namespace olve {

namespace {

// The coarse sweep's step through the offsets.
constexpr std::int64_t CoarseStep = 5;
// Rates tried: none, and the frame-rate pairs a release is often made for (25, 24, 23.976 fps).
constexpr double Rates[] = {1, 25 / 23.976, 23.976 / 25, 25 / 24.0, 24 / 25.0, 24 / 23.976, 23.976 / 24};
// The sweep lays at most this many cues (spread evenly over the file): a film has about 2000,
// and a file of many more would only make it slow. Cancel is looked at every this many offsets.
constexpr std::size_t SweptCues = 3000;
constexpr std::int64_t OffsetsBetweenLooks = 1000;
// Placements that lay the cues' middle this far apart (2 s) are told apart.
constexpr double DistinctFrames = 200;

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

struct TLaid {
    std::vector<std::int64_t> Begins, Ends;
};

// The cues laid at a rate, before any offset; thinned to SweptCues.
TLaid Laid(const std::vector<TCueSpan>& spans, double rate)
{
    TLaid laid;
    const std::size_t step = (spans.size() + SweptCues - 1) / SweptCues;
    for (std::size_t k = 0; k < spans.size(); k += step) {
        laid.Begins.push_back(std::llround(spans[k].Begin * rate));
        laid.Ends.push_back(std::llround(spans[k].End * rate));
    }
    return laid;
}

double Score(const TPresenceSums& sums, const TLaid& laid, std::int64_t offset)
{
    double score = 0;
    for (std::size_t k = 0; k < laid.Begins.size(); ++k)
        score += sums.Sum(laid.Begins[k] + offset, laid.Ends[k] + offset);
    return score;
}

// The score of every offset of the coarse sweep, from -PlacementSearchFrames on.
bool SweepRate(const TPresenceSums& sums, const TLaid& laid, const std::atomic<bool>* cancel,
               std::vector<double>& scores)
{
    for (std::int64_t offset = -PlacementSearchFrames; offset <= PlacementSearchFrames; offset += CoarseStep) {
        if (offset % OffsetsBetweenLooks == 0 && Cancelled(cancel))
            return false;
        scores.push_back(Score(sums, laid, offset));
    }
    return true;
}

// The best score of a placement that lays the cues' middle elsewhere than `best` does.
double RunnerUp(const std::vector<std::vector<double>>& sweeps, const std::vector<TCueSpan>& spans,
                const TPlacement& best)
{
    const double middle = (spans.front().Begin + spans.back().Begin) / 2;
    const double bestMiddle = best.Rate * middle + double(best.Offset);
    double runnerUp = -std::numeric_limits<double>::infinity();
    for (std::size_t r = 0; r < sweeps.size(); ++r)
        for (std::size_t k = 0; k < sweeps[r].size(); ++k) {
            const double offset = double(-PlacementSearchFrames + std::int64_t(k) * CoarseStep);
            if (std::abs(Rates[r] * middle + offset - bestMiddle) > DistinctFrames)
                runnerUp = std::max(runnerUp, sweeps[r][k]);
        }
    return runnerUp;
}

}  // namespace

bool SweepPlacements(const std::vector<float>& presence, const std::vector<TCueSpan>& spans,
                     const std::atomic<bool>* cancel, TPlacement& best, double& runnerUp)
{
    double mean = 0;
    for (float value : presence)
        mean += value;
    const TPresenceSums sums(presence, mean / double(presence.size()));
    std::vector<std::vector<double>> sweeps(std::size(Rates));
    for (std::size_t r = 0; r < sweeps.size(); ++r) {
        if (!SweepRate(sums, Laid(spans, Rates[r]), cancel, sweeps[r]))
            return false;
        for (std::size_t k = 0; k < sweeps[r].size(); ++k)
            if (sweeps[r][k] > best.Score)
                best = {Rates[r], -PlacementSearchFrames + std::int64_t(k) * CoarseStep, sweeps[r][k]};
    }
    runnerUp = RunnerUp(sweeps, spans, best);
    const TLaid laid = Laid(spans, best.Rate);
    const std::int64_t coarse = best.Offset;
    for (std::int64_t offset = coarse - CoarseStep + 1; offset < coarse + CoarseStep; ++offset)
        if (const double score = Score(sums, laid, offset); score > best.Score)
            best = {best.Rate, offset, score};
    return true;
}

}  // namespace olve
