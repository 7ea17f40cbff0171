#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace olve {

// The level of a recording's voice band (about 250 to 3500 Hz) in every 10 ms frame, measured
// as its samples (16 kHz) stream by, so that only the levels stay: a hum, a bass line or hiss
// above the band weighs little against speech.
class TSpeechActivity {
public:
    static constexpr std::size_t FrameSamples = 160;

    TSpeechActivity();
    void Add(const std::int16_t* samples, std::size_t count);

    // dB of each whole frame from the start.
    const std::vector<float>& FrameLevels() const { return FLevels; }
    std::vector<float> TakeFrameLevels() { return std::move(FLevels); }

private:
    struct TBiquad {
        double B0, B1, B2, A1, A2;
        double Z1 = 0, Z2 = 0;
        double Step(double x);
    };

    TBiquad FHighPass;
    TBiquad FLowPass;
    std::vector<float> FLevels;
    double FSum = 0;
    std::size_t FInFrame = 0;
};

// How surely each frame holds speech, from 0 to 1, told from the recording's own levels: a
// frame well above the quiet around it (its floor, over some seconds) is speech, so a quiet, a
// noisy or a music-laden recording is told alike. Short dips between words count as speech.
std::vector<float> SpeechPresence(const std::vector<float>& frameLevels);

}  // namespace olve
