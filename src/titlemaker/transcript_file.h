#pragma once
#include <cstddef>
#include <string>

namespace olve {

// The most a transcript (or its translation) may hold: far more than anyone reads aloud in a
// day, so a larger file is taken for a mistake rather than worked through for minutes.
inline constexpr std::size_t TranscriptSizeLimit = 8u << 20;

// The text of a transcript file as UTF-8 with "\n" line ends, in any encoding a subtitle file
// may have. False, with the reason (English, naming the file), when it cannot be read, is
// larger than TranscriptSizeLimit, or is not text: it holds NUL bytes, is full of control
// characters, or is neither UTF-8 nor Shift-JIS and more than a small share of its bytes
// are not ASCII (a picture, a recording or a program rather than something to read).
bool ReadTranscriptFile(const std::string& path, std::string& text, std::string& error);

// The same check on bytes already read; why (without the file's name) when they are not text.
bool TranscriptTextOf(const std::string& bytes, std::string& text, std::string& why);

}  // namespace olve
