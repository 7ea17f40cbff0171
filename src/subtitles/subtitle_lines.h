#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olve {

// Line-level helpers shared by the readers. Texts are UTF-8 with "\n" line ends.

// The lines of a text; a final line end does not start another line.
std::vector<std::string> SplitLines(const std::string& text);
// Without spaces and tabs at both ends.
std::string_view TrimBlanks(std::string_view text);
bool IsBlankLine(std::string_view line);

enum class TTimingLine { None, Good, Bad };
// A cue timing line "start --> end [settings]": None when the line has no "-->", Bad when
// it has one but the times cannot be read.
TTimingLine ReadTimingLine(std::string_view line, std::int64_t& startMs, std::int64_t& endMs);

// "line 12: ", for notes.
std::string LinePrefix(std::size_t index);

}  // namespace olve
