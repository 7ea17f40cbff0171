#include "titlemaker/transcript_file.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "subtitles/subtitle_text.h"

namespace olve {

namespace {

// Text in a Western single-byte encoding has a letter beyond ASCII now and then; anything
// else that is not UTF-8 has them everywhere.
constexpr std::size_t MostNonAsciiPercent = 10;

std::size_t NonAscii(const std::string& bytes)
{
    return static_cast<std::size_t>(
        std::count_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

}  // namespace

bool TranscriptTextOf(const std::string& bytes, std::string& text, std::string& why)
{
    TSubtitleEncoding encoding = TSubtitleEncoding::Utf8;
    text = DecodeSubtitleBytes(bytes, encoding);
    if (text.find('\0') != std::string::npos)
        why = "holds NUL bytes, which text never does: it is not a text file";
    else if (LooksBinary(text))
        why = "is full of control characters: it is not a text file";
    else if (encoding == TSubtitleEncoding::Windows1252 && NonAscii(bytes) * 100 > bytes.size() * MostNonAsciiPercent)
        why = "is neither UTF-8 nor Shift-JIS text: " + std::to_string(NonAscii(bytes) * 100 / bytes.size()) +
              "% of its bytes are no character of either";
    else
        return true;
    text.clear();
    return false;
}

bool ReadTranscriptFile(const std::string& path, std::string& text, std::string& error)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    std::string bytes;
    std::vector<char> chunk(1 << 16);
    while (bytes.size() <= TranscriptSizeLimit && file.read(chunk.data(), static_cast<std::streamsize>(chunk.size())).gcount() > 0)
        bytes.append(chunk.data(), static_cast<std::size_t>(file.gcount()));
    if (file.bad()) {
        error = "cannot read " + path;
        return false;
    }
    if (bytes.size() > TranscriptSizeLimit) {
        error = path + " is larger than " + std::to_string(TranscriptSizeLimit >> 20) +
                " MB, the most a transcript may hold; split it, and the recording with it";
        return false;
    }
    std::string why;
    if (!TranscriptTextOf(bytes, text, why)) {
        error = path + " " + why;
        return false;
    }
    return true;
}

}  // namespace olve
