#pragma once
#include <cstdint>
#include <optional>
#include <vector>

namespace olve {

// Where speech begins and ends near a time the recognizer gave. Its word edges lie tens to
// hundreds of milliseconds off (a fading last consonant taken as silence, a pause taken into a
// word); the sound itself tells better wherever quiet meets speech. Levels are measured on the
// recording itself, so a quiet, a noisy or a digitally silent recording is read alike.
class TSpeechEdges {
public:
    // windowLevels: dB of a 20 ms window every 5 ms of the recording (TSoundLevels).
    explicit TSpeechEdges(std::vector<float> windowLevels);

    // The onset nearest to nearMs within [fromMs, toMs]: where sound rises above the speech
    // level after a quiet of at least a pause's length that begins no later than nearMs (a
    // quiet after speech the recognizer puts in the sentence is a pause inside it). None where
    // there is no such place (speech running on without a pause): the recognizer's time stands.
    // An onset after a quiet as long as a pause between sentences goes before a nearer one after
    // a shorter quiet.
    std::optional<std::int64_t> OnsetNear(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs) const;
    // The same for where sound falls below the speech level for a pause's length that lasts
    // until nearMs at least.
    std::optional<std::int64_t> OffsetNear(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs) const;

private:
    std::optional<std::int64_t> Nearest(std::int64_t nearMs, std::int64_t fromMs, std::int64_t toMs, bool onset) const;
    bool Quiet(std::int64_t from, std::int64_t to) const;
    std::int64_t QuietFrom(std::int64_t k) const;
    std::int64_t QuietUntil(std::int64_t k) const;

    std::vector<float> FLevels;
    double FThreshold = 0;
};

}  // namespace olve
