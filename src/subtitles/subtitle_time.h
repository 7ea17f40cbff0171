#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace olve {

// Reads "[h:]m:s[.f]" as it appears in subtitle files: hours or minutes of any number of
// digits (so 100 hours or 120 minutes pass), seconds of one or two digits, and a decimal
// fraction after "." or "," of any number of digits (".5" is 500 ms, ",04" is 40 ms; digits
// past the third are dropped). False for anything else.
bool ParseSubtitleTime(std::string_view text, std::int64_t& ms);

// "hh:mm:ss.mmm", for messages.
std::string SubtitleTimeText(std::int64_t ms);

}  // namespace olve
