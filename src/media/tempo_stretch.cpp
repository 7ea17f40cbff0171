#include "media/tempo_stretch.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace olve {

namespace {

// Long enough to carry a syllable's pitch, short enough that no word is heard twice.
constexpr double StrideSeconds = 0.030;
constexpr double OverlapShare = 0.2;
constexpr double SearchSeconds = 0.014;

}  // namespace

TTempoStretch::TTempoStretch(int sampleRate, int channels)
    : FChannels(std::max(channels, 1)),
      FStride(std::max<std::int64_t>(std::llround(sampleRate * StrideSeconds), 2)),
      FOverlap(std::max<std::int64_t>(std::int64_t(double(FStride) * OverlapShare), 1)),
      FSearch(std::llround(sampleRate * SearchSeconds))
{
}

void TTempoStretch::Start(double rate)
{
    FRate = rate > 0 ? rate : 1.0;
    FQueue.clear();
    FQueueStart = 0;
    FFramesIn = 0;
    FFramesOut = 0;
    FNextPosition = 0;
    FTail.clear();
}

std::int64_t TTempoStretch::NextStart() const
{
    return std::int64_t(std::floor(FNextPosition));
}

// A stride is only made while a last piece longer than a stride would still follow it were the
// input to end now: the end is then heard at the recorded speed, however the input ends.
bool TTempoStretch::EnoughOutputLeft(std::int64_t framesIn) const
{
    const auto total = std::int64_t(std::floor(double(framesIn) / FRate));
    return total - (FFramesOut + FStride) > FStride + FOverlap;
}

void TTempoStretch::Push(const float* samples, std::size_t frames, std::vector<float>& out)
{
    FQueue.insert(FQueue.end(), samples, samples + frames * FChannels);
    FFramesIn += std::int64_t(frames);
    for (;;) {
        const std::int64_t search = FFramesOut == 0 ? 0 : FSearch;
        if (NextStart() + search + FStride + FOverlap > FFramesIn || !EnoughOutputLeft(FFramesIn))
            return;
        ProduceStride(search, out);
    }
}

void TTempoStretch::Finish(std::vector<float>& out)
{
    const auto total = std::int64_t(std::floor(double(FFramesIn) / FRate));
    while (total - FFramesOut > 2 * FStride + FOverlap) {
        const std::int64_t room = FFramesIn - (NextStart() + FStride + FOverlap);
        if (room < 0)
            break;
        ProduceStride(FFramesOut == 0 ? 0 : std::min(FSearch, room), out);
    }
    // The last piece ends with the last input frame; a segment shorter than it keeps what it has.
    const std::int64_t from = std::max(FFramesIn - (total - FFramesOut), FQueueStart);
    const std::int64_t frames = FFramesIn - from;
    if (frames <= 0)
        return;
    AppendBlended(from, FFramesOut == 0 ? 0 : std::min(FOverlap, frames), frames, out);
    FFramesOut += frames;
}

// The first stride of a segment is its first frames as they are: nothing precedes them.
void TTempoStretch::ProduceStride(std::int64_t search, std::vector<float>& out)
{
    const bool first = FFramesOut == 0;
    const std::int64_t from = NextStart() + (first ? 0 : BestOffset(NextStart(), search));
    AppendBlended(from, first ? 0 : FOverlap, FStride, out);
    KeepTail(from + FStride);
    FFramesOut += FStride;
    FNextPosition += double(FStride) * FRate;
    Forget();
}

// Where the input from frame from on, within search frames, sounds most like the tail it
// replaces; the middle of the overlap weighs most, as the blend hears it most evenly there.
std::int64_t TTempoStretch::BestOffset(std::int64_t from, std::int64_t search) const
{
    double best = -std::numeric_limits<double>::infinity();
    std::int64_t bestOffset = 0;
    for (std::int64_t offset = 0; offset <= search; ++offset) {
        const float* in = At(from + offset);
        double sum = 0;
        for (std::int64_t i = 0; i < FOverlap; ++i) {
            const double weight = double(i) * double(FOverlap - i);
            for (int c = 0; c < FChannels; ++c)
                sum += weight * FTail[i * FChannels + c] * in[i * FChannels + c];
        }
        if (sum > best) {
            best = sum;
            bestOffset = offset;
        }
    }
    return bestOffset;
}

void TTempoStretch::AppendBlended(std::int64_t from, std::int64_t blend, std::int64_t frames, std::vector<float>& out)
{
    const float* in = At(from);
    const std::size_t base = out.size();
    out.insert(out.end(), in, in + frames * FChannels);
    for (std::int64_t i = 0; i < blend; ++i) {
        const float weight = float(i) / float(blend);
        for (int c = 0; c < FChannels; ++c) {
            const std::size_t at = std::size_t(i * FChannels + c);
            out[base + at] = FTail[at] + weight * (in[at] - FTail[at]);
        }
    }
}

void TTempoStretch::KeepTail(std::int64_t from)
{
    const float* in = At(from);
    FTail.assign(in, in + FOverlap * FChannels);
}

// Keeps enough behind the next stride for a last piece that starts before it, as it does
// when slower.
void TTempoStretch::Forget()
{
    const std::int64_t keepFrom = NextStart() - 2 * (FStride + FOverlap);
    if (keepFrom - FQueueStart < 4 * FStride)
        return;
    FQueue.erase(FQueue.begin(), FQueue.begin() + (keepFrom - FQueueStart) * FChannels);
    FQueueStart = keepFrom;
}

const float* TTempoStretch::At(std::int64_t frame) const
{
    return FQueue.data() + (frame - FQueueStart) * FChannels;
}

}  // namespace olve
