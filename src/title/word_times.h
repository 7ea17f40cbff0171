#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace olve {

// When a word of a card's main text begins to be spoken: the byte offset of the word in the
// main text (code page 932, "||" counted as two bytes) and the milliseconds from the card's
// start. A card keeps its words' times in the tag "WTM" of its data text, as "offset:ms"
// pairs joined by ";" ("0:0;5:320;13:700"); readers that do not know the tag pass it by.
struct TWordTime {
    std::int32_t Offset = 0;
    std::int64_t Ms = 0;

    bool operator==(const TWordTime&) const = default;
};

inline constexpr const char* WordTimesTagName = "WTM";

// The word times of a card whose main text has textSize bytes and which lasts lengthMs.
// The tag comes from files anyone may write: a pair that is not two whole numbers, that does
// not come after the one before it in both offset and time, or that lies outside the text or
// the card is passed by.
std::vector<TWordTime> WordTimesOf(const std::string& dataText, std::int64_t textSize, std::int64_t lengthMs);

// The tag's value for the times, which must be in order.
std::string WordTimesValue(const std::vector<TWordTime>& times);

}  // namespace olve
