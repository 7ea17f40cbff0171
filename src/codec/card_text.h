#pragma once
#include <cstdint>
#include <string>

namespace olve {

// Helpers for the texts of play cards. Texts are code page 932 bytes.

// Every "||" becomes CR LF, scanning from the start ("|||" gives CR LF and "|"). The bytes of
// a two-byte character are never taken for a bar.
std::string ExpandLineBreaks(const std::string& text);

// The part of a shared main text that belongs to a card, from the card's data text (comma
// text of name=value tags): "SST" is the first byte (0-based), "SLG" the number of bytes.
// False, with start 0 and the largest length, when there is no "SST" tag. A value that is not
// a number counts as 0 for "SST" and as the largest length for "SLG".
bool TextRangeOf(const std::string& dataText, std::int32_t& start, std::int32_t& length);

// The text a card shows: the whole text without a range; otherwise the range, behind three
// blanks when it does not begin at the start. The range is clamped to the text.
std::string CardTextPart(const std::string& text, const std::string& dataText);

}  // namespace olve
