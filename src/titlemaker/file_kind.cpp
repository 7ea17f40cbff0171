#include "titlemaker/file_kind.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <string_view>

namespace olve {

namespace {

constexpr auto RecordingExtensions = std::to_array<std::string_view>(
    {".mp3", ".wav", ".ogg", ".oga", ".opus", ".m4a", ".aac", ".flac", ".wma", ".mp4", ".m4v", ".mkv", ".webm",
     ".avi", ".mov", ".wmv", ".mpg", ".mpeg", ".ts", ".mts", ".m2ts", ".3gp", ".flv"});
constexpr auto SubtitleExtensions = std::to_array<std::string_view>({".srt", ".vtt", ".lrc"});

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

template <std::size_t N>
bool Among(const std::string& extension, const std::array<std::string_view, N>& extensions)
{
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

}  // namespace

TFileKind FileKindOf(const std::string& path)
{
    const std::string extension = Lower(std::filesystem::path(path).extension().string());
    if (extension == ".qzw")
        return TFileKind::Package;
    if (Among(extension, RecordingExtensions))
        return TFileKind::Recording;
    if (Among(extension, SubtitleExtensions))
        return TFileKind::Subtitles;
    if (extension == ".txt")
        return TFileKind::Transcript;
    return TFileKind::Other;
}

TNamedLanguage NamedLanguageOf(const std::string& code)
{
    const std::string language = Lower(code.substr(0, code.find_first_of("-_")));
    if (language.empty())
        return TNamedLanguage::Unknown;
    if (language == "en" || language == "eng")
        return TNamedLanguage::English;
    if (language == "ja" || language == "jpn" || language == "jp")
        return TNamedLanguage::Japanese;
    return TNamedLanguage::Other;
}

}  // namespace olve
