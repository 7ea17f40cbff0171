#include "subtitles/subtitle_file.h"

#include <cstdint>
#include <vector>

#include "storage/atomic_file.h"
#include "storage/cp932_text.h"
#include "subtitles/lrc_reader.h"
#include "subtitles/srt_reader.h"
#include "subtitles/subtitle_lines.h"
#include "subtitles/subtitle_text.h"
#include "subtitles/vtt_reader.h"

namespace olve {

namespace {

std::string Extension(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    return LowerAscii(path.substr(dot));
}

bool LooksLikeLrc(const std::string& text)
{
    for (const std::string& line : SplitLines(text)) {
        const std::string_view head = TrimBlanks(line);
        if (head.empty())
            continue;
        return head.size() > 3 && head[0] == '[' && head.find(']') != std::string_view::npos &&
               head.find(':') != std::string_view::npos && head.find("-->") == std::string_view::npos;
    }
    return false;
}

}  // namespace

TSubtitleFormat SubtitleFormatOf(const std::string& path, const std::string& text)
{
    const std::string extension = Extension(path);
    if (extension == ".srt")
        return TSubtitleFormat::SubRip;
    if (extension == ".vtt")
        return TSubtitleFormat::WebVtt;
    if (extension == ".lrc")
        return TSubtitleFormat::Lrc;
    if (text.compare(0, 6, "WEBVTT") == 0)
        return TSubtitleFormat::WebVtt;
    return LooksLikeLrc(text) ? TSubtitleFormat::Lrc : TSubtitleFormat::SubRip;
}

TSubtitleFile ReadSubtitleText(const std::string& text, TSubtitleFormat format)
{
    switch (format) {
    case TSubtitleFormat::WebVtt:
        return ReadWebVtt(text);
    case TSubtitleFormat::Lrc:
        return ReadLrc(text);
    case TSubtitleFormat::SubRip:
        break;
    }
    return ReadSubRip(text);
}

bool ReadSubtitleFile(const std::string& path, TSubtitleFile& file, std::string& error)
{
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(path, bytes)) {
        error = "cannot read " + path;
        return false;
    }
    TSubtitleEncoding encoding = TSubtitleEncoding::Utf8;
    const std::string text =
        DecodeSubtitleBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), encoding);
    file = ReadSubtitleText(text, SubtitleFormatOf(path, text));
    if (encoding == TSubtitleEncoding::Cp932)
        file.Notes.insert(file.Notes.begin(), "the file is not UTF-8; read as Shift-JIS (code page 932)");
    return true;
}

}  // namespace olve
