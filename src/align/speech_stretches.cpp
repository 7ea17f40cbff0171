#include "align/speech_stretches.h"

#include <algorithm>

namespace olve {

namespace {

constexpr std::size_t FrameSamples = 160;  // 10 ms
// Sentences read aloud are mostly parted by 0.3 s or more; a recognizer that hears each on
// its own cannot pull one's words into the next, nor hide an intro in the first one's search.
constexpr std::size_t LongPauseFrames = 30;
constexpr std::size_t ShortPauseFrames = 15;
constexpr std::size_t MaxStretchFrames = 2500;
constexpr std::size_t BoundFrames = MaxSpeechStretchSamples / FrameSamples;

struct TPause {
    std::size_t Begin = 0;  // frames
    std::size_t End = 0;
    std::size_t Middle() const { return (Begin + End) / 2; }
    std::size_t Length() const { return End - Begin; }
};

float Percentile(std::vector<float> values, double share)
{
    const std::size_t at = std::min(values.size() - 1, std::size_t(share * values.size()));
    std::nth_element(values.begin(), values.begin() + at, values.end());
    return values[at];
}

// Speech is what stands well above the recording's own floor of quiet.
std::vector<bool> SpeechFrames(const std::vector<float>& levels)
{
    const double floor = Percentile(levels, 0.1);
    const double loud = Percentile(levels, 0.95);
    const double threshold = floor + std::max(6.0, 0.3 * (loud - floor));
    std::vector<bool> speech(levels.size());
    for (std::size_t f = 0; f < levels.size(); ++f)
        speech[f] = levels[f] > threshold;
    return speech;
}

std::vector<TPause> Pauses(const std::vector<bool>& speech)
{
    std::vector<TPause> pauses;
    for (std::size_t f = 0; f < speech.size();) {
        std::size_t end = f;
        while (end < speech.size() && !speech[end])
            ++end;
        if (end - f >= ShortPauseFrames || f == 0 || end == speech.size())
            pauses.push_back({f, end});
        f = end == f ? f + 1 : end;
    }
    return pauses;
}

// The pause to cut [begin, end) at: the longest, and of pauses about as long the one nearest
// the middle, so that pauses of one length do not cut off one short piece after another.
const TPause* CutPause(std::size_t begin, std::size_t end, const std::vector<TPause>& pauses)
{
    const auto inside = [&](const TPause& pause) { return pause.Middle() > begin + 100 && pause.Middle() + 100 < end; };
    std::size_t longest = 0;
    for (const TPause& pause : pauses)
        if (inside(pause))
            longest = std::max(longest, pause.Length());
    const std::size_t middle = (begin + end) / 2;
    const auto offCentre = [&](const TPause& pause) {
        return pause.Middle() > middle ? pause.Middle() - middle : middle - pause.Middle();
    };
    const TPause* chosen = nullptr;
    for (const TPause& pause : pauses)
        if (inside(pause) && pause.Length() + 5 >= longest && (!chosen || offCentre(pause) < offCentre(*chosen)))
            chosen = &pause;
    return chosen;
}

// The quietest frame of the middle half of [begin, end): a cut there leaves neither piece
// longer than three quarters of it.
std::size_t QuietestFrame(std::size_t begin, std::size_t end, const std::vector<float>& levels)
{
    std::size_t quietest = begin + (end - begin) / 4;
    for (std::size_t f = quietest; f < end - (end - begin) / 4; ++f)
        if (levels[f] < levels[quietest])
            quietest = f;
    return quietest;
}

// Cuts [begin, end) (frames) until every piece is short enough.
void CutLongStretch(std::size_t begin, std::size_t end, const std::vector<TPause>& pauses,
                    const std::vector<float>& levels, std::vector<std::size_t>& cuts)
{
    if (end - begin <= MaxStretchFrames)
        return;
    std::size_t cut = 0;
    if (const TPause* pause = CutPause(begin, end, pauses))
        cut = pause->Middle();
    else if (end - begin > BoundFrames)
        cut = QuietestFrame(begin, end, levels);
    else
        return;
    CutLongStretch(begin, cut, pauses, levels, cuts);
    cuts.push_back(cut);
    CutLongStretch(cut, end, pauses, levels, cuts);
}

bool HoldsSpeech(const std::vector<bool>& speech, std::size_t begin, std::size_t end)
{
    std::size_t count = 0;
    for (std::size_t f = begin; f < end; ++f)
        count += speech[f] ? 1 : 0;
    return count >= 10;
}

}  // namespace

std::vector<TSpeechStretch> FindSpeechStretches(const std::vector<float>& levels, std::size_t sampleCount)
{
    if (levels.empty())
        return {};
    const std::vector<bool> speech = SpeechFrames(levels);
    const std::vector<TPause> pauses = Pauses(speech);
    std::vector<std::size_t> cuts{0};
    for (const TPause& pause : pauses) {
        if (pause.Length() < LongPauseFrames && pause.Begin != 0 && pause.End != speech.size())
            continue;
        CutLongStretch(cuts.back(), pause.Middle(), pauses, levels, cuts);
        if (pause.Middle() > cuts.back())
            cuts.push_back(pause.Middle());
    }
    CutLongStretch(cuts.back(), speech.size(), pauses, levels, cuts);
    cuts.push_back(speech.size());
    std::vector<TSpeechStretch> stretches;
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k)
        if (cuts[k + 1] > cuts[k] && HoldsSpeech(speech, cuts[k], cuts[k + 1]))
            stretches.push_back({cuts[k] * FrameSamples, std::min(sampleCount, cuts[k + 1] * FrameSamples)});
    if (!stretches.empty())
        stretches.back().End = sampleCount;
    return stretches;
}

}  // namespace olve
