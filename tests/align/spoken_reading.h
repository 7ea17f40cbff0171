#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Where a sentence's speech starts and ends in a generated reading.
struct TSpokenSentence {
    std::int64_t StartMs = 0;
    std::int64_t EndMs = 0;
};

// Speaks each sentence with espeak-ng, trims it to its speech and joins them into one WAV
// (16 kHz mono) with a pause of pauseMs before each and after the last. False when espeak-ng
// or sox fails.
bool MakeSpokenReading(const std::vector<std::string>& sentences, int pauseMs, const std::string& wavPath,
                       std::vector<TSpokenSentence>& spoken);
