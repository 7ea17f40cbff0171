#include "filetrain/installed_files.h"

namespace olve {

namespace {

// Local paths are UTF-8: only ASCII letters fold.
std::string Folded(std::string path)
{
    for (char& c : path)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return path;
}

std::unordered_set<std::string> FoldedSet(const std::vector<std::string>& paths)
{
    std::unordered_set<std::string> set;
    set.reserve(paths.size());
    for (const std::string& path : paths)
        set.insert(Folded(path));
    return set;
}

}  // namespace

std::vector<std::string> TInstalledFiles::Add(const std::vector<std::string>& written, const TExtractOutcome& outcome)
{
    const std::unordered_set<std::string> writtenNow = FoldedSet(written);
    std::unordered_set<std::string> notOurs;
    for (const std::string& path : outcome.Replaced)
        if (FFolded.count(Folded(path)) == 0)
            notOurs.insert(Folded(path));

    std::vector<std::string> removed;
    std::vector<std::string> files;
    std::unordered_set<std::string> folded;
    for (const std::string& path : FFiles) {
        std::string key = Folded(path);
        if (outcome.Failed.empty() && writtenNow.count(key) == 0) {
            removed.push_back(path);
            continue;
        }
        files.push_back(path);
        folded.insert(std::move(key));
    }
    for (const std::string& path : written) {
        std::string key = Folded(path);
        if (notOurs.count(key) == 0 && folded.insert(key).second)
            files.push_back(path);
    }
    FFiles = std::move(files);
    FFolded = std::move(folded);
    return removed;
}

}  // namespace olve
