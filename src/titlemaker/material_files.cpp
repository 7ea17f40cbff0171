#include "titlemaker/material_files.h"

#include <algorithm>
#include <filesystem>

#include "files/failure.h"
#include "titlemaker/file_kind.h"

namespace olve {

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Subtitles whose name gives no language are the English ones.
bool IsEnglish(const std::string& language)
{
    const TNamedLanguage named = NamedLanguageOf(language);
    return named == TNamedLanguage::Unknown || named == TNamedLanguage::English;
}

bool IsJapanese(const std::string& language)
{
    return NamedLanguageOf(language) == TNamedLanguage::Japanese;
}

// The files of a kind beside the recording named after it, in name order.
std::vector<std::string> FilesBeside(const std::string& recording, bool (*kind)(const std::string&))
{
    std::vector<std::string> found;
    const fs::path path(recording);
    const std::string stem = path.stem().string() + ".";
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(path.parent_path().empty() ? "." : path.parent_path(), error)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file(error) && kind(name) && name.compare(0, stem.size(), stem) == 0)
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

void Sort(const std::vector<std::string>& subtitles, TMaterialFiles& material)
{
    for (const std::string& file : subtitles) {
        const std::string language = SubtitleLanguage(file);
        if (IsJapanese(language) && material.Japanese.empty())
            material.Japanese = file;
        else if (IsEnglish(language) && material.English.empty())
            material.English = file;
        else
            material.Others.push_back(file);
    }
}

}  // namespace

bool IsRecordingFile(const std::string& path)
{
    return FileKindOf(path) == TFileKind::Recording;
}

bool IsSubtitleFile(const std::string& path)
{
    return FileKindOf(path) == TFileKind::Subtitles;
}

bool IsTranscriptFile(const std::string& path)
{
    return FileKindOf(path) == TFileKind::Transcript;
}

std::string SubtitleLanguage(const std::string& path)
{
    const std::string inner = fs::path(fs::path(path).stem()).extension().string();
    if (inner.size() < 3 || inner.size() > 4)
        return {};
    const std::string code = Lower(inner.substr(1));
    return std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; }) ? code : std::string();
}

bool FindMaterial(const std::vector<std::string>& paths, TMaterialFiles& material, std::string& reason)
{
    material = {};
    std::vector<std::string> subtitles;
    std::vector<std::string> transcripts;
    for (const std::string& path : paths) {
        if (IsRecordingFile(path) && material.Recording.empty())
            material.Recording = path;
        else if (IsSubtitleFile(path))
            subtitles.push_back(path);
        else if (IsTranscriptFile(path))
            transcripts.push_back(path);
    }
    if (material.Recording.empty()) {
        reason = BilingualText({TFailureKind::Missing, "録音・録画のファイルがありません", "no recording (audio or video) among the files"});
        return false;
    }
    if (subtitles.empty() && transcripts.empty())
        subtitles = FilesBeside(material.Recording, IsSubtitleFile);
    if (subtitles.empty() && transcripts.empty())
        transcripts = FilesBeside(material.Recording, IsTranscriptFile);
    material.Transcript = subtitles.empty() && !transcripts.empty();
    Sort(material.Transcript ? transcripts : subtitles, material);
    if (material.English.empty()) {
        reason = BilingualText({TFailureKind::Missing,
                                "英語の字幕が見つかりません (" + fs::path(material.Recording).stem().string() + ".srt / .vtt / .lrc)",
                                "no English subtitles found beside " + material.Recording});
        return false;
    }
    return true;
}

std::vector<std::string> SubtitlesWithoutRecording(const std::vector<std::string>& paths)
{
    std::vector<std::string> subtitles;
    for (const std::string& path : paths) {
        if (IsRecordingFile(path))
            return {};
        if (IsSubtitleFile(path))
            subtitles.push_back(path);
    }
    return subtitles;
}

std::string RecordingBeside(const std::string& subtitles)
{
    const fs::path path(subtitles);
    const fs::path stem = path.stem();
    const std::string base = (SubtitleLanguage(subtitles).empty() ? stem : stem.stem()).string();
    std::vector<std::string> found;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(path.parent_path().empty() ? "." : path.parent_path(), error)) {
        const fs::path name = entry.path().filename();
        if (name.stem().string() == base && IsRecordingFile(name.string()) && entry.is_regular_file(error))
            found.push_back(entry.path().string());
    }
    std::sort(found.begin(), found.end());
    return found.empty() ? std::string() : found.front();
}

}  // namespace olve
