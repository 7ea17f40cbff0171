#include <algorithm>
#include <cmath>
#include <cstdint>

#include "align/placement_sweep.h"
#include "align/presence_sums.h"
#include "align/robust_line.h"
#include "align/speech_activity.h"
#include "align/subtitle_sync.h"

namespace olve {

namespace {

// Everything below counts in the speech measure's 10 ms frames.
constexpr double FrameMs = 10;
// The placement holds when no placement unlike it scores above this share of its score: on
// speech the next best scores 0.1 to 0.3 of the right one (0.56 for a dozen cues), for cues of
// another recording mostly 0.8 to 1.
constexpr double ClearShare = 0.6;

constexpr std::size_t FewestCues = 3;
constexpr double LeastSpeechFrames = 200;
// After the sweep each cue is moved on its own, within these reaches in turn, to where its speech starts
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

bool Cancelled(const std::atomic<bool>* cancel)
{
    return cancel && cancel->load();
}

// How well a cue laid at [begin, end) fits speech: speech inside, quiet in the guards around it.
double LocalScore(const TPresenceSums& sums, std::int64_t begin, std::int64_t end, std::int64_t before,
                  std::int64_t after)
{
    return sums.Sum(begin, end) - sums.Sum(begin - before, begin) - sums.Sum(end, end + after);
}

// Where each cue's own speech starts, near where the line lays it: one point per cue that fits
// speech better somewhere inside the reach than nowhere.
std::vector<TLinePoint> LocalStarts(const TPresenceSums& sums, const std::vector<TCueSpan>& spans,
                                    const TLine& line, std::int64_t reach)
{
    std::vector<TLinePoint> points;
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const double begin = line.At(spans[k].Begin);
        const double end = line.At(spans[k].End);
        const double previous = k > 0 ? line.At(spans[k - 1].End) : begin - 2 * GuardFrames;
        const double next = k + 1 < spans.size() ? line.At(spans[k + 1].Begin) : end + 2 * GuardFrames;
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
            points.push_back({spans[k].Begin, double(from + bestShift) + (begin - double(from))});
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
void Settle(const TLine& line, const std::vector<TCueSpan>& spans, TSubtitleSync& found)
{
    double first = spans.front().Begin, last = spans.front().End;
    for (const TCueSpan& span : spans)
        last = std::max(last, span.End);
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
    const std::vector<TCueSpan> spans = CueSpans(cues, presence.size());
    if (spans.size() < FewestCues) {
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
    if (!SweepPlacements(presence, spans, cancel, coarse, runnerUp))
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
        points = LocalStarts(sums, spans, line, reach);
        line = FitRobustLine(points, line, LeastAgreement, LeastSlopeSpan, LargestSlopeChange);
    }
    const double count = double(spans.size());
    const double needed = std::min(count, (AgreeingShare + FewCuesShare / std::sqrt(count)) * count);
    if (double(Agreeing(points, line)) < needed) {
        KeepUnclear(found);
        return true;
    }
    Settle(line, spans, found);
    return true;
}

}  // namespace olve
