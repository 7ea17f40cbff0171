#include "textview/text_position_map.h"

#include <algorithm>

#include "storage/cp932_text.h"

namespace olve {

TTextPositionMap::TTextPositionMap(std::string_view text) : FUnits(Cp932CharOffsets(text))
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
