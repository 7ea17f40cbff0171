#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace olve {

// Plays interleaved float audio faster or slower with the pitch kept: the output is made of
// strides copied from the input at the recorded speed, each taken where the input, searched a
// little ahead, best continues the previous one, and blended into it. A segment's first
// stride starts exactly at its first input frame and its output ends exactly with its last
// one, so a segment starts and ends where it was asked to, heard at the recorded speed there.
class TTempoStretch {
public:
    TTempoStretch(int sampleRate, int channels);

    // Begins a segment played at rate times the recorded speed, forgetting all input so far.
    void Start(double rate);
    // Appends to out what the input frames make ready.
    void Push(const float* samples, std::size_t frames, std::vector<float>& out);
    // Appends the rest of the segment: all its output is then floor(input / rate) frames.
    void Finish(std::vector<float>& out);

    std::int64_t FramesOut() const { return FFramesOut; }

private:
    std::int64_t NextStart() const;
    bool EnoughOutputLeft(std::int64_t framesIn) const;
    void ProduceStride(std::int64_t search, std::vector<float>& out);
    std::int64_t BestOffset(std::int64_t from, std::int64_t search) const;
    void AppendBlended(std::int64_t from, std::int64_t blend, std::int64_t frames, std::vector<float>& out);
    void KeepTail(std::int64_t from);
    void Forget();
    const float* At(std::int64_t frame) const;

    const int FChannels;
    const std::int64_t FStride;
    const std::int64_t FOverlap;
    const std::int64_t FSearch;
    double FRate = 1.0;
    // The input from frame FQueueStart of the segment on.
    std::vector<float> FQueue;
    std::int64_t FQueueStart = 0;
    std::int64_t FFramesIn = 0;
    std::int64_t FFramesOut = 0;
    // Where the next stride would start at the exact rate.
    double FNextPosition = 0;
    // What follows the latest stride in the input, faded out under the next one.
    std::vector<float> FTail;
};

}  // namespace olve
