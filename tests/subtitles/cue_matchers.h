#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "subtitles/subtitle_cue.h"

// A cue's times and text, for comparing whole readings at once.
struct TCueSummary {
    std::int64_t StartMs;
    std::int64_t EndMs;
    std::string Text;

    bool operator==(const TCueSummary&) const = default;
};

inline void PrintTo(const TCueSummary& cue, std::ostream* out)
{
    *out << "{" << cue.StartMs << ", " << cue.EndMs << ", \"" << cue.Text << "\"}";
}

inline std::vector<TCueSummary> Summaries(const std::vector<olve::TSubtitleCue>& cues)
{
    std::vector<TCueSummary> out;
    for (const auto& cue : cues)
        out.push_back({cue.StartMs, cue.EndMs, cue.Text});
    return out;
}

inline std::vector<int> Numbers(const std::vector<olve::TSubtitleCue>& cues)
{
    std::vector<int> out;
    for (const auto& cue : cues)
        out.push_back(cue.Number);
    return out;
}
