#include "align/stretch_reader.h"

#include <algorithm>

namespace olve {

bool ReadStretches(const TRecordingSource& source, const std::vector<TSpeechStretch>& stretches,
                   const TStretchSamples& stretch, std::string& error)
{
    std::size_t at = 0;
    std::size_t next = 0;
    std::vector<std::int16_t> samples;
    const auto block = [&](const std::int16_t* data, std::size_t count) {
        const std::size_t end = at + count;
        for (; next < stretches.size(); ++next) {
            const TSpeechStretch& piece = stretches[next];
            const std::size_t from = std::max(piece.Begin, at);
            const std::size_t to = std::min(piece.End, end);
            if (from < to)
                samples.insert(samples.end(), data + (from - at), data + (to - at));
            if (piece.End > end)
                break;
            if (!stretch(next, samples))
                return false;
            samples.clear();
        }
        at = end;
        return true;
    };
    if (!source.Read(block, error))
        return false;
    // A recording that came out shorter this time still has its last stretch heard.
    if (next < stretches.size() && !samples.empty() && !stretch(next, samples)) {
        error = TRecordingSource::StoppedReading;
        return false;
    }
    return true;
}

}  // namespace olve
