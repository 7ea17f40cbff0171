#pragma once
#include <string>

namespace olve {

// Percent-encoding of bytes that must travel as plain ASCII inside a line of a stored file:
// every byte for which plain() is false becomes "%XX" (upper-case hex).
std::string PercentEncoded(const std::string& bytes, bool (*plain)(unsigned char));

// The bytes back. False for a "%" without two hex digits or for a byte that the encoding never
// leaves bare (a blank, a control character or anything beyond ASCII): such text was not
// written by PercentEncoded and is not to be trusted.
bool PercentDecoded(const std::string& text, std::string& bytes);

}  // namespace olve
