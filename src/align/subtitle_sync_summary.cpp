#include <cmath>
#include <cstdio>

#include "align/subtitle_sync.h"

namespace olve {

namespace {

std::string Format(const char* pattern, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

// Seconds with two decimals; empty when that shows no offset at all.
std::string OffsetSeconds(const TSubtitleSync& sync)
{
    const std::string seconds = Format("%.2f", std::abs(sync.OffsetMs) / 1000);
    return seconds == "0.00" ? std::string() : seconds;
}

// The rate's departure from 1 in percent, one decimal, or two when one shows none; empty when
// even two show none.
std::string RatePercent(const TSubtitleSync& sync)
{
    const double percent = std::abs(sync.Rate - 1) * 100;
    const std::string shown = Format("%.1f", percent);
    if (shown != "0.0")
        return shown;
    const std::string finer = Format("%.2f", percent);
    return finer == "0.00" ? std::string() : finer;
}

}  // namespace

std::string SyncSummary(const TSubtitleSync& sync)
{
    if (!sync.Corrected)
        return sync.Kept.empty() ? "subtitles already match the speech" : "subtitles kept as written: " + sync.Kept;
    const std::string seconds = OffsetSeconds(sync);
    const std::string percent = RatePercent(sync);
    std::string text = "subtitles";
    if (!seconds.empty())
        text += " were " + seconds + " s " + (sync.OffsetMs < 0 ? "late" : "early");
    if (!percent.empty())
        text += (seconds.empty() ? " ran " : " and ran ") + percent + "% " + (sync.Rate > 1 ? "fast" : "slow");
    return text + "; corrected";
}

std::string SyncSummaryJapanese(const TSubtitleSync& sync)
{
    if (!sync.Corrected)
        return sync.Kept.empty() ? "字幕はすでに音声に合っています"
                                 : "字幕は書かれたままです: " + (sync.KeptJapanese.empty() ? sync.Kept : sync.KeptJapanese);
    const std::string seconds = OffsetSeconds(sync);
    const std::string percent = RatePercent(sync);
    const bool late = sync.OffsetMs < 0;
    std::string text = "字幕は";
    if (!seconds.empty() && percent.empty())
        text += seconds + (late ? "秒遅れていました" : "秒早く出ていました");
    else if (!seconds.empty())
        text += seconds + (late ? "秒遅れ、" : "秒早く出て、");
    if (!percent.empty())
        text += percent + "%" + (sync.Rate > 1 ? "速く進んでいました" : "遅く進んでいました");
    return text + "。補正しました";
}

}  // namespace olve
