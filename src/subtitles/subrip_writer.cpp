#include "subtitles/subrip_writer.h"

#include <algorithm>
#include <cstdio>

namespace olve {

namespace {

constexpr std::int64_t FarEndMs = 99 * 3600000LL + 59 * 60000LL + 59999;

std::string SubRipTime(std::int64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(ms / 3600000),
                  static_cast<long long>(ms / 60000 % 60), static_cast<long long>(ms / 1000 % 60),
                  static_cast<long long>(ms % 1000));
    return text;
}

std::int64_t ClosedEnd(const std::vector<TSubtitleCue>& cues, std::size_t i)
{
    const TSubtitleCue& cue = cues[i];
    if (cue.EndMs != TSubtitleCue::OpenEnd)
        return cue.EndMs;
    for (std::size_t k = i + 1; k < cues.size(); ++k)
        if (cues[k].StartMs > cue.StartMs)
            return cues[k].StartMs;
    return std::max(FarEndMs, cue.StartMs + 1);
}

// Reading a cue decodes references and drops tags and override codes, so each character that
// could start one is written as a reference.
std::string EscapedText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '{' && i + 1 < text.size() && text[i + 1] == '\\')
            out += "&#123;";
        else
            out += c;
    }
    return out;
}

}  // namespace

std::string SubRipText(const std::vector<TSubtitleCue>& cues)
{
    std::string out;
    for (std::size_t i = 0; i < cues.size(); ++i) {
        out += std::to_string(i + 1) + "\n";
        out += SubRipTime(cues[i].StartMs) + " --> " + SubRipTime(ClosedEnd(cues, i)) + "\n";
        out += EscapedText(cues[i].Text) + "\n\n";
    }
    return out;
}

}  // namespace olve
