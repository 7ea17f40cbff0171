#include "subtitles/subtitle_file.h"

#include <cstdint>
#include <vector>

#include "files/atomic_file.h"
#include "codec/cp932_text.h"
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

// Where the text is not what it looks like, a binary file or a wrong encoding guess, every
// line may give a note: the first few show what went wrong, a count says the rest.
constexpr std::size_t ShownNotes = 5;

void LimitNotes(std::vector<std::string>& notes)
{
    if (notes.size() <= ShownNotes + 1)
        return;
    const std::size_t more = notes.size() - ShownNotes;
    notes.resize(ShownNotes);
    notes.push_back("and " + std::to_string(more) + " more notes like these");
}

const char* EncodingNote(TSubtitleEncoding encoding)
{
    switch (encoding) {
    case TSubtitleEncoding::Cp932:
        return "the file is not UTF-8; read as Shift-JIS (code page 932)";
    case TSubtitleEncoding::Windows1252:
        return "the file is neither UTF-8 nor Shift-JIS; read as Windows-1252 (Western European)";
    case TSubtitleEncoding::Utf16NoMark:
        return "the file has no byte-order mark; read as UTF-16";
    default:
        return nullptr;
    }
}

std::string NoCueHint(TSubtitleFormat format)
{
    switch (format) {
    case TSubtitleFormat::WebVtt:
        return " (a WebVTT cue begins with its times, such as 00:01.000 --> 00:04.000 or "
               "00:00:01.000 --> 00:00:04.000)";
    case TSubtitleFormat::Lrc:
        return " (an LRC line begins with its time, such as [00:01.00])";
    case TSubtitleFormat::SubRip:
        break;
    }
    return " (a SubRip cue begins with its times, such as 00:00:01,000 --> 00:00:04,000)";
}

bool IsBlankText(const std::string& text)
{
    return text.find_first_not_of(" \t\n") == std::string::npos;
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
    if (IsBlankText(text)) {
        error = path + ": the file is empty";
        return false;
    }
    const TSubtitleFormat format = SubtitleFormatOf(path, text);
    file = ReadSubtitleText(text, format);
    if (file.Cues.empty() && LooksBinary(text)) {
        error = path + ": not a subtitle file (it holds binary data)";
        return false;
    }
    if (file.Cues.empty()) {
        error = path + ": no cue can be read from the file" + NoCueHint(format);
        return false;
    }
    LimitNotes(file.Notes);
    if (const char* note = EncodingNote(encoding))
        file.Notes.insert(file.Notes.begin(), note);
    return true;
}

}  // namespace olve
