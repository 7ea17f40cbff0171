#include "textview/text_position_map.h"

#include <algorithm>
#include <cstdint>

#include "codec/cp932_text.h"

namespace olve {

namespace {

// The UTF-16 offset of every letter of a UTF-8 text, and of its end; a letter beyond the
// Basic Multilingual Plane takes two units.
std::vector<int> LetterUnits(std::string_view utf8)
{
    std::vector<int> units{0};
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        if ((b & 0xC0) == 0x80)
            continue;
        units.push_back(units.back() + (b >= 0xF0 ? 2 : 1));
    }
    return units;
}

}  // namespace

TTextPositionMap::TTextPositionMap(std::string_view text) : FUnits(Cp932CharOffsets(text))
{
    MapPositions(text);
}

TTextPositionMap::TTextPositionMap(std::string_view text, std::string_view shown) : FUnits(Cp932CharOffsets(text))
{
    // Every character of a code page 932 text decodes to one UTF-16 unit: FUnits counts them.
    const std::vector<int> letters = LetterUnits(shown);
    if (!shown.empty() && letters.size() == static_cast<std::size_t>(FUnits.back()) + 1) {
        for (int& unit : FUnits)
            unit = letters[static_cast<std::size_t>(unit)];
        FUsesShown = true;
    }
    MapPositions(text);
}

void TTextPositionMap::MapPositions(std::string_view text)
{
    FPositions.resize(FUnits.size());
    int joinedBreaks = 0;
    for (std::size_t b = 0; b < FUnits.size(); ++b) {
        FPositions[b] = FUnits[b] - joinedBreaks;
        // The LF of a CR LF still maps to the start of the next line; the byte after it too.
        if (b < text.size() && b > 0 && text[b] == '\n' && text[b - 1] == '\r')
            ++joinedBreaks;
    }
}

int TTextPositionMap::Clamp(std::int64_t offset) const
{
    return static_cast<int>(std::clamp<std::int64_t>(offset, 0, Size()));
}

int TTextPositionMap::StartPosition(std::int64_t offset) const
{
    return FPositions[Clamp(offset)];
}

int TTextPositionMap::EndPosition(std::int64_t offset) const
{
    const int b = Clamp(offset);
    const bool insideCharacter = b > 0 && b < Size() && FUnits[b] == FUnits[b - 1];
    return FPositions[b] + (insideCharacter ? 1 : 0);
}

}  // namespace olve
