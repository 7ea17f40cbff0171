#include "places/letter_case_path.h"

#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <utility>

#include "codec/cp932_text.h"

namespace olve {

namespace {

bool Exists(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0;
}

// The entries of a folder in name order; none when it cannot be read.
std::set<std::string> EntriesOf(const std::string& folder)
{
    std::set<std::string> names;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.insert(name);
    }
    closedir(dir);
    return names;
}

std::string Joined(const std::string& folder, const std::string& name)
{
    return folder.empty() ? name : folder == "/" ? "/" + name : folder + "/" + name;
}

}  // namespace

std::string ExistingPathIgnoringCase(const std::string& path)
{
    if (path.empty() || Exists(path))
        return path;
    std::string found = path.front() == '/' ? "/" : "";
    std::size_t begin = 0;
    while (begin < path.size()) {
        std::size_t end = path.find('/', begin);
        if (end == std::string::npos)
            end = path.size();
        const std::string part = path.substr(begin, end - begin);
        begin = end + 1;
        if (part.empty())
            continue;
        std::string next = Joined(found, part);
        if (!Exists(next)) {
            next.clear();
            for (const std::string& entry : EntriesOf(found))
                if (SameAsciiIgnoringCase(entry, part)) {
                    next = Joined(found, entry);
                    break;
                }
            if (next.empty())
                return {};
        }
        found = std::move(next);
    }
    return found;
}

TLetterCaseNames::TLetterCaseNames(std::string root) : FRoot(std::move(root)) {}

std::map<std::string, std::string>& TLetterCaseNames::Names(const std::string& folder)
{
    const auto known = FFolders.find(folder);
    if (known != FFolders.end())
        return known->second;
    std::map<std::string, std::string>& names = FFolders[folder];
    for (const std::string& entry : EntriesOf(Joined(FRoot, folder)))
        names.emplace(LowerAscii(entry), entry);
    return names;
}

std::string TLetterCaseNames::Resolve(const std::string& relative)
{
    std::string resolved;
    std::size_t begin = 0;
    while (begin <= relative.size()) {
        std::size_t end = relative.find('/', begin);
        if (end == std::string::npos)
            end = relative.size();
        const std::string part = relative.substr(begin, end - begin);
        begin = end + 1;
        if (part.empty())
            continue;
        std::map<std::string, std::string>& names = Names(resolved);
        // The exact name wins over another spelling, as the file system itself would.
        const bool exact = Exists(Joined(FRoot, Joined(resolved, part)));
        const std::string& name = exact ? part : names.emplace(LowerAscii(part), part).first->second;
        resolved = Joined(resolved, name);
    }
    return resolved;
}

}  // namespace olve
