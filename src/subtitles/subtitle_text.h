#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace olve {

enum class TSubtitleEncoding { Utf8, Utf8Bom, Utf16, Utf16NoMark, Cp932, Windows1252 };

// The text of a subtitle file as UTF-8 with "\n" line ends. A UTF-8 or UTF-16 byte-order
// mark decides; otherwise zero bytes on one side of most byte pairs tell UTF-16, bytes that
// are valid UTF-8 are taken as UTF-8, then code page 932 (the encoding Japanese subtitle
// files come in when they are not UTF-8) where the bytes form its characters, and
// Windows-1252 (Western European) where they do not. CR LF and lone CR become "\n".
std::string DecodeSubtitleBytes(std::string_view bytes, TSubtitleEncoding& encoding);

// True when a decoded text is full of control characters and replacement characters, as a
// picture or program is, rather than text.
bool LooksBinary(std::string_view text);

bool IsValidUtf8(std::string_view bytes);

// Appends one Unicode code point as UTF-8.
void AppendUtf8(std::string& out, std::uint32_t code);

}  // namespace olve
