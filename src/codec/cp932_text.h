#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olve {

// Texts inside the system's files are code page 932 bytes. They stay bytes in the storage
// and title layers and become Unicode only here, at the boundary to the screen and the
// file system.

// True for a byte that starts a two-byte character.
inline bool IsLeadByte(std::uint8_t b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that do not form a valid character become U+FFFD, one per byte.
std::string Cp932ToUtf8(std::string_view bytes);
// The bytes of the UTF-8 sequence that starts with b (1 for a byte that starts none).
std::size_t Utf8SequenceLength(std::uint8_t b);
// Characters that code page 932 cannot hold become "?"; false is returned then.
bool Utf8ToCp932(std::string_view utf8, std::string& bytes);
std::string Utf8ToCp932(std::string_view utf8);

// The UTF-16 offset of every byte offset of a code page 932 text, as Cp932ToUtf8 decodes it;
// the result has bytes.size() + 1 entries, so the end offset maps too. A trail byte maps to
// the offset of its character.
std::vector<int> Cp932CharOffsets(std::string_view bytes);

// Code page 932 texts: ASCII letters compared without regard to case, two-byte characters
// (whose trail bytes may look like letters) compared exactly.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);
std::string LowerAscii(std::string_view text);

// UTF-8 texts and paths: only ASCII letters fold.
bool SameAsciiIgnoringCase(std::string_view a, std::string_view b);

}  // namespace olve
