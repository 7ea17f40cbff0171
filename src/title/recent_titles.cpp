#include "title/recent_titles.h"

#include <algorithm>
#include <filesystem>

#include "codec/comma_text.h"

namespace olve {

namespace {

constexpr const char* RecentSection = "Recent";
constexpr const char* OpenFolderKey = "OpenFolder";

std::string Key(int i)
{
    return "Title" + std::to_string(i + 1);
}

}  // namespace

void TRecentTitles::Read(const TDataFile& file)
{
    FItems.clear();
    for (int i = 0; i < Most; ++i) {
        const std::vector<std::string> parts = CommaTextSplit(file.ReadString(RecentSection, Key(i), ""));
        if (parts.empty() || parts[0].empty())
            continue;
        const std::string& package = parts[0];
        if (std::none_of(FItems.begin(), FItems.end(), [&](const TRecentTitle& t) { return t.Package == package; }))
            FItems.push_back({package, parts.size() > 1 ? parts[1] : std::string()});
    }
}

void TRecentTitles::Write(TDataFile& file) const
{
    for (int i = 0; i < Most; ++i) {
        const bool held = i < static_cast<int>(FItems.size());
        file.WriteString(RecentSection, Key(i),
                         held ? CommaTextJoin({FItems[static_cast<std::size_t>(i)].Package, FItems[static_cast<std::size_t>(i)].Name})
                              : std::string());
    }
}

void TRecentTitles::Add(const std::string& package, const std::string& name)
{
    Remove(package);
    FItems.insert(FItems.begin(), {package, name});
    if (FItems.size() > static_cast<std::size_t>(Most))
        FItems.resize(static_cast<std::size_t>(Most));
}

void TRecentTitles::Remove(const std::string& package)
{
    std::erase_if(FItems, [&](const TRecentTitle& t) { return t.Package == package; });
}

std::string ReadOpenFolder(const TDataFile& file, const std::string& home)
{
    const std::string folder = file.ReadString(RecentSection, OpenFolderKey, "");
    std::error_code error;
    const std::filesystem::path path(folder);
    return path.is_absolute() && std::filesystem::is_directory(path, error) ? folder : home;
}

void WriteOpenFolder(TDataFile& file, const std::string& chosenFile)
{
    const std::filesystem::path path(chosenFile);
    const std::string folder = path.parent_path().string();
    if (!path.is_absolute() || folder.find_first_of("\r\n") != std::string::npos)
        return;
    file.WriteString(RecentSection, OpenFolderKey, folder);
}

}  // namespace olve
