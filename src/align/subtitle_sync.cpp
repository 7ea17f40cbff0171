#include "align/subtitle_sync.h"

#include <algorithm>
#include <cmath>

#include "align/speech_activity.h"

namespace olve {

namespace {

// Reading the sound is nearly all of the work: the fit over its levels takes well under a
// tenth of the time the decoding does.
constexpr std::size_t ReadShare = 950;

// Tells the progress in thousandths, only when it moves on.
class TSyncProgress {
public:
    explicit TSyncProgress(const TAlignProgress& progress) : FProgress(progress) {}

    void Read(std::size_t samples, std::size_t expected)
    {
        if (expected > 0)
            Tell(std::min(samples, expected) * ReadShare / expected);
    }
    void Done() { Tell(TAlignProgressShare::Whole); }

private:
    void Tell(std::size_t done)
    {
        if (!FProgress || (FStarted && done <= FTold))
            return;
        FStarted = true;
        FTold = done;
        FProgress(done, TAlignProgressShare::Whole);
    }

    const TAlignProgress& FProgress;
    std::size_t FTold = 0;
    bool FStarted = false;
};

}  // namespace

std::int64_t TSubtitleSync::Map(std::int64_t writtenMs) const
{
    // A wild written time stays a time: no overflow past what a recording could last.
    constexpr double Latest = 1e15;
    return std::llround(std::clamp(double(writtenMs) * Rate + OffsetMs, 0.0, Latest));
}

bool FindSubtitleSync(const TRecordingSource& recording, const std::vector<TSubtitleCue>& cues,
                      TSubtitleSync& found, std::string& error, const TAlignProgress& progress,
                      const std::atomic<bool>* cancel)
{
    found = {};
    TSpeechActivity activity;
    TSyncProgress told(progress);
    const std::size_t expected = recording.ExpectedSamples();
    std::size_t read = 0;
    const auto measure = [&](const std::int16_t* samples, std::size_t count) {
        if (cancel && cancel->load())
            return false;
        activity.Add(samples, count);
        told.Read(read += count, expected);
        return true;
    };
    if (!recording.Read(measure, error))
        return false;
    if (!FitSubtitleSync(activity.TakeFrameLevels(), cues, found, cancel)) {
        found = {};
        error = TRecordingSource::StoppedReading;
        return false;
    }
    told.Done();
    return true;
}

void ApplySubtitleSync(const TSubtitleSync& sync, std::vector<TSubtitleCue>& cues)
{
    if (!sync.Corrected)
        return;
    for (TSubtitleCue& cue : cues) {
        cue.StartMs = sync.Map(cue.StartMs);
        if (cue.EndMs != TSubtitleCue::OpenEnd)
            cue.EndMs = std::max(cue.StartMs, sync.Map(cue.EndMs));
        for (TTimedPart& part : cue.Parts)
            part.StartMs = sync.Map(part.StartMs);
    }
}

}  // namespace olve
