#include "title/title_progress.h"

#include <algorithm>
#include <array>
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
