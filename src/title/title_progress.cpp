#include "title/title_progress.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <cstdio>
#include <string_view>

#include "codec/comma_text.h"

namespace olve {

namespace {

constexpr const char* PlayerSection = "Player";
constexpr const char* VolumeKey = "Volume";
constexpr const char* LastCardKey = "LastCard";
constexpr const char* SpeedKey = "Speed";
constexpr const char* RepeatKey = "Repeat";
constexpr const char* ShadowKey = "Shadow";
constexpr const char* EnglishKey = "RevealEnglish";
constexpr const char* JapaneseKey = "RevealJapanese";
constexpr const char* AutoPauseKey = "AutoPause";
constexpr const char* MainFontKey = "MainFontSize";
constexpr const char* SubFontKey = "SubFontSize";
constexpr const char* ShiftKey = "CardShift";
constexpr const char* SyncOffsetKey = "SyncOffset";
constexpr const char* SyncRateKey = "SyncRate";
constexpr const char* NudgesKey = "Nudges";
constexpr const char* NudgeKey = "Nudge";

// Farther than any sync finds: a kept rate or offset past them is not the program's.
constexpr double SlowestSyncRate = 0.5;
constexpr double FastestSyncRate = 2.0;
// A title has fewer cards than this; more nudges than that were not written by the program.
constexpr int MostNudges = 100000;

constexpr int SmallestFont = 6;
constexpr int LargestFont = 96;
constexpr int LoudestVolume = 65535;

// In the order of TReveal.
constexpr auto RevealWords = std::to_array<std::string_view>({"Shown", "AfterHearing", "Hidden"});
constexpr auto OnOffWords = std::to_array<std::string_view>({"Off", "On"});

bool SafeInSection(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
           c == '.';
}

// The whole number a key holds when it lies in [low, high]; fallback otherwise.
int NumberIn(const TDataFile& file, const std::string& section, const char* key, int low, int high, int fallback)
{
    int value = 0;
    if (!ParseDecimal(file.ReadString(section, key, ""), value) || value < low || value > high)
        return fallback;
    return value;
}

template <std::size_t N>
int WordIndex(const TDataFile& file, const std::string& section, const char* key,
              const std::array<std::string_view, N>& words, int fallback)
{
    const std::string value = file.ReadString(section, key, "");
    const auto found = std::find(words.begin(), words.end(), value);
    return found == words.end() ? fallback : static_cast<int>(found - words.begin());
}

template <std::size_t N>
int Choice(const TDataFile& file, const std::string& section, const char* key, const int (&choices)[N], int fallback)
{
    const int value = NumberIn(file, section, key, -1000, 1000, fallback);
    return std::find(std::begin(choices), std::end(choices), value) != std::end(choices) ? value : fallback;
}

double RealIn(const TDataFile& file, const std::string& section, const char* key, double low, double high,
              double fallback)
{
    const std::string text = file.ReadString(section, key, "");
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(value) ||
        value < low || value > high)
        return fallback;
    return value;
}

std::string RealText(double value)
{
    char text[32];
    const auto [end, error] = std::to_chars(text, text + sizeof text, value);
    return error == std::errc() ? std::string(text, end) : "0";
}

// "card,made start,made end,start moved,end moved", the card counted from 0, in milliseconds.
std::optional<std::pair<int, TEdgeNudge>> ParseNudge(const std::string& text)
{
    std::int64_t v[5];
    const char* at = text.data();
    const char* const end = text.data() + text.size();
    for (int k = 0; k < 5; ++k) {
        if (k > 0 && (at == end || *at++ != ','))
            return std::nullopt;
        const auto [next, error] = std::from_chars(at, end, v[k]);
        if (error != std::errc() || std::abs(v[k]) > LatestCardMs)
            return std::nullopt;
        at = next;
    }
    if (at != end || v[0] < 0 || v[1] < 0 || v[2] < 0)
        return std::nullopt;
    return std::pair{static_cast<int>(v[0]), TEdgeNudge{{v[1], v[2]}, v[3], v[4]}};
}

std::string NudgeText(int card, const TEdgeNudge& nudge)
{
    return std::to_string(card) + ',' + std::to_string(nudge.Made.Start) + ',' + std::to_string(nudge.Made.End) + ',' +
           std::to_string(nudge.StartMs) + ',' + std::to_string(nudge.EndMs);
}

std::string NudgeKeyOf(int n)
{
    return NudgeKey + std::to_string(n);
}

TCardTiming ReadTiming(const TDataFile& file, const std::string& section)
{
    TCardTiming t;
    t.ShiftMs = NumberIn(file, section, ShiftKey, -static_cast<int>(LatestCardMs), static_cast<int>(LatestCardMs), 0);
    t.SyncOffsetMs = RealIn(file, section, SyncOffsetKey, -LatestCardMs, LatestCardMs, 0);
    t.SyncRate = RealIn(file, section, SyncRateKey, SlowestSyncRate, FastestSyncRate, 1);
    const int count = NumberIn(file, section, NudgesKey, 0, MostNudges, 0);
    for (int n = 1; n <= count; ++n)
        if (const auto nudge = ParseNudge(file.ReadString(section, NudgeKeyOf(n), "")))
            t.Nudges[nudge->first] = nudge->second;
    return t;
}

void WriteTiming(TDataFile& file, const std::string& section, const TCardTiming& t)
{
    file.WriteInteger(section, ShiftKey, static_cast<int>(std::clamp<std::int64_t>(t.ShiftMs, -LatestCardMs, LatestCardMs)));
    file.WriteString(section, SyncOffsetKey, RealText(t.SyncOffsetMs));
    file.WriteString(section, SyncRateKey, RealText(t.SyncRate));
    // Nudges the count no longer covers are blanked, so that the file does not keep them.
    const int before = NumberIn(file, section, NudgesKey, 0, MostNudges, 0);
    int n = 0;
    for (const auto& [card, nudge] : t.Nudges)
        file.WriteString(section, NudgeKeyOf(++n), NudgeText(card, nudge));
    file.WriteInteger(section, NudgesKey, n);
    for (int k = n + 1; k <= before; ++k)
        file.WriteString(section, NudgeKeyOf(k), "");
}

}  // namespace

std::string TitleProgressSection(const std::string& serial)
{
    std::string section = "Title ";
    for (const char c : serial) {
        if (SafeInSection(static_cast<unsigned char>(c))) {
            section += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            section += escaped;
        }
    }
    return section;
}

TTitleProgress ReadTitleProgress(const TDataFile& file, const std::string& serial)
{
    const std::string section = TitleProgressSection(serial);
    const TTitleProgress defaults;
    TTitleProgress p;
    p.LastCard = NumberIn(file, section, LastCardKey, 0, 1 << 30, defaults.LastCard);
    p.SpeedTenths = NumberIn(file, section, SpeedKey, SlowestSpeedTenths, FastestSpeedTenths, defaults.SpeedTenths);
    p.Practice.Repeats = Choice(file, section, RepeatKey, RepeatChoices, defaults.Practice.Repeats);
    p.Practice.ShadowTenths = Choice(file, section, ShadowKey, ShadowChoices, defaults.Practice.ShadowTenths);
    p.Practice.English = static_cast<TReveal>(WordIndex(file, section, EnglishKey, RevealWords, 0));
    p.Practice.Japanese = static_cast<TReveal>(WordIndex(file, section, JapaneseKey, RevealWords, 0));
    p.AutoPause = WordIndex(file, section, AutoPauseKey, OnOffWords, 0) == 1;
    p.MainFontSize = NumberIn(file, section, MainFontKey, SmallestFont, LargestFont, defaults.MainFontSize);
    p.SubFontSize = NumberIn(file, section, SubFontKey, SmallestFont, LargestFont, defaults.SubFontSize);
    p.Timing = ReadTiming(file, section);
    return p;
}

void WriteTitleProgress(TDataFile& file, const std::string& serial, const TTitleProgress& progress)
{
    const std::string section = TitleProgressSection(serial);
    if (progress.LastCard >= 0)
        file.WriteInteger(section, LastCardKey, progress.LastCard);
    file.WriteInteger(section, SpeedKey, progress.SpeedTenths);
    file.WriteInteger(section, RepeatKey, progress.Practice.Repeats);
    file.WriteInteger(section, ShadowKey, progress.Practice.ShadowTenths);
    file.WriteString(section, EnglishKey, std::string(RevealWords[static_cast<std::size_t>(progress.Practice.English)]));
    file.WriteString(section, JapaneseKey, std::string(RevealWords[static_cast<std::size_t>(progress.Practice.Japanese)]));
    file.WriteString(section, AutoPauseKey, std::string(OnOffWords[progress.AutoPause ? 1 : 0]));
    if (progress.MainFontSize > 0)
        file.WriteInteger(section, MainFontKey, progress.MainFontSize);
    if (progress.SubFontSize > 0)
        file.WriteInteger(section, SubFontKey, progress.SubFontSize);
    WriteTiming(file, section, progress.Timing);
}

int ReadPlayerVolume(const TDataFile& file, int fallback)
{
    return NumberIn(file, PlayerSection, VolumeKey, 0, LoudestVolume, fallback);
}

void WritePlayerVolume(TDataFile& file, int volume)
{
    file.WriteInteger(PlayerSection, VolumeKey, std::clamp(volume, 0, LoudestVolume));
}

}  // namespace olve
