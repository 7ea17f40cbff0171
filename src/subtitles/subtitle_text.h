#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace olve {

enum class TSubtitleEncoding { Utf8, Utf8Bom, Utf16, Cp932 };

// The text of a subtitle file as UTF-8 with "\n" line ends. A UTF-8 or UTF-16 byte-order
// mark decides; otherwise bytes that are valid UTF-8 are taken as UTF-8 and anything else
// as code page 932, the encoding Japanese subtitle files come in when they are not UTF-8.
// CR LF and lone CR become "\n".
std::string DecodeSubtitleBytes(std::string_view bytes, TSubtitleEncoding& encoding);

bool IsValidUtf8(std::string_view bytes);

// Appends one Unicode code point as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

}  // namespace olve
