#pragma once
#include <cstddef>
#include <string_view>
#include <vector>

namespace olve {

// A stretch of a code page 932 text that is laid out in one font face.
struct TTextRun {
    std::size_t Start = 0;
    std::size_t Length = 0;
    bool DoubleByte = false;
};

// Splits a text into runs: a double-byte run holds two-byte characters together with the
// CR, LF and space bytes that follow each of them, so line breaks and spaces after Japanese
// take the Japanese face; a single-byte run holds everything up to the next lead byte.
std::vector<TTextRun> SplitTextRuns(std::string_view text);

}  // namespace olve
