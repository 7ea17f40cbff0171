#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "align/presence_sums.h"
#include "align/robust_line.h"
#include "align/speech_activity.h"
#include "align/subtitle_sync.h"

namespace olve {

namespace {

// Everything below counts in the speech measure's 10 ms frames.
constexpr double FrameMs = 10;
// Offsets tried, either way (300 s), and the coarse sweep's step through them.
constexpr std::int64_t SearchFrames = 30000;
constexpr std::int64_t CoarseStep = 5;
// Rates tried: none, and the frame-rate pairs a release is often made for (25, 24, 23.976 fps).
constexpr double Rates[] = {1, 25 / 23.976, 23.976 / 25, 25 / 24.0, 24 / 25.0, 24 / 23.976, 23.976 / 24};
constexpr double SmallestRate = 23.976 / 25;
// The sweep lays at most this many cues (spread evenly over the file): a film has about 2000,
// and a file of many more would only make it slow. Cancel is looked at every this many offsets.
constexpr std::size_t SweptCues = 3000;
constexpr std::int64_t OffsetsBetweenLooks = 1000;
// Placements that lay the cues' middle this far apart (2 s) are told apart.
constexpr double DistinctFrames = 200;
// The placement holds when no placement unlike it scores above this share of its score: on
// speech the next best scores 0.1 to 0.3 of the right one (0.56 for a dozen cues), for cues of
// another recording mostly 0.8 to 1.
constexpr double ClearShare = 0.6;

constexpr std::size_t FewestCues = 3;
constexpr double LeastSpeechFrames = 200;
// A cue with no end lasts to the next (at most this long); no cue counts as longer than 20 s.
constexpr std::int64_t OpenCueFrames = 300;
constexpr std::int64_t LongestCueFrames = 2000;

// Each cue is then moved on its own, within these reaches in turn, to where its speech starts
// after a pause and ends before one (as long as this guard, when the neighbours leave room).
constexpr std::int64_t LocalReaches[] = {100, 30};
constexpr std::int64_t GuardFrames = 30;
// The line through the cues' own places: points this near it always count, the slope is fitted
// only over a span this long and moves no more than this share.
constexpr double LeastAgreement = 6;
constexpr double LeastSlopeSpan = 3000;
constexpr double LargestSlopeChange = 0.003;
// A cue this near the line agrees with it. Half the cues must agree for the line to hold, and
// more of a few: a dozen cues of another recording can fall on speech onsets by chance.
constexpr double AgreeFrames = 15;
constexpr double AgreeingShare = 0.5;
constexpr double FewCuesShare = 1.2;
// Cues this near their written place everywhere are left as they are (30 ms).
constexpr double SameFrames = 3;

struct TInterval {
    double Begin = 0;
    double End = 0;
};

struct TPlacement {
    double Rate = 1;
    std::int64_t Offset = 0;
    double Score = -std::numeric_limits<double>::infinity();
};

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

// The cues as written, in frames; cues that no offset tried could lay over the recording are
// left out, so a wild time cannot make the search run long.
std::vector<TInterval> CueIntervals(const std::vector<TSubtitleCue>& cues, std::size_t frames)
{
    const double reach = (double(frames) + double(SearchFrames)) / SmallestRate;
    std::vector<TInterval> intervals;
    for (std::size_t k = 0; k < cues.size(); ++k) {
        const double begin = double(cues[k].StartMs) / FrameMs;
        double end = double(cues[k].EndMs) / FrameMs;
        if (cues[k].EndMs == TSubtitleCue::OpenEnd)
            end = k + 1 < cues.size() && cues[k + 1].StartMs > cues[k].StartMs
                      ? std::min(double(cues[k + 1].StartMs) / FrameMs, begin + OpenCueFrames)
                      : begin + OpenCueFrames;
        end = std::min(end, begin + LongestCueFrames);
        if (cues[k].StartMs >= 0 && end > begin && begin <= reach)
            intervals.push_back({begin, end});
    }
    std::sort(intervals.begin(), intervals.end(), [](const TInterval& a, const TInterval& b) { return a.Begin < b.Begin; });
    return intervals;
}

struct TLaid {
    std::vector<std::int64_t> Begins, Ends;
};

// The cues laid at a rate, before any offset; thinned to SweptCues.
TLaid Laid(const std::vector<TInterval>& intervals, double rate)
{
    TLaid laid;
    const std::size_t step = (intervals.size() + SweptCues - 1) / SweptCues;
    for (std::size_t k = 0; k < intervals.size(); k += step) {
        laid.Begins.push_back(std::llround(intervals[k].Begin * rate));
        laid.Ends.push_back(std::llround(intervals[k].End * rate));
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

// The score of every offset of the coarse sweep, from -SearchFrames on.
bool SweepRate(const TPresenceSums& sums, const TLaid& laid, const std::atomic<bool>* cancel,
               std::vector<double>& scores)
{
    for (std::int64_t offset = -SearchFrames; offset <= SearchFrames; offset += CoarseStep) {
        if (offset % OffsetsBetweenLooks == 0 && Cancelled(cancel))
            return false;
        scores.push_back(Score(sums, laid, offset));
    }
    return true;
}

// The best score of a placement that lays the cues' middle elsewhere than `best` does.
double RunnerUp(const std::vector<std::vector<double>>& sweeps, const std::vector<TInterval>& intervals,
                const TPlacement& best)
{
    const double middle = (intervals.front().Begin + intervals.back().Begin) / 2;
    const double bestMiddle = best.Rate * middle + double(best.Offset);
    double runnerUp = -std::numeric_limits<double>::infinity();
    for (std::size_t r = 0; r < sweeps.size(); ++r)
        for (std::size_t k = 0; k < sweeps[r].size(); ++k) {
            const double offset = double(-SearchFrames + std::int64_t(k) * CoarseStep);
            if (std::abs(Rates[r] * middle + offset - bestMiddle) > DistinctFrames)
                runnerUp = std::max(runnerUp, sweeps[r][k]);
        }
    return runnerUp;
}

// The rate and offset at which the cues lie over the most speech and the least quiet, against
// a recording whose frames are each as likely speech as the average; and the best score of
// the placements unlike it, to tell how clearly the speech picks it.
bool CoarsePlacement(const std::vector<float>& presence, const std::vector<TInterval>& intervals,
                     const std::atomic<bool>* cancel, TPlacement& best, double& runnerUp)
{
    double mean = 0;
    for (float value : presence)
        mean += value;
    const TPresenceSums sums(presence, mean / double(presence.size()));
    std::vector<std::vector<double>> sweeps(std::size(Rates));
    for (std::size_t r = 0; r < sweeps.size(); ++r) {
        if (!SweepRate(sums, Laid(intervals, Rates[r]), cancel, sweeps[r]))
            return false;
        for (std::size_t k = 0; k < sweeps[r].size(); ++k)
            if (sweeps[r][k] > best.Score)
                best = {Rates[r], -SearchFrames + std::int64_t(k) * CoarseStep, sweeps[r][k]};
    }
    runnerUp = RunnerUp(sweeps, intervals, best);
    const TLaid laid = Laid(intervals, best.Rate);
    const std::int64_t coarse = best.Offset;
    for (std::int64_t offset = coarse - CoarseStep + 1; offset < coarse + CoarseStep; ++offset)
        if (const double score = Score(sums, laid, offset); score > best.Score)
            best = {best.Rate, offset, score};
    return true;
}

// How well a cue laid at [begin, end) fits speech: speech inside, quiet in the guards around it.
double LocalScore(const TPresenceSums& sums, std::int64_t begin, std::int64_t end, std::int64_t before,
                  std::int64_t after)
{
    return sums.Sum(begin, end) - sums.Sum(begin - before, begin) - sums.Sum(end, end + after);
}

// Where each cue's own speech starts, near where the line lays it: one point per cue that fits
// speech better somewhere inside the reach than nowhere.
std::vector<TLinePoint> LocalStarts(const TPresenceSums& sums, const std::vector<TInterval>& intervals,
                                    const TLine& line, std::int64_t reach)
{
    std::vector<TLinePoint> points;
    for (std::size_t k = 0; k < intervals.size(); ++k) {
        const double begin = line.At(intervals[k].Begin);
        const double end = line.At(intervals[k].End);
        const double previous = k > 0 ? line.At(intervals[k - 1].End) : begin - 2 * GuardFrames;
        const double next = k + 1 < intervals.size() ? line.At(intervals[k + 1].Begin) : end + 2 * GuardFrames;
        const auto guard = [](double room) { return std::clamp<std::int64_t>(std::llround(room / 2), 0, GuardFrames); };
        const std::int64_t before = guard(begin - previous);
        const std::int64_t after = guard(next - end);
        const std::int64_t from = std::llround(begin);
        const std::int64_t to = std::llround(end);
        std::int64_t bestShift = 0;
        double bestScore = 0;
        for (std::int64_t shift = -reach; shift <= reach; ++shift)
            if (const double score = LocalScore(sums, from + shift, to + shift, before, after); score > bestScore) {
                bestScore = score;
                bestShift = shift;
            }
        if (bestScore > 0 && std::abs(bestShift) < reach)
            points.push_back({intervals[k].Begin, double(from + bestShift) + (begin - double(from))});
    }
    return points;
}

std::size_t Agreeing(const std::vector<TLinePoint>& points, const TLine& line)
{
    return static_cast<std::size_t>(std::count_if(points.begin(), points.end(), [&line](const TLinePoint& point) {
        return std::abs(point.Y - line.At(point.X)) <= AgreeFrames;
    }));
}

void Keep(TSubtitleSync& found, const char* english, const char* japanese)
{
    found = {};
    found.Kept = english;
    found.KeptJapanese = japanese;
}

void KeepUnclear(TSubtitleSync& found)
{
    Keep(found, "the speech does not tell where the subtitles belong", "音声から字幕の位置がわかりません");
}

// Lays the line's slope and intercept over the cues as a sync, unless it moves none of them
// by more than SameFrames.
void Settle(const TLine& line, const std::vector<TInterval>& intervals, TSubtitleSync& found)
{
    double first = intervals.front().Begin, last = intervals.front().End;
    for (const TInterval& interval : intervals)
        last = std::max(last, interval.End);
    found = {};
    if (std::max(std::abs(line.At(first) - first), std::abs(line.At(last) - last)) <= SameFrames)
        return;
    found.OffsetMs = line.Intercept * FrameMs;
    found.Rate = line.Slope;
    found.Corrected = true;
}

}  // namespace

bool FitSubtitleSync(const std::vector<float>& frameLevels, const std::vector<TSubtitleCue>& cues,
                     TSubtitleSync& found, const std::atomic<bool>* cancel)
{
    const std::vector<float> presence = SpeechPresence(frameLevels);
    const std::vector<TInterval> intervals = CueIntervals(cues, presence.size());
    if (intervals.size() < FewestCues) {
        Keep(found, "too few subtitles to place by the speech", "字幕が少なすぎて音声に合わせられません");
        return true;
    }
    double speech = 0;
    for (float value : presence)
        speech += value;
    if (speech < LeastSpeechFrames) {
        Keep(found, "no speech was found in the recording", "録音に音声が見つかりません");
        return true;
    }
    TPlacement coarse;
    double runnerUp = 0;
    if (!CoarsePlacement(presence, intervals, cancel, coarse, runnerUp))
        return false;
    if (coarse.Score <= 0 || runnerUp > ClearShare * coarse.Score) {
        KeepUnclear(found);
        return true;
    }
    const TPresenceSums sums(presence, 0.5);
    TLine line{coarse.Rate, double(coarse.Offset)};
    std::vector<TLinePoint> points;
    for (std::int64_t reach : LocalReaches) {
        if (Cancelled(cancel))
            return false;
        points = LocalStarts(sums, intervals, line, reach);
        line = FitRobustLine(points, line, LeastAgreement, LeastSlopeSpan, LargestSlopeChange);
    }
    const double count = double(intervals.size());
    const double needed = std::min(count, (AgreeingShare + FewCuesShare / std::sqrt(count)) * count);
    if (double(Agreeing(points, line)) < needed) {
        KeepUnclear(found);
        return true;
    }
    Settle(line, intervals, found);
    return true;
}

}  // namespace olve
