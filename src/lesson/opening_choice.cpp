#include "lesson/opening_choice.h"

#include <algorithm>
#include <filesystem>

#include "titlemaker/file_kind.h"

namespace olve {

namespace {

bool IsMaterial(const std::string& path)
{
    const TFileKind kind = FileKindOf(path);
    return kind == TFileKind::Recording || kind == TFileKind::Subtitles;
}

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_directory(path, ec);
}

}  // namespace

TOpeningChoice ChooseOpening(const std::vector<std::string>& paths)
{
    TOpeningChoice choice;
    if (paths.empty())
        return choice;
    std::vector<std::string> packages;
    for (const std::string& path : paths)
        if (FileKindOf(path) == TFileKind::Package)
            packages.push_back(path);
    if (packages.size() == 1) {
        choice.What = TOpeningChoice::TWhat::Package;
        choice.Package = packages.front();
    } else if (const auto folder = std::find_if(paths.begin(), paths.end(), IsFolder); packages.empty() && folder != paths.end()) {
        choice.What = TOpeningChoice::TWhat::Series;
        choice.Folder = *folder;
    } else if (packages.empty() && std::any_of(paths.begin(), paths.end(), IsMaterial)) {
        choice.What = TOpeningChoice::TWhat::Material;
        choice.Material = paths;
    } else {
        choice.What = TOpeningChoice::TWhat::Unsupported;
        choice.Extension = std::filesystem::path(paths.front()).extension().string();
        if (choice.Extension == ".")
            choice.Extension.clear();
    }
    return choice;
}

bool IsOpenableAlone(const std::string& path)
{
    return FileKindOf(path) == TFileKind::Package || IsMaterial(path) || IsFolder(path);
}

TFailure UnsupportedFiles(const std::string& extension)
{
    return {TFailureKind::Refused, "この拡張子 <" + extension + "> のファイルには対応していません",
            "files of the extension <" + extension + "> cannot be opened"};
}

}  // namespace olve
