#pragma once
#include <cstdint>
#include <string_view>
#include <vector>

namespace olve {

// Callers count a view's text as they hand it over: code page 932 bytes with CR LF line
// breaks (the units of the "SST" and "SLG" tags). The view's document counts UTF-16 units
// and turns each CR LF into one paragraph separator. This maps the first to the second.
class TTextPositionMap {
public:
    TTextPositionMap() : FPositions{0}, FUnits{0} {}
    explicit TTextPositionMap(std::string_view text);
    // The text's characters shown as the letters of shown (UTF-8, one for each character);
    // as the text decodes when the counts differ.
    TTextPositionMap(std::string_view text, std::string_view shown);

    bool UsesShown() const { return FUsesShown; }

    // Number of bytes of the text.
    int Size() const { return static_cast<int>(FPositions.size()) - 1; }

    // Offsets are clamped to the text. A start inside a two-byte character takes the whole
    // character; an end inside one includes it, so a range never drops a half character.
    int StartPosition(std::int64_t offset) const;
    int EndPosition(std::int64_t offset) const;
    // UTF-16 offset of a byte offset in the text as shown (as Cp932ToUtf8 decodes it, or in
    // shown).
    int UnitOffset(std::int64_t offset) const { return FUnits[Clamp(offset)]; }

private:
    int Clamp(std::int64_t offset) const;
    void MapPositions(std::string_view text);

    std::vector<int> FPositions;  // document position of every byte offset, and of the end
    std::vector<int> FUnits;      // UTF-16 offset of every byte offset, and of the end
    bool FUsesShown = false;
};

}  // namespace olve
